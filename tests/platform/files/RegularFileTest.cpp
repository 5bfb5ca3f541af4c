#include "platform/files/RegularFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using platform::RegularFile;

namespace {

namespace fs = std::filesystem;

// A fresh folder with one file of each kind that may sit where a regular file is expected.
class RegularFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vorkalith-regular-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "folder");
        std::ofstream(dir / "plain", std::ios::binary) << "0123456789";
        std::ofstream(dir / "empty", std::ios::binary);
        ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
        fs::create_symlink("loop-b", dir / "loop-a");
        fs::create_symlink("loop-a", dir / "loop-b");
        fs::create_symlink("/dev/null", dir / "device");
        fs::create_symlink("plain", dir / "link");
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string At(const char* name) const { return (dir / name).string(); }

    fs::path dir;
};

TEST_F(RegularFileTest, ReadsARegularFileAndAnyLinkToOne) {
    for (const char* name : {"plain", "link"}) {
        auto file = RegularFile::Open(At(name));
        ASSERT_TRUE(file) << name;
        EXPECT_EQ(file->Size(), 10u);
        char head[4];
        ASSERT_EQ(file->Read(head, 4), 4u);
        EXPECT_EQ(std::string(head, 4), "0123");
        char rest[20];
        EXPECT_EQ(file->Read(rest, sizeof rest), 6u); // short only at the end
        EXPECT_EQ(file->Read(rest, sizeof rest), 0u);
    }
    auto empty = RegularFile::Open(At("empty"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Size(), 0u);
}

// The FIFO has no writer: a blocking open would wait for ever, so this test also shows that
// the open does not block.
TEST_F(RegularFileTest, AnythingButARegularFileIsNotOpenable) {
    for (const char* name : {"missing", "folder", "fifo", "loop-a", "device"}) {
        EXPECT_FALSE(RegularFile::Open(At(name))) << name;
        EXPECT_FALSE(RegularFile::ReadAll(At(name), 1000)) << name;
    }
    EXPECT_FALSE(RegularFile::Open("/dev/null"));
    EXPECT_FALSE(RegularFile::Open(""));
}

TEST_F(RegularFileTest, ReadAllRefusesFilesAboveItsCap) {
    auto whole = RegularFile::ReadAll(At("plain"), 10);
    ASSERT_TRUE(whole);
    EXPECT_EQ(std::string(whole->begin(), whole->end()), "0123456789");
    EXPECT_FALSE(RegularFile::ReadAll(At("plain"), 9));
    auto empty = RegularFile::ReadAll(At("empty"), 0);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST_F(RegularFileTest, MovingHandsOverTheOpenFile) {
    auto file = RegularFile::Open(At("plain"));
    ASSERT_TRUE(file);
    RegularFile moved = std::move(*file);
    char c;
    EXPECT_EQ(moved.Read(&c, 1), 1u);
    auto other = RegularFile::Open(At("link"));
    ASSERT_TRUE(other);
    moved = std::move(*other);
    EXPECT_EQ(moved.Read(&c, 1), 1u);
    EXPECT_EQ(c, '0');
}

} // namespace
