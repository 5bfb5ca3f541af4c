// Writes the screen the game shows on the headless display after a number of frames from its
// start (the menu, once it has slid into place) as a binary PPM picture: the reference the web
// build's browser test holds the page's canvas against. The screen is in the language --lang
// names, in the source language without it, whatever the user's; the messages are in the user's.
//
//   vk_menuframe OUTPUT.ppm [--frames N] [--lang CODE]   (default 600 frames; run from the level folder)
#include "game/MainForm.h"
#include "platform/app/Application.h"
#include "platform/headless/HeadlessPlatform.h"

#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "platform/files/AtomicFile.h"
#include "tools/ToolLanguage.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    UseToolLanguage();
    const std::string usage = Tr("usage: vk_menuframe OUTPUT.ppm [--frames N] [--lang CODE]\n");
    std::string output;
    std::string language = "C";
    int frames = 600;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::cout << usage;
            return 0;
        }
        if (arg == "--frames" && i + 1 < argc) {
            frames = std::atoi(argv[++i]);
            if (frames <= 0) {
                std::cerr << "vk_menuframe: " << Tr("--frames needs a positive number") << '\n' << usage;
                return 2;
            }
        } else if (arg == "--lang" && i + 1 < argc) {
            language = argv[++i];
        } else if (output.empty() && !arg.empty() && arg[0] != '-') {
            output = arg;
        } else {
            std::cerr << "vk_menuframe: " << Fill(Tr("unexpected argument '{}'"), {platform::EscapeControls(arg)})
                      << '\n'
                      << usage;
            return 2;
        }
    }
    if (output.empty()) {
        std::cerr << usage;
        return 2;
    }

    // The menu in that language, its pictures with words included.
    SetLanguage(language);
    platform::HeadlessPlatform platform;
    TApplication application(platform);
    application.SetTitle("Vorkalith");
    application.AddForm(std::make_unique<TForm1>(application));
    for (int i = 0; i < frames && application.Step(); ++i) {
        application.Idle();
    }
    SetLanguage("");
    const platform::RgbImage& screen = platform.ScreenImage();
    std::string ppm = "P6\n" + std::to_string(screen.Width) + ' ' + std::to_string(screen.Height) + "\n255\n";
    ppm.reserve(ppm.size() + screen.Pixels.size() * 3);
    for (const platform::Rgb& p : screen.Pixels) {
        ppm += static_cast<char>(p.r);
        ppm += static_cast<char>(p.g);
        ppm += static_cast<char>(p.b);
    }
    if (const std::string error = platform::WriteFileAtomically(output, ppm); !error.empty()) {
        std::cerr << "vk_menuframe: " << error << '\n';
        return 1;
    }
    return 0;
}
