// Our drawing side by side with SDL2's own calls on the same RGB565 pixels: each pair of benchmarks
// does the same work, "ours/..." with this project's code and "sdl/..." (or "general/...", today's
// general loop where SDL2 has no such call) with the other. After the runs, the ratio of processor
// times ours / other is printed for every pair. bench/sdl_compare.py runs this in interleaved rounds.
#include "display/DXRender.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/pixels/DisplayDevice.h"
#include "platform/pixels/TextRenderer.h"
#include "platform/sdl/FontLocator.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint16_t Key = 0;
constexpr int Tiles = 315;
constexpr int Sprites = 100;
constexpr int DenseSprites = 200;

// One of our surfaces and an SDL surface over the same pixel memory.
struct Pair {
    std::unique_ptr<platform::Surface> ours;
    SDL_Surface* sdl = nullptr;
};

struct Scene {
    platform::HeadlessPlatform platform;
    std::unique_ptr<platform::DisplayDevice> device;
    Pair back, round, tile, bar, wide, ship, backdrop, status;
    TTF_Font* font = nullptr;
    platform::FontSpec spec{"System", 17, true, false, false, false};

    Scene() : device(platform.CreateDisplayDevice()) {
        device->SetDisplayMode(640, 480, 16);
        back = Make(640, 480, [](int, int) { return uint16_t{0x4208}; });
        // A round picture of varied colours on the key colour, as a sprite is.
        round = Make(30, 30, [](int x, int y) {
            const double ex = (x + 0.5) / 30 - 0.5, ey = (y + 0.5) / 30 - 0.5;
            return static_cast<uint16_t>(ex * ex + ey * ey < 0.25 ? (x * 2053u + y * 977u) | 0x0821u : Key);
        });
        tile = Make(30, 30, [](int x, int y) { return static_cast<uint16_t>((x * 31u + y * 1999u) | 0x0841u); });
        bar = Make(130, 40, [](int x, int y) { return static_cast<uint16_t>((x * 517u + y * 33u) | 0x1000u); });
        wide = Make(640, 16, [](int x, int y) { return static_cast<uint16_t>(0x0841u + x + y); });
        ship = Make(30, 30, [](int x, int y) { return static_cast<uint16_t>(x < y ? 0xFFE0u - x : 0x07FFu + y); });
        backdrop = Make(630, 450, [](int x, int y) { return static_cast<uint16_t>(x * 67u + y * 2113u); });
        status = Make(640, 30, [](int x, int y) { return static_cast<uint16_t>(0x2104u + x * 3u + y * 64u); });
        for (Pair* p : {&round, &tile, &bar, &wide, &ship}) {
            p->ours->SetColorKey(Key);
        }
        // SDL's fastest keyed copies: run-length encoded sources.
        for (Pair* p : {&round, &tile, &ship}) {
            SDL_SetColorKey(p->sdl, SDL_TRUE, Key);
            SDL_SetSurfaceRLE(p->sdl, 1);
        }
        SDL_SetSurfaceBlendMode(bar.sdl, SDL_BLENDMODE_BLEND);
        SDL_SetSurfaceAlphaMod(bar.sdl, 100);
        TTF_Init();
        platform::FontLocator fonts;
        if (auto file = fonts.Find(spec.Name, spec.Bold, spec.Italic)) {
            font = TTF_OpenFontIndex(file->Path.c_str(), spec.Height, file->Index);
            if (font != nullptr) {
                TTF_SetFontStyle(font, file->SyntheticBold ? TTF_STYLE_BOLD : 0);
                TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
            }
        }
    }
    ~Scene() {
        for (Pair* p : {&back, &round, &tile, &bar, &wide, &ship, &backdrop, &status}) {
            SDL_FreeSurface(p->sdl);
        }
        if (font != nullptr) {
            TTF_CloseFont(font);
        }
        TTF_Quit();
    }

