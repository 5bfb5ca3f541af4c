#include "platform/files/AtomicFile.h"

#include "game/ScratchFolder.h"
#include "support/FileSizeLimit.h"
#include "support/FileText.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using platform::AtomicFile;
using platform::FileWriteError;
using platform::WriteFileAtomically;

namespace {

std::size_t Entries(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(AtomicFile, ReplacesAFileWholeKeepingItsPermissionsAndLeavesNothingElse) {
    ScratchFolder folder;
    folder.Write("out.bin", "old");
    const auto path = folder.Path() / "out.bin";
    ::chmod(path.c_str(), 0640);
    EXPECT_EQ(WriteFileAtomically(path.string(), "new content"), "");
    EXPECT_EQ(ReadAll(path), "new content");
    struct stat status {};
    ::stat(path.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(folder.Path()), 1u);
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFileWholeAndNamesTheCause) {
    ScratchFolder folder;
    folder.Write("out.bin", "old");
    const auto path = folder.Path() / "out.bin";
    std::string error;
    {
        const FileSizeLimit full(100);
        error = WriteFileAtomically(path.string(), std::string(1000, 'x'));
    }
    EXPECT_NE(error.find("out.bin: cannot write: File too large"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(Entries(folder.Path()), 1u);
}

TEST(AtomicFile, NothingButARegularFileOrANewNameIsATarget) {
    ScratchFolder folder;
    const auto fifo = (folder.Path() / "pipe").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& target : {fifo, std::string("/dev/null"), folder.Path().string()}) {
        EXPECT_NE(WriteFileAtomically(target, "x").find("not a regular file"), std::string::npos) << target;
    }
    EXPECT_NE(WriteFileAtomically("/nonexistent/out.bin", "x").find("No such file or directory"), std::string::npos);
    EXPECT_NE(WriteFileAtomically("", "x"), "");
}

TEST(AtomicFile, UnderRefuseAnExistingFileIsNeverReplacedEvenOneMadeMeanwhile) {
    ScratchFolder folder;
    folder.Write("taken", "theirs");
    try {
        AtomicFile refused((folder.Path() / "taken").string(), AtomicFile::Existing::Refuse);
        FAIL() << "an existing file was taken";
    } catch (const FileWriteError& e) {
        EXPECT_TRUE(e.TargetExists);
    }
    AtomicFile file((folder.Path() / "late").string(), AtomicFile::Existing::Refuse);
    ASSERT_TRUE(file.Write("mine"));
    folder.Write("late", "theirs");
    EXPECT_FALSE(file.Commit());
    EXPECT_NE(file.Error().find("made by someone else meanwhile"), std::string::npos) << file.Error();
    EXPECT_EQ(ReadAll(folder.Path() / "late"), "theirs");
    // What was written is kept beside it.
    EXPECT_EQ(ReadAll(file.TemporaryPath()), "mine");
}

} // namespace
