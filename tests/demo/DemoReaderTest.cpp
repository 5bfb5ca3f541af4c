#include "demo/DemoReader.h"
#include "demo/DemoWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHeader = "vorkalith-demo 1\nutc 09:15:00.132\nclock 4000\nforeground 1\n";

// The line number and message a damaged demo is refused with.
std::pair<int, std::string> Refusal(const std::string& text, bool allowTruncated = false) {
    try {
        DemoReader::Parse(text, allowTruncated);
    } catch (const DemoError& e) {
        return {e.Line, e.Message};
    }
    return {-1, "accepted"};
}

TEST(DemoReaderTest, ReadsEveryKindOfLine) {
    const Demo demo =
        DemoReader::Parse(kHeader + "arg -sf\narg a%20b%25\n# a comment\nlevel 1.vrk 352 00000000deadbeef\n"
                                    "f 16 fin a1 m300,230 d300,230,1 u-5,7,3 k+200 k-200 x q fout a0\n"
                                    "r 3 17\nend 4\n");
    EXPECT_EQ(demo.Version, 1);
    EXPECT_EQ(demo.Utc.Hours, 9);
    EXPECT_EQ(demo.Utc.Milliseconds, 132);
    EXPECT_EQ(demo.Clock, 4000u);
    EXPECT_TRUE(demo.Foreground);
    EXPECT_EQ(demo.Arguments, (std::vector<std::string>{"-sf", "a b%"}));
    ASSERT_EQ(demo.Levels.size(), 1u);
    EXPECT_EQ(demo.Levels[0].Hash, 0xdeadbeefull);
    ASSERT_EQ(demo.Frames.size(), 2u);
    using K = DemoInput::Kind;
    const std::vector<DemoInput> inputs = {{K::FocusGained},
                                           {K::Foreground, 1},
                                           {K::MouseMove, 300, 230},
                                           {K::MouseDown, 300, 230, 1},
                                           {K::MouseUp, -5, 7, 3},
                                           {K::KeyDown, 200},
                                           {K::KeyUp, 200},
                                           {K::Expose},
                                           {K::Quit},
                                           {K::FocusLost},
                                           {K::Foreground, 0}};
    EXPECT_EQ(demo.Frames[0].Inputs, inputs);
    EXPECT_EQ(demo.Frames[1].Repeat, 3u);
    EXPECT_EQ(demo.Frames[1].Delta, 17u);
    EXPECT_EQ(demo.FrameCount(), 4u);
}

TEST(DemoReaderTest, WrittenDemosReadBackTheSame) {
    Demo demo;
    demo.Utc = {23, 59, 59, 999};
    demo.Clock = 4294967295u;
    demo.Arguments = {"-sf", "with space", "#hash", ""};
    demo.Levels = {{"my level.vrk", 100, 0x0123456789abcdefull}};
    demo.Frames = {{16, 1, {{DemoInput::Kind::MouseMove, -1000000, 1000000}}}, {0, 7, {}}};
    EXPECT_EQ(DemoReader::Parse(DemoWriter::Format(demo)), demo);
}

TEST(DemoReaderTest, RefusesDamageWithTheLineAtFault) {
    struct Case {
        std::string Text;
        int Line;
    };
    const Case cases[] = {
        {"", 1},
        {"not a demo\n", 1},
        {"vorkalith-demo 0\n", 1},
        {"vorkalith-demo 3\n", 1},
        {"vorkalith-demo 1\nutc 24:00:00.000\n", 2},
        {"vorkalith-demo 1\nutc 12:00:00.000\nclock -1\n", 3},
        {"vorkalith-demo 1\nf 16\n", 2},
        {kHeader + "f 16 k+256\nend 1\n", 5},
        {kHeader + "f 16 m1,2,3\nend 1\n", 5},
        {kHeader + "f 16 d1,2,0\nend 1\n", 5},
        {kHeader + "f 16 k+\nend 1\n", 5},
        {kHeader + "f\nend 0\n", 5},
        {kHeader + "f 4294967296\nend 1\n", 5},
        {kHeader + "r 0 16\nend 0\n", 5},
        {kHeader + "level 1.vrk 352 xyz\n", 5},
        {kHeader + "level 1%2.vrk 352 0000000000000000\n", 5},
        {kHeader + "f 16\nutc 12:00:00.000\n", 6},
        {kHeader + "f 16\nend 2\n", 6},
        {kHeader + "f 16\nend 1\nf 16\n", 6},
        {kHeader + "f 16\nwhat\n", 6},
        {kHeader + "f 16", 5},
        {kHeader + "f 16\n", 6},
        {"vorkalith-demo 1\nend 0\n", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Refusal(c.Text).first, c.Line) << c.Text << " -> " << Refusal(c.Text).second;
    }
}

TEST(DemoReaderTest, ACutShortRecordingPlaysOnlyWhenAllowed) {
    const std::string text = kHeader + "f 16 fin\nr 40 17\n";
    EXPECT_EQ(Refusal(text).first, 7);
    EXPECT_NE(Refusal(text).second.find("cut short"), std::string::npos);
    EXPECT_EQ(DemoReader::Parse(text, true).FrameCount(), 41u);
    // A line cut off in the middle is refused even then.
    EXPECT_EQ(Refusal(text + "f 1", true).first, 7);
}

TEST(DemoReaderTest, FileErrorsNameTheFile) {
    try {
        DemoReader::ReadFile("/nonexistent/demo.vkd");
        FAIL() << "read a missing file";
    } catch (const DemoError& e) {
        EXPECT_STREQ(e.what(), "/nonexistent/demo.vkd: cannot open (not a readable regular file)");
    }
    // A folder (as a FIFO would) is refused at once rather than read.
    EXPECT_THROW(DemoReader::ReadFile("/tmp"), DemoError);
}

} // namespace
