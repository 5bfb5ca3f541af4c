#include "level/LevelFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The level tools read only regular files: a FIFO given by mistake is refused at once instead
// of waiting for a writer, and a folder is refused instead of read as an empty file.
TEST(LevelFiles, ReadsOnlyRegularFiles) {
    const fs::path dir = fs::temp_directory_path() / ("vorkalith-levelfiles-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "folder.txt");
    ASSERT_EQ(::mkfifo((dir / "fifo.vrk").c_str(), 0600), 0);
    std::ofstream(dir / "zeros.vrk", std::ios::binary) << std::string(352, '\0');
    for (const char* name : {"folder.txt", "fifo.vrk", "missing.vrk"}) {
        const std::string path = (dir / name).string();
        try {
            levels::LoadLevelFile(path);
            ADD_FAILURE() << name << " was read";
        } catch (const levels::LevelError& e) {
            EXPECT_EQ(std::string(e.what()), path + ": cannot open");
        }
    }
    EXPECT_NO_THROW(levels::LoadLevelFile((dir / "zeros.vrk").string()));
    EXPECT_EQ(levels::ReadFileBytes((dir / "zeros.vrk").string()).size(), 352u);
    fs::remove_all(dir);
}

} // namespace
