// Manual check of the SDL back-end: opens the window, sets 640x480x16 on an emulated display,
// composes a test pattern, a moving box and lines of Russian text in a back buffer and presents
// it for a number of frames, each after a vertical-blank wait, then prints the measured frame
// rate and where the time of a frame went.
//
//   sdl_smoke [--frames N] [--bits B] [--pacing auto|clock|vsync] [--hold MS]

#include "platform/base/Exception.h"
#include "platform/pixels/DeviceContext.h"
#include "platform/pixels/Surface.h"
#include "platform/sdl/SdlPlatform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

using namespace platform;

namespace {
struct Options {
    int Frames = 120;
    int Bits = 16;
    FramePacing Pacing = FramePacing::Auto;
    int HoldMs = 0;
};

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--frames") {
            o.Frames = std::atoi(value.c_str());
        } else if (key == "--bits") {
            o.Bits = std::atoi(value.c_str());
        } else if (key == "--hold") {
            o.HoldMs = std::atoi(value.c_str());
        } else if (key == "--pacing") {
            o.Pacing = value == "clock"   ? FramePacing::Clock
                       : value == "vsync" ? FramePacing::Vsync
                                          : FramePacing::Auto;
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

void Put(const LockedView& v, int x, int y, uint32_t raw) {
    uint8_t* p = v.Bits + static_cast<std::ptrdiff_t>(y) * v.Pitch + x * v.Format.BytesPerPixel();
    for (int i = 0; i < v.Format.BytesPerPixel(); ++i) {
        p[i] = static_cast<uint8_t>(raw >> (8 * i));
    }
}

// Colour bars across the top half, grey and colour ramps below, a one-pixel white frame around
// the whole image.
void DrawPattern(Surface& s) {
    LockedView v;
    if (s.Lock(nullptr, v) != Result::Ok) {
        return;
    }
    const PixelFormat& f = v.Format;
    const Rgb bars[] = {{255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                        {255, 0, 255},   {255, 0, 0},   {0, 0, 255},   {0, 0, 0}};
    for (int y = 0; y < v.Height; ++y) {
        for (int x = 0; x < v.Width; ++x) {
            Rgb c;
            if (y < v.Height / 2) {
                c = bars[x * 8 / v.Width];
            } else if (y < v.Height * 5 / 8) {
                const auto g = static_cast<uint8_t>(x * 255 / (v.Width - 1));
                c = Rgb{g, g, g};
            } else if (y < v.Height * 6 / 8) {
                c = Rgb{static_cast<uint8_t>(x * 255 / (v.Width - 1)), 0, 0};
            } else {
                c = Rgb{0, 0, 64};
            }
            if (x == 0 || y == 0 || x == v.Width - 1 || y == v.Height - 1) {
                c = Rgb{255, 255, 255};
            }
            Put(v, x, y, f.FromRgb(c));
        }
    }
    s.Unlock();
}

void DrawText(Surface& s) {
    std::unique_ptr<DeviceContext> dc;
    if (s.GetDC(dc) != Result::Ok) {
        return;
    }
    FontSpec system{"System", 17};
    dc->TextOut(10, 400, "Нажмите Esc для выхода в меню. FPS:60", system, Rgb{255, 255, 255}, nullptr);
    FontSpec heavy{"Arial black", 20};
    dc->TextOut(10, 425, "Очки: 12345  Энергия: 100", heavy, Rgb{255, 255, 0}, nullptr);
    const Rgb back{0, 0, 160};
    dc->TextOut(10, 455, "Уровень 1 (opaque background)", system, Rgb{255, 255, 255}, &back);
}
} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseArgs(argc, argv, o) || o.Frames <= 0) {
        std::fprintf(stderr,
                     "usage: sdl_smoke [--frames N] [--bits 8|16|24|32] [--pacing auto|clock|vsync] [--hold MS]\n");
        return 2;
    }
    try {
        SdlPlatform sdl(o.Pacing);
        sdl.SetTitle("Vorkalith");
        sdl.ShowWindow("Vorkalith sdl_smoke");
        auto display = sdl.CreateDisplayDevice();
        if (!display) {
            std::fprintf(stderr, "no display\n");
            return 1;
        }
        display->SetCooperativeLevel(coop::FullScreen | coop::Exclusive | coop::AllowModeX);
        if (display->SetDisplayMode(640, 480, o.Bits) != Result::Ok) {
            std::fprintf(stderr, "mode 640x480x%d refused\n", o.Bits);
            return 1;
        }
        std::unique_ptr<Surface> primary, back, picture;
        SurfaceDesc pd;
        pd.Primary = true;
        SurfaceDesc bd;
        bd.Width = 640;
        bd.Height = 480;
        if (display->CreateSurface(pd, primary) != Result::Ok || display->CreateSurface(bd, back) != Result::Ok ||
            display->CreateSurface(bd, picture) != Result::Ok) {
            std::fprintf(stderr, "surfaces cannot be made\n");
            return 1;
        }

        DrawPattern(*picture);
        const uint32_t orange = back->Format().FromRgb(Rgb{255, 128, 0});

        using Clock = std::chrono::steady_clock;
        Clock::time_point start;
        bool quit = false;
        int shown = 0;
        Clock::duration drawTime{}, waitTime{}, showTime{};
        for (int frame = 0; frame <= o.Frames && !quit; ++frame) {
            Event e;
            while (sdl.PollEvent(e)) {
                quit = quit || e.Kind == Event::Type::Quit;
            }
            const auto t0 = Clock::now();
            // As a game frame does: the scene from a picture, a moving box, text on top.
            back->Blt(nullptr, *picture, nullptr, BltFx{});
            const int bx = 20 + frame % 580;
            const TRect box{bx, 330, bx + 20, 360};
            back->Fill(&box, orange);
            DrawText(*back);
            const auto t1 = Clock::now();
            display->WaitForVerticalBlank();
            const auto t2 = Clock::now();
            primary->Blt(nullptr, *back, nullptr, BltFx{});
            const auto t3 = Clock::now();
            if (frame > 0) {
                drawTime += t1 - t0;
                waitTime += t2 - t1;
                showTime += t3 - t2;
            }
            // Frame 0 only starts the clock: the rate counts whole frame intervals.
            if (frame == 0) {
                start = Clock::now();
            } else {
                ++shown;
            }
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("%d frames in %.3f s: %.2f frames per second (%s renderer, paced by %s, %d bits)\n", shown, seconds,
                    shown / seconds, sdl.RendererName().c_str(), sdl.PacedByVsync() ? "vsync" : "clock", o.Bits);
        auto ms = [&](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count() / shown; };
        std::printf("per frame: drawing %.2f ms, waiting %.2f ms, presenting %.2f ms\n", ms(drawTime), ms(waitTime),
                    ms(showTime));
        std::fflush(stdout);
        if (o.HoldMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(o.HoldMs));
        }
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