    template <class Fn> Pair Make(int w, int h, Fn pixel) {
        Pair p;
        device->CreateSurface({w, h, false, false}, p.ours);
        uint8_t* bits = p.ours->Bits();
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const uint16_t v = pixel(x, y);
                std::memcpy(bits + y * p.ours->Pitch() + x * 2, &v, 2);
            }
        }
        p.sdl = SDL_CreateRGBSurfaceWithFormatFrom(bits, w, h, 16, p.ours->Pitch(), SDL_PIXELFORMAT_RGB565);
        return p;
    }

    // The tile map's grid: 21 columns by 15 rows of 30 x 30.
    static int TileX(int i) { return 5 + (i % 21) * 30; }
    static int TileY(int i) { return 15 + (i / 21) * 30; }
    static int SpriteX(int i) { return (i * 97) % 600; }
    static int SpriteY(int i) { return (i * 61) % 440; }

    void OursCopies(Pair& p, int count, bool sprites) {
        const TRect r{0, 0, 30, 30};
        for (int i = 0; i < count; ++i) {
            back.ours->BltFast(sprites ? SpriteX(i) : TileX(i), sprites ? SpriteY(i) : TileY(i), *p.ours, r, true);
        }
    }
    void SdlCopies(Pair& p, int count, bool sprites) {
        SDL_Rect r{0, 0, 30, 30};
        for (int i = 0; i < count; ++i) {
            SDL_Rect d{sprites ? SpriteX(i) : TileX(i), sprites ? SpriteY(i) : TileY(i), 30, 30};
            SDL_BlitSurface(p.sdl, &r, back.sdl, &d);
        }
    }
    void OursBlend() {
        dxrender::DrawBlended(back.ours.get(), Bounds(250, 400, 130, 40), bar.ours.get(), TRect{0, 0, 130, 40}, false,
                              100);
    }
    void SdlBlend() {
        SDL_Rect d{250, 400, 130, 40};
        SDL_BlitSurface(bar.sdl, nullptr, back.sdl, &d);
    }
    void OursTurn(bool keyed) {
        dxrender::DrawTurned(back.ours.get(), 320, 240, 30, 30, TRect{0, 0, 30, 30}, ship.ours.get(), 0.5, 0.5, keyed,
                             64);
    }
    void OursText() {
        platform::TextRenderer::Instance().Draw(*back.ours, 1, 1, "FPS:60", spec, platform::Rgb{255, 255, 255},
                                                nullptr);
    }
    void SdlText() {
        SDL_Surface* text = TTF_RenderUTF8_Blended(font, "FPS:60", SDL_Color{255, 255, 255, 255});
        SDL_Rect d{1, 1, 0, 0};
        SDL_BlitSurface(text, nullptr, back.sdl, &d);
        SDL_FreeSurface(text);
    }
    // A dense play frame: clear, the tile map, sprites, a status bar, a blended bar and the turned ship.
    void OursFrame() {
        back.ours->Fill(nullptr, 0);
        OursCopies(tile, Tiles, false);
        OursCopies(round, Sprites, true);
        back.ours->BltFast(0, 464, *wide.ours, TRect{0, 0, 640, 16}, false);
        OursBlend();
        OursTurn(true);
    }
    // The same with SDL; SDL2 cannot turn a picture, so its ship is a plain keyed copy (less work).
    void SdlFrame() {
        SDL_FillRect(back.sdl, nullptr, 0);
        SdlCopies(tile, Tiles, false);
        SdlCopies(round, Sprites, true);
        SDL_Rect d{0, 464, 640, 16};
        SDL_BlitSurface(wide.sdl, nullptr, back.sdl, &d);
        SdlBlend();
        SDL_Rect s{305, 225, 30, 30};
        SDL_BlitSurface(ship.sdl, nullptr, back.sdl, &s);
    }
    // The densest frame a level allows: the fill, the scrolled backdrop (a 630 x 450 picture drawn
    // twice, the end of one copy and the start of the next filling the width), every tile of the
    // 21 x 15 map, 200 sprites, the 640 x 30 status bar, the blended bar and the turned ship.
    static constexpr int Scroll = 315;
    void OursDense() {
        back.ours->Fill(nullptr, 0);
        back.ours->BltFast(0, 0, *backdrop.ours, TRect{Scroll, 0, 630, 450}, false);
        back.ours->BltFast(630 - Scroll, 0, *backdrop.ours, TRect{0, 0, 10 + Scroll, 450}, false);
        OursCopies(tile, Tiles, false);
        OursCopies(round, DenseSprites, true);
        back.ours->BltFast(0, 450, *status.ours, TRect{0, 0, 640, 30}, false);
        OursBlend();
        OursTurn(true);
    }
    void SdlDense() {
        SDL_FillRect(back.sdl, nullptr, 0);
        SDL_Rect s1{Scroll, 0, 630 - Scroll, 450}, d1{0, 0, 0, 0};
        SDL_BlitSurface(backdrop.sdl, &s1, back.sdl, &d1);
        SDL_Rect s2{0, 0, 10 + Scroll, 450}, d2{630 - Scroll, 0, 0, 0};
        SDL_BlitSurface(backdrop.sdl, &s2, back.sdl, &d2);
        SdlCopies(tile, Tiles, false);
        SdlCopies(round, DenseSprites, true);
        SDL_Rect d{0, 450, 0, 0};
        SDL_BlitSurface(status.sdl, nullptr, back.sdl, &d);
        SdlBlend();
        SDL_Rect t{305, 225, 30, 30};
        SDL_BlitSurface(ship.sdl, nullptr, back.sdl, &t);
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

template <class Fn> void Loop(benchmark::State& state, Fn fn) {
    Scene& scene = TheScene();
    for (auto _ : state) {
        fn(scene);
        benchmark::ClobberMemory();
    }
}

void Register(const char* name, void (*fn)(Scene&)) {
    benchmark::RegisterBenchmark(name, [fn](benchmark::State& state) { Loop(state, fn); });
}

void RegisterAll() {
    Register("ours/keyed_round_x315", [](Scene& s) { s.OursCopies(s.round, Tiles, false); });
    Register("sdl/keyed_round_x315", [](Scene& s) { s.SdlCopies(s.round, Tiles, false); });
    Register("ours/keyed_tiles_x315", [](Scene& s) { s.OursCopies(s.tile, Tiles, false); });
    Register("sdl/keyed_tiles_x315", [](Scene& s) { s.SdlCopies(s.tile, Tiles, false); });
    Register("ours/blend_130x40_a100", [](Scene& s) { s.OursBlend(); });
    Register("sdl/blend_130x40_a100", [](Scene& s) { s.SdlBlend(); });
    Register("ours/turn_30x30_a64", [](Scene& s) { s.OursTurn(false); });
    Register("general/turn_30x30_a64", [](Scene& s) {
        dxrender::UseFastPaths(false);
        s.OursTurn(false);
        dxrender::UseFastPaths(true);
    });
    Register("ours/text_fps60", [](Scene& s) { s.OursText(); });
    Register("sdl/text_fps60", [](Scene& s) { s.SdlText(); });
    Register("ours/frame", [](Scene& s) { s.OursFrame(); });
    Register("sdl/frame", [](Scene& s) { s.SdlFrame(); });
    Register("ours/dense_frame", [](Scene& s) { s.OursDense(); });
    Register("sdl/dense_frame", [](Scene& s) { s.SdlDense(); });
}

// Keeps the processor time of every run so that the pairs can be compared at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        std::printf("\n%-24s %12s %12s %8s\n", "work", "ours (ns)", "other (ns)", "ratio");
        for (const auto& [name, time] : times_) {
            if (name.rfind("ours/", 0) != 0) {
                continue;
            }
            const std::string work = name.substr(5);
            for (const char* other : {"sdl/", "general/"}) {
                auto it = times_.find(other + work);
                if (it != times_.end() && it->second > 0) {
                    std::printf("%-24s %12.0f %12.0f %8.2f  (%s)\n", work.c_str(), time, it->second, time / it->second,
                                other);
                }
            }
        }
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    RegisterAll();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
