// Cost per pixel of the surface fill and the plain copies on 16-bit surfaces.
#include "platform/headless/HeadlessPlatform.h"
#include "platform/pixels/Clipper.h"
#include "platform/pixels/Surface.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Surfaces {
    Surfaces(int w, int h) : device(platform.CreateDisplayDevice()) {
        device->SetDisplayMode(640, 480, 16);
        device->CreateSurface(platform::SurfaceDesc{640, 480, false, false}, back);
        device->CreateSurface(platform::SurfaceDesc{w, h, false, false}, pattern);
        // Half the pattern is the key colour, as in a sprite on black.
        auto* p = reinterpret_cast<uint16_t*>(pattern->Bits());
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                p[y * pattern->Pitch() / 2 + x] = ((x + y) & 1) ? 0 : static_cast<uint16_t>(0x1234 + x);
            }
        }
        pattern->SetColorKey(0);
    }
    platform::HeadlessPlatform platform;
    std::unique_ptr<platform::DisplayDevice> device;
    std::unique_ptr<platform::Surface> back;
    std::unique_ptr<platform::Surface> pattern;
};

void BM_Fill(benchmark::State& state) {
    Surfaces s(30, 30);
    for (auto _ : state) {
        s.back->Fill(nullptr, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_Fill);

void BM_CopyKeyed(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    Surfaces s(size, size);
    const TRect r{0, 0, size, size};
    int x = 0;
    for (auto _ : state) {
        s.back->BltFast(x, 100, *s.pattern, r, true);
        x = (x + 7) % (640 - size);
    }
    state.SetItemsProcessed(state.iterations() * size * size);
}
BENCHMARK(BM_CopyKeyed)->Arg(30)->Arg(130);

void BM_CopyOpaque(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    Surfaces s(size, size);
    const TRect r{0, 0, size, size};
    for (auto _ : state) {
        s.back->BltFast(0, 0, *s.pattern, r, false);
    }
    state.SetItemsProcessed(state.iterations() * size * size);
}
BENCHMARK(BM_CopyOpaque)->Arg(30)->Arg(480);

void BM_CopyScaledClipped(benchmark::State& state) {
    Surfaces s(30, 30);
    auto clipper = std::make_shared<platform::Clipper>();
    clipper->SetClipList({TRect{0, 0, 640, 480}});
    s.back->SetClipper(clipper);
    const TRect d{600, 0, 660, 60};
    for (auto _ : state) {
        s.back->Blt(&d, *s.pattern, nullptr, platform::BltFx{true, false, false});
    }
    state.SetItemsProcessed(state.iterations() * 40 * 60);
}
BENCHMARK(BM_CopyScaledClipped);

} // namespace

BENCHMARK_MAIN();
