// vk_levelcheck: checks level sources or compiled level files and prints a summary line per level.
// Usage: vk_levelcheck FILE...   (exit status 1 when any level has a problem)
#include "level/LevelCheck.h"
#include "level/LevelFiles.h"
#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "tools/ToolLanguage.h"

#include <iostream>

int main(int argc, char** argv) {
    UseToolLanguage();
    if (argc < 2) {
        std::cerr << Tr("usage: vk_levelcheck FILE...\n");
        return 2;
    }
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        try {
            levels::Level level = levels::LoadLevelFile(argv[i]);
            auto problems = levels::CheckLevel(level);
            const std::string counts = Fill(Tr("{} walls, {} mines"), {std::to_string(levels::CountWalls(level)),
                                                                       std::to_string(levels::CountMines(level))});
            std::cout << platform::EscapeControls(argv[i]) << ": " << counts << (problems.empty() ? Tr(", ok") : "")
                      << "\n";
            for (const auto& p : problems) {
                std::cout << "  " << levels::TranslatedText(p) << "\n";
            }
            failed += problems.empty() ? 0 : 1;
        } catch (const std::exception& e) {
            std::cout << platform::EscapeControls(e.what()) << "\n";
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
