#include "demo/DemoReader.h"
#include "demo/DemoWriter.h"

#include "game/ScratchFolder.h"
#include "platform/base/Translate.h"

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
    demo.Interface = true;
    EXPECT_NE(DemoWriter::Format(demo).find("\ninterface 1\n"), std::string::npos);
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
        {kHeader + "interface 2\nf 16\nend 1\n", 5},
        {kHeader + "interface\nf 16\nend 1\n", 5},
        {kHeader + "f 16\ninterface 1\nend 1\n", 6},
        {kHeader + "interface 1\ninterface 1\nf 16\nend 1\n", 6},
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

TEST(DemoReaderTest, ACutShortRecordingPlaysUpToItsLastWholeFrameOnlyWhenAllowed) {
    const std::string text = kHeader + "f 16 fin\nr 40 17\n";
    EXPECT_EQ(Refusal(text).first, 7);
    EXPECT_NE(Refusal(text).second.find("cut short"), std::string::npos);
    EXPECT_EQ(DemoReader::Parse(text, true).FrameCount(), 41u);
    // A last line cut off while it was written (a crash, a full disk) is cut short too: refused
    // as such, and left out when allowed.
    EXPECT_EQ(Refusal(text + "f 1", false).first, 7);
    EXPECT_NE(Refusal(text + "f 1", false).second.find("cut short"), std::string::npos);
    EXPECT_EQ(DemoReader::Parse(text + "f 1", true).FrameCount(), 41u);
    EXPECT_EQ(DemoReader::Parse(text + "end 4", true).FrameCount(), 41u);
    // Cut off in the header, it has no frames to play.
    EXPECT_EQ(Refusal("vorkalith-demo 1\nutc 09:15", true).second, "demo lacks its utc or clock line");
}

TEST(DemoReaderTest, WhatDoesNotStartWithTheVersionLineIsNoDemoWhateverFollows) {
    for (const std::string& text : {std::string("\x7f"
                                                "ELF\x02\x01\x01"),
                                    std::string("PK\x03\x04 binary"), std::string("vorkalith-demo")}) {
        EXPECT_NE(Refusal(text, true).second.find("not a demo"), std::string::npos) << text;
    }
}

TEST(DemoReaderTest, RepeatedHeaderLinesAreRefusedWithBothLineNumbers) {
    for (const std::string kind : {"utc 10:00:00.000", "clock 5", "foreground 0"}) {
        const auto [line, message] = Refusal(kHeader + kind + "\nf 16\nend 1\n");
        EXPECT_EQ(line, 5) << kind;
        EXPECT_NE(message.find("(the first is line "), std::string::npos) << message;
    }
}

TEST(DemoReaderTest, ControlCharactersOfTheFileAreEscapedInMessages) {
    EXPECT_EQ(Refusal(kHeader + "f 16 k+\x1b]0;owned\x07\nend 1\n").second, "bad input \"k+\\x1b]0;owned\\x07\"");
    EXPECT_EQ(Refusal(kHeader + "\x1b[2J\n").second, "unknown line \"\\x1b[2J\"");
    const DemoError named(3, "bad", "demo\x1b[31m.vkd");
    EXPECT_STREQ(named.what(), "demo\\x1b[31m.vkd:3: bad");
}

// A refusal is told in the language the program chose, with the words of the file as they are.
TEST(DemoReaderTest, MessagesAreInTheChosenLanguage) {
    SetTranslations("xx", {{"bad input {}", "[input {}]"}, {"line {}: ", "<{}> "}});
    std::string what;
    try {
        DemoReader::Parse(kHeader + "f 16 k+\x1b\nend 1\n");
    } catch (const DemoError& e) {
        what = e.what();
    }
    SetTranslations("", {});
    EXPECT_EQ(what, "<5> [input \"k+\\x1b\"]");
}

TEST(DemoReaderTest, FileErrorsNameTheFileAndTheCause) {
    try {
        DemoReader::ReadFile("/nonexistent/demo.vkd");
        FAIL() << "read a missing file";
    } catch (const DemoError& e) {
        EXPECT_STREQ(e.what(), "/nonexistent/demo.vkd: cannot open: No such file or directory");
    }
    // A folder (as a FIFO would) is refused at once rather than read.
    EXPECT_THROW(DemoReader::ReadFile("/tmp"), DemoError);
    // The kernel's memory file of this process is a regular file whose first page cannot be read:
    // a read error, which must not pass for the end of a short file.
    try {
        DemoReader::ReadFile("/proc/self/mem");
        FAIL() << "read /proc/self/mem";
    } catch (const DemoError& e) {
        EXPECT_EQ(e.Message, "cannot read: Input/output error");
    }
}

TEST(DemoReaderTest, AFileReadInBlocksReadsAsTheSameTextInMemory) {
    // Lines cross the reader's 1 MiB blocks at every offset, one of them longer than a block.
    std::string text = kHeader + "arg " + std::string(1500000, 'a') + "\n";
    for (int i = 0; i < 300000; ++i) {
        text += i % 3 == 0 ? "f 16 k+200 m" + std::to_string(i) + ",5\n" : "f " + std::to_string(i % 7) + "\n";
    }
    const Demo inMemory = DemoReader::Parse(text + "f 3 q", true);
    ScratchFolder folder;
    folder.Write("d.vkd", text + "f 3 q");
    const Demo fromFile = DemoReader::ReadFile((folder.Path() / "d.vkd").string(), true);
    EXPECT_EQ(fromFile, inMemory);
    EXPECT_EQ(fromFile.FrameCount(), 300000u);
}

} // namespace
