// The display control on its own: a window (or the headless display) cleared every frame,
// with one line of white text, presented at 60 frames per second until the window closes.
//
//   display_demo                 on the real display
//   display_demo --headless N    N frames on the headless display, then writes demo.png
#include "display/DXDraw.h"
#include "display/DirectDrawSurface.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "platform/app/Application.h"
#include "platform/app/Form.h"
#include "platform/base/FillText.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/png/PngWriter.h"
#include "platform/sdl/SdlPlatform.h"
#include "tools/ToolLanguage.h"

#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    UseToolLanguage();
    const bool headless = argc >= 2 && std::string(argv[1]) == "--headless";
    const int frames = headless && argc >= 3 ? std::stoi(argv[2]) : 0;
    std::unique_ptr<platform::Platform> platform;
    if (headless) {
        platform = std::make_unique<platform::HeadlessPlatform>();
    } else {
        platform = platform::CreateSdlPlatform();
    }
    TApplication app(*platform);
    app.SetTitle("Display demo");
    TForm& form = app.AddForm(std::make_unique<TForm>(app));
    form.Caption = "Display demo";
    TDXDraw& draw = CreateComponent<TDXDraw>(form);
    draw.Display.SetBitCount(16);
    draw.SetOptions(draw.Options() | OptionBit(doFullScreen));
    draw.SetParent(&form);
    draw.SetAlign(TAlign::alClient);

    int frame = 0;
    uint32_t started = 0;
    app.OnIdle = [&](bool& done) {
        done = false;
        TDirectDrawSurface* back = draw.BackBuffer();
        if (!back) {
            return;
        }
        if (frame == 0) {
            started = platform->Milliseconds();
        }
        back->FillWith(0);
        TDirectDrawSurfaceCanvas& canvas = back->TextCanvas();
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Font.Color = clWhite;
        canvas.Font.Size = 13;
        canvas.Font.Name = "System";
        canvas.WriteText(10, 10, "Display demo: frame " + std::to_string(frame) + " — кадр");
        canvas.Detach();
        draw.Flip();
        ++frame;
        if (headless && frame >= frames) {
            app.Terminate();
        }
    };
    app.Run();
    const uint32_t elapsed = platform->Milliseconds() - started;
    std::cout << Fill(Tr("{} frames in {} ms"), {std::to_string(frame), std::to_string(elapsed)});
    if (elapsed > 0) {
        std::cout << " (" << Fill(Tr("{} per second"), {std::to_string(frame * 1000 / elapsed)}) << ")";
    }
    std::cout << '\n';
    if (headless) {
        auto& h = static_cast<platform::HeadlessPlatform&>(*platform);
        return WritePng("demo.png", h.ScreenImage()) ? 0 : 1;
    }
    return 0;
}
