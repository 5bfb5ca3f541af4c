// vk_levelc: compiles a level source into the 352-byte file the game reads.
// Usage: vk_levelc [--no-check] SOURCE.txt OUTPUT.vrk
#include "level/AtomicReplace.h"
#include "level/LevelCheck.h"
#include "level/LevelFiles.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
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
        std::cerr << "usage: vk_levelc [--no-check] SOURCE.txt OUTPUT.vrk\n";
        return 2;
    }
    try {
        levels::Level level = levels::LoadLevelFile(source);
        if (check) {
            auto problems = levels::CheckLevel(level);
            for (const auto& p : problems) {
                std::cerr << source << ": " << p.Text << "\n";
            }
            if (!problems.empty()) {
                return 1;
            }
        }
        // The level file is replaced whole: a failed write leaves the old one (or none), never half of one.
        std::string error;
        if (!levels::ReplaceFileAtomically(output, level.ToBytes(), error)) {
            std::cerr << error << "\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
