// Cost per pixel of the copies drawn on the processor, on the 16-bit display: patterns of the game's
// sizes drawn repeatedly at moving places onto a 640 x 480 back buffer. Items are pattern pixels.
#include "display/DXRender.h"

#include "platform/headless/HeadlessPlatform.h"
#include "platform/pixels/DisplayDevice.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

constexpr uint32_t Key = 0;

// A back buffer and one keyed pattern: an ellipse of varied colours on the key colour, as a sprite is.
struct Scene {
    platform::HeadlessPlatform platform;
    std::unique_ptr<platform::DisplayDevice> device;
    std::unique_ptr<platform::Surface> back;
    std::unique_ptr<platform::Surface> pattern;
    int w;
    int h;
    int next = 0;

    Scene(int width, int height) : device(platform.CreateDisplayDevice()), w(width), h(height) {
        device->SetDisplayMode(640, 480, 16);
        device->CreateSurface({640, 480, false, false}, back);
        device->CreateSurface({w, h, false, false}, pattern);
        back->Fill(nullptr, 0x4208);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const double ex = (x + 0.5) / w - 0.5, ey = (y + 0.5) / h - 0.5;
                auto v = static_cast<uint16_t>(ex * ex + ey * ey < 0.25 ? (x * 2053u + y * 977u) | 0x0821u : Key);
                std::memcpy(pattern->Bits() + y * pattern->Pitch() + x * 2, &v, 2);
            }
        }
        pattern->SetColorKey(Key);
    }

    // The next place to draw at, wandering over the whole buffer.
    int X() const { return (next * 37) % (640 - w); }
    int Y() const { return (next * 53) % (480 - h); }
    TRect Full() const { return TRect{0, 0, w, h}; }
};

void Finish(benchmark::State& state, const Scene& scene) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * scene.w * scene.h);
}

void BM_DrawBlended(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const auto alpha = static_cast<int32_t>(state.range(2));
    for (auto _ : state) {
        dxrender::DrawBlended(scene.back.get(), Bounds(scene.X(), scene.Y(), scene.w, scene.h), scene.pattern.get(),
                              scene.Full(), true, alpha);
        ++scene.next;
        benchmark::ClobberMemory();
    }
    Finish(state, scene);
}

void BM_DrawTurned(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        dxrender::DrawTurned(scene.back.get(), scene.X() + scene.w / 2, scene.Y() + scene.h / 2, scene.w, scene.h,
                             scene.Full(), scene.pattern.get(), 0.5, 0.5, true, scene.next * 7);
        ++scene.next;
        benchmark::ClobberMemory();
    }
    Finish(state, scene);
}

void BM_DrawTurnedBlended(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const auto alpha = static_cast<int32_t>(state.range(2));
    for (auto _ : state) {
        dxrender::DrawTurnedBlended(scene.back.get(), scene.X() + scene.w / 2, scene.Y() + scene.h / 2, scene.w,
                                    scene.h, scene.Full(), scene.pattern.get(), 0.5, 0.5, true, scene.next * 7, alpha);
        ++scene.next;
        benchmark::ClobberMemory();
    }
    Finish(state, scene);
}

} // namespace

// Arguments: pattern width, pattern height, opacity (255 copies).
BENCHMARK(BM_DrawBlended)->Args({30, 30, 100})->Args({130, 40, 100})->Args({30, 30, 255})->Args({130, 40, 255});
BENCHMARK(BM_DrawTurned)->Args({30, 30})->Args({130, 40});
BENCHMARK(BM_DrawTurnedBlended)->Args({30, 30, 100})->Args({130, 40, 100});

BENCHMARK_MAIN();
