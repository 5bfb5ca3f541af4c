#include "demo/DemoWriter.h"
#include "demo/DemoReader.h"

#include "game/ScratchFolder.h"
#include "platform/files/AtomicFile.h"
#include "support/FileSizeLimit.h"
#include "support/FileText.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(DemoWriterTest, GathersInputFreeFramesIntoRunsAndEndsWithTheFrameCount) {
    ScratchFolder folder;
    const auto path = folder.Path() / "d.vkd";
    {
        DemoWriter writer(path.string());
        writer.Header({1, 2, 3, 4}, 99, true, {"-sf"});
        writer.Frame({16, 1, {{DemoInput::Kind::FocusGained}}});
        for (int i = 0; i < 3; ++i) {
            writer.Frame({17, 1, {}});
        }
        writer.Level({"2.vrk", 352, 5});
        writer.Frame({17, 1, {}});
        writer.Frame({16, 1, {}});
        // Nothing reaches the target before the end: the demo is made under another name.
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_TRUE(writer.Close());
    }
    EXPECT_EQ(ReadAll(path), "vorkalith-demo 2\nutc 01:02:03.004\nclock 99\nforeground 1\narg -sf\nf 16 fin\n"
                             "r 3 17\nlevel 2.vrk 352 0000000000000005\nf 17\nf 16\nend 6\n");
    EXPECT_EQ(DemoReader::ReadFile(path.string()).FrameCount(), 6u);
    // Nothing else is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(DemoWriterTest, ASnapshotIsAWholeDemoOfTheFramesSoFarAndRecordingGoesOn) {
    ScratchFolder folder;
    const auto path = folder.Path() / "d.vkd";
    DemoWriter writer(path.string());
    writer.Header({1, 2, 3, 4}, 99, true, {});
    writer.Frame({16, 1, {{DemoInput::Kind::FocusGained}}});
    writer.Frame({17, 1, {}});
    writer.Frame({17, 1, {}});
    EXPECT_EQ(writer.Snapshot(),
              "vorkalith-demo 2\nutc 01:02:03.004\nclock 99\nforeground 1\nf 16 fin\nr 2 17\nend 3\n");
    writer.Frame({17, 1, {}});
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(DemoReader::ReadFile(path.string()).FrameCount(), 4u);
}

TEST(DemoWriterTest, FramesPastWhatAReaderTakesAreNotRecordedAndToldOnce) {
    ScratchFolder folder;
    const auto path = (folder.Path() / "d.vkd").string();
    int told = 0;
    DemoWriter writer(path);
    writer.OnFailure = [&told](const std::string&) { ++told; };
    writer.Header({}, 0, false, {});
    writer.Frame({16, static_cast<uint32_t>(DemoReader::kMaxFrames - 1), {}});
    writer.Frame({17, 1, {}});
    writer.Frame({16, 1, {}});
    writer.Frame({16, 1, {{DemoInput::Kind::Quit}}});
    EXPECT_FALSE(writer.Close());
    EXPECT_EQ(told, 1);
    EXPECT_EQ(DemoReader::ReadFile(path).FrameCount(), DemoReader::kMaxFrames);
}

TEST(DemoWriterTest, AFullDiskCutsTheDemoShortAtItsLastWholeLineAndSaysSoAtOnce) {
    ScratchFolder folder;
    const auto path = (folder.Path() / "d.vkd").string();
    std::vector<std::string> told;
    {
        DemoWriter writer(path);
        writer.OnFailure = [&told](const std::string& message) { told.push_back(message); };
        writer.Header({}, 0, false, {});
        for (int i = 0; i < 200; ++i) {
            writer.Frame({16, 1, {{DemoInput::Kind::MouseMove, i, i}}});
        }
        const FileSizeLimit full(1000);
        EXPECT_FALSE(writer.Close());
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find("d.vkd: cannot write: File too large"), std::string::npos) << told[0];
        EXPECT_EQ(writer.Error(), told[0]);
    }
    const std::string text = ReadAll(path);
    EXPECT_LE(text.size(), 1000u);
    EXPECT_GT(text.size(), 900u);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_THROW(DemoReader::ReadFile(path), DemoError);
    const Demo demo = DemoReader::ReadFile(path, true);
    std::size_t frameLines = 0;
    for (std::size_t at = text.find("\nf "); at != std::string::npos; at = text.find("\nf ", at + 1)) {
        ++frameLines;
    }
    EXPECT_EQ(demo.FrameCount(), frameLines);
}

TEST(DemoWriterTest, AnExistingFileIsRefusedUnlessReplacedAndAnAbandonedDemoLeavesItWhole) {
    ScratchFolder folder;
    folder.Write("old.vkd", "old demo\n");
    const auto path = (folder.Path() / "old.vkd").string();
    try {
        DemoWriter refused(path);
        FAIL() << "an existing demo was taken";
    } catch (const platform::FileWriteError& e) {
        EXPECT_TRUE(e.TargetExists);
        EXPECT_NE(std::string(e.what()).find("old.vkd: already exists"), std::string::npos);
    }
    {
        DemoWriter abandoned(path, true);
        abandoned.Header({}, 0, false, {});
        abandoned.Frame({16, 1, {}});
        abandoned.Abandon();
    }
    EXPECT_EQ(ReadAll(path), "old demo\n");
    DemoWriter replacing(path, true);
    replacing.Header({}, 0, false, {});
    EXPECT_TRUE(replacing.Close());
    EXPECT_EQ(DemoReader::ReadFile(path).FrameCount(), 0u);
}

TEST(DemoWriterTest, NoFifoDeviceOrMissingFolderIsATarget) {
    ScratchFolder folder;
    const auto fifo = (folder.Path() / "pipe").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& target : {fifo, std::string("/dev/full"), std::string("/nonexistent/folder/d.vkd")}) {
        EXPECT_THROW(DemoWriter(target, true), platform::FileWriteError) << target;
    }
}

} // namespace
