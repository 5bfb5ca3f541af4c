// Manual check of the SDL back-end: opens the window, sets 640x480x16 on an emulated display,
// composes a test pattern, a moving box and lines of Russian text in a back buffer and presents
// it for a number of frames, each after a vertical-blank wait, then prints the measured frame
// rate and where the time of a frame went.
//
//   sdl_smoke [--frames N] [--bits B] [--pacing auto|clock|vsync] [--hold MS]

#include "platform/base/Exception.h"
#include "platform/base/FillText.h"
#include "platform/pixels/DeviceContext.h"
#include "platform/pixels/Surface.h"
#include "platform/sdl/SdlPlatform.h"
#include "tools/ToolLanguage.h"

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

// `value` with `digits` decimals, as a message shows it.
std::string Decimals(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}

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
    UseToolLanguage();
    Options o;
    if (!ParseArgs(argc, argv, o) || o.Frames <= 0) {
        std::fputs(Tr("usage: sdl_smoke [--frames N] [--bits 8|16|24|32] [--pacing auto|clock|vsync] [--hold MS]\n"),
                   stderr);
        return 2;
    }
    try {
        SdlPlatform sdl(o.Pacing);
        sdl.SetTitle("Vorkalith");
        sdl.ShowWindow("Vorkalith sdl_smoke");
        auto display = sdl.CreateDisplayDevice();
        if (!display) {
            std::fprintf(stderr, "%s\n", Tr("no display"));
            return 1;
        }
        display->SetCooperativeLevel(coop::FullScreen | coop::Exclusive | coop::AllowModeX);
        if (display->SetDisplayMode(640, 480, o.Bits) != Result::Ok) {
            std::fprintf(stderr, "%s\n", Fill(Tr("mode 640x480x{} refused"), {std::to_string(o.Bits)}).c_str());
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
            std::fprintf(stderr, "%s\n", Tr("surfaces cannot be made"));
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
        std::printf("%s\n", Fill(Tr("{} frames in {} s: {} frames per second ({} renderer, paced by {}, {} bits)"),
                                 {std::to_string(shown), Decimals(seconds, 3), Decimals(shown / seconds, 2),
                                  sdl.RendererName(), sdl.PacedByVsync() ? "vsync" : "clock", std::to_string(o.Bits)})
                                .c_str());
        auto ms = [&](Clock::duration d) {
            return Decimals(std::chrono::duration<double, std::milli>(d).count() / shown, 2);
        };
        std::printf("%s\n", Fill(Tr("per frame: drawing {} ms, waiting {} ms, presenting {} ms"),
                                 {ms(drawTime), ms(waitTime), ms(showTime)})
                                .c_str());
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
