// vk_levelc: compiles a level source into the 352-byte file the game reads.
// Usage: vk_levelc [--no-check] SOURCE.txt OUTPUT.vrk
#include "level/LevelCheck.h"
#include "level/LevelFiles.h"

#include "platform/base/ControlEscape.h"
#include "platform/files/AtomicFile.h"
#include "tools/ToolLanguage.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    UseToolLanguage();
    bool check = true;
    std::string source, output;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--no-check") {
            check = false;
        } else if (source.empty()) {
            source = arg;
        } else if (output.empty()) {
            output = arg;
        } else {
            source.clear();
            break;
        }
    }
    if (source.empty() || output.empty()) {
        std::cerr << Tr("usage: vk_levelc [--no-check] SOURCE.txt OUTPUT.vrk\n");
        return 2;
    }
    try {
        levels::Level level = levels::LoadLevelFile(source);
        if (check) {
            auto problems = levels::CheckLevel(level);
            for (const auto& p : problems) {
                std::cerr << platform::EscapeControls(source) << ": " << levels::TranslatedText(p) << "\n";
            }
            if (!problems.empty()) {
                return 1;
            }
        }
        // Through a temporary name renamed over the output once on the disk: a failed write
        // (a full disk) leaves no short level behind, and is an error.
        const std::vector<uint8_t> bytes = level.ToBytes();
        const std::string error = platform::WriteFileAtomically(
            output, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        if (!error.empty()) {
            std::cerr << "vk_levelc: " << error << "\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << platform::EscapeControls(e.what()) << "\n";
        return 1;
    }
    return 0;
}
