#include "demo/DemoWriter.h"
#include "demo/DemoReader.h"

#include "game/ScratchFolder.h"
#include "support/FileText.h"

#include <gtest/gtest.h>

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
        // Nothing reaches the file before the flush interval or the end.
        EXPECT_EQ(ReadAll(path), "");
        EXPECT_TRUE(writer.Close());
    }
    EXPECT_EQ(ReadAll(path), "vorkalith-demo 2\nutc 01:02:03.004\nclock 99\nforeground 1\narg -sf\nf 16 fin\n"
                             "r 3 17\nlevel 2.vrk 352 0000000000000005\nf 17\nf 16\nend 6\n");
    EXPECT_EQ(DemoReader::ReadFile(path.string()).FrameCount(), 6u);
}

TEST(DemoWriterTest, AFullDiskIsReportedAtClose) {
    DemoWriter writer("/dev/full");
    writer.Header({}, 0, false, {});
    writer.Frame({16, 1, {}});
    EXPECT_FALSE(writer.Close());
}

TEST(DemoWriterTest, AFileThatCannotBeMadeIsNamed) {
    EXPECT_THROW(DemoWriter("/nonexistent/folder/d.vkd"), std::runtime_error);
}

} // namespace
