#include "level/AtomicReplace.h"

#include "support/FileText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

} // namespace

TEST(AtomicReplace, ReplacesTheContentKeepsThePermissionsAndLeavesNoTemporaryFile) {
    const fs::path dir = fs::temp_directory_path() / ("vorkalith-replace-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string path = (dir / "7.vrk").string();
    std::string error;
    ASSERT_TRUE(levels::ReplaceFileAtomically(path, Bytes("old"), error)) << error;
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(levels::ReplaceFileAtomically(path, Bytes("new content"), error)) << error;
    EXPECT_EQ(ReadAll(path), "new content");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

TEST(AtomicReplace, AFolderThatCannotBeWrittenToFailsWithTheReason) {
    std::string error;
    EXPECT_FALSE(levels::ReplaceFileAtomically("/nonexistent-folder/7.vrk", Bytes("x"), error));
    EXPECT_NE(error.find("/nonexistent-folder/7.vrk: cannot write"), std::string::npos) << error;
}
