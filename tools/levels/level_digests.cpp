// vk_leveldigests: writes the digests of the compiled level files as C++ initialisers, one
// `{"N.vrk", BYTES, 0xHASH},` a line, for the installed set that the game carries built in.
// Usage: vk_leveldigests OUTPUT.inc LEVEL.vrk...
#include "demo/LevelDigests.h"
#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "platform/files/RegularFile.h"
#include "tools/ToolLanguage.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include <unistd.h>

namespace {
// The game reads one record of 22 x 16 cells from a level file.
constexpr std::size_t kLevelBytes = 22 * 16;
} // namespace

int main(int argc, char** argv) {
    UseToolLanguage();
    if (argc < 3) {
        std::cerr << Tr("usage: vk_leveldigests OUTPUT.inc LEVEL.vrk...\n");
        return 2;
    }
    std::string text;
    for (int i = 2; i < argc; ++i) {
        const std::string path = argv[i];
        const auto bytes = platform::RegularFile::ReadAll(path, kLevelBytes);
        if (!bytes || bytes->size() != kLevelBytes) {
            std::cerr << "vk_leveldigests: "
                      << Fill(Tr("{}: not a level file of {} bytes"),
                              {platform::EscapeControls(path), std::to_string(kLevelBytes)})
                      << '\n';
            return 1;
        }
        char line[128];
        std::snprintf(line, sizeof line, "{\"%s\", %zu, 0x%016llxull},\n",
                      std::filesystem::path(path).filename().string().c_str(), bytes->size(),
                      static_cast<unsigned long long>(LevelDigests::Of(*bytes)));
        text += line;
    }
    // Written beside the target, flushed to the disk and renamed over it, so that an interrupted
    // build leaves no half file.
    const std::string output = argv[1];
    const std::string temporary = output + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0 &&
                   fsync(fileno(file)) == 0;
    if (file) {
        written = std::fclose(file) == 0 && written;
    }
    if (!written) {
        std::cerr << "vk_leveldigests: " << Fill(Tr("{}: cannot write"), {platform::EscapeControls(temporary)}) << '\n';
        return 1;
    }
    std::error_code error;
    std::filesystem::rename(temporary, output, error);
    if (error) {
        std::cerr << "vk_leveldigests: " << platform::EscapeControls(output) << ": " << error.message() << '\n';
        return 1;
    }
    return 0;
}
