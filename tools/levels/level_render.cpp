// vk_levelrender: draws levels with the game's pictures into a PNG.
// Usage: vk_levelrender [--pictures DIR] OUTPUT.png LEVEL...
// One level gives its 630 x 450 field at full size (tile set chosen by the number in its file
// name); several give a contact sheet at half size, numbered in the order given.
#include "level/LevelFiles.h"
#include "platform/base/ControlEscape.h"
#include "platform/png/PngWriter.h"
#include "tools/ToolLanguage.h"
#include "tools/levels/LevelRenderer.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    UseToolLanguage();
    std::string pictures = VK_ASSETS_DIR "/pictures";
    std::string output;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--pictures" && i + 1 < argc) {
            pictures = argv[++i];
        } else if (output.empty()) {
            output = arg;
        } else {
            inputs.push_back(arg);
        }
    }
    if (output.empty() || inputs.empty()) {
        std::cerr << Tr("usage: vk_levelrender [--pictures DIR] OUTPUT.png LEVEL...\n");
        return 2;
    }
    platform::RgbImage picture;
    try {
        levels::LevelRenderer renderer(pictures);
        if (inputs.size() == 1) {
            int number = levels::LevelNumberOf(inputs[0]);
            picture = renderer.Render(levels::LoadLevelFile(inputs[0]), number > 0 ? number : 1);
        } else {
            std::vector<levels::Level> all;
            for (const auto& path : inputs) {
                all.push_back(levels::LoadLevelFile(path));
            }
            picture = renderer.ContactSheet(all);
        }
    } catch (const std::exception& e) {
        std::cerr << platform::EscapeControls(e.what()) << "\n";
        return 1;
    }
    if (std::string error; !WritePng(output, picture, error)) {
        std::cerr << "vk_levelrender: " << error << "\n";
        return 1;
    }
    return 0;
}
