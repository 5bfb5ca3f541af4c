// vk_levelcheck: checks level sources or compiled level files and prints a summary line per level.
// Usage: vk_levelcheck FILE...   (exit status 1 when any level has a problem)
#include "level/LevelCheck.h"
#include "level/LevelFiles.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: vk_levelcheck FILE...\n";
        return 2;
    }
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        try {
            levels::Level level = levels::LoadLevelFile(argv[i]);
            auto problems = levels::CheckLevel(level);
            std::cout << argv[i] << ": " << levels::CountWalls(level) << " walls, " << levels::CountMines(level)
                      << " mines" << (problems.empty() ? ", ok" : "") << "\n";
            for (const auto& p : problems) {
                std::cout << "  " << p.Text << "\n";
            }
            failed += problems.empty() ? 0 : 1;
        } catch (const std::exception& e) {
            std::cout << e.what() << "\n";
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
