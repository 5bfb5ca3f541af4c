#include "demo/SimScript.h"
#include "demo/DemoReader.h"
#include "demo/DemoWriter.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

int BadLine(const std::string& script) {
    try {
        SimScript::Parse(script);
    } catch (const ScriptError& e) {
        return e.Line;
    }
    return -1;
}

TEST(SimScriptTest, ReadsCommandsAndNamedKeys) {
    const auto commands = SimScript::Parse("# start\nutc 01:02:03.004\nkey left down\nkey 27 up # esc\n"
                                           "mouse 10 -20\nbutton down\nbutton up 3 5 6\nframes 12\ntick 60hz\n"
                                           "tick 0\nstate\nshot a.png\n");
    ASSERT_EQ(commands.size(), 11u);
    EXPECT_EQ(commands[0].What, SimCommand::Kind::Utc);
    EXPECT_EQ(commands[1].Input, (DemoInput{DemoInput::Kind::KeyDown, 203}));
    EXPECT_EQ(commands[2].Input, (DemoInput{DemoInput::Kind::KeyUp, 1}));
    EXPECT_EQ(commands[2].Line, 4);
    EXPECT_EQ(commands[3].Input, (DemoInput{DemoInput::Kind::MouseMove, 10, -20}));
    EXPECT_EQ(commands[4].Count, 0); // at the pointer
    EXPECT_EQ(commands[5].Input, (DemoInput{DemoInput::Kind::MouseUp, 5, 6, 3}));
    EXPECT_EQ(commands[6].Count, 12);
    EXPECT_EQ(commands[7].Count, -1);
    EXPECT_EQ(commands[8].Count, 0);
    EXPECT_EQ(commands[9].What, SimCommand::Kind::State);
}

TEST(SimScriptTest, BadLinesAreNamed) {
    EXPECT_EQ(BadLine("frames 1\nframes -1\n"), 2);
    EXPECT_EQ(BadLine("key 0 down\n"), 1);
    EXPECT_EQ(BadLine("key 7 down\n"), 1); // no key has virtual-key code 7
    EXPECT_EQ(BadLine("\n\nkey left sideways\n"), 3);
    EXPECT_EQ(BadLine("button down 1 2\n"), 1);
    EXPECT_EQ(BadLine("frames 1\nutc 01:02:03.004\n"), 2);
    EXPECT_EQ(BadLine("jump\n"), 1);
    EXPECT_EQ(BadLine("state now\n"), 1);
    EXPECT_EQ(BadLine("tick fast\n"), 1);
}

TEST(SimScriptTest, ArrowsAndEscMapToTheKeysTheGameReads) {
    EXPECT_EQ(SimScript::KeyCodeOf(37), 203);
    EXPECT_EQ(SimScript::KeyCodeOf(38), 200);
    EXPECT_EQ(SimScript::KeyCodeOf(39), 205);
    EXPECT_EQ(SimScript::KeyCodeOf(40), 208);
    EXPECT_EQ(SimScript::KeyCodeOf(27), 1);
}

TEST(SimScriptTest, ScriptsFromDemosCarryEveryInput) {
    const Demo demo = DemoReader::Parse("vorkalith-demo 1\nutc 09:15:00.132\nclock 7\nforeground 0\narg -sf\n"
                                        "level 1.vrk 352 00000000deadbeef\nlevel 1.vrk 352 00000000deadbeef\n"
                                        "f 16 fin a1 m300,230\nf 17 d300,230,1 k+200 k+0\nr 2 17\nf 16 u1,2,3 x q\n"
                                        "r 5 3\nend 10\n");
    const std::string script = SimScript::FromDemo(demo);
    EXPECT_EQ(script, "# replays a demo exactly; made by vorkalith-sim --from-demo\n"
                      "utc 09:15:00.132\nclock 7\nforeground 0\narg -sf\nlevel 1.vrk 352 00000000deadbeef\n"
                      "event focus-in\nforeground 1\nmouse 300 230\nframes 1\n"
                      "button down 1 300 230\nkey 38 down\nscankey 0 down\nframes 2\n"
                      // The simulator's 60 Hz steps run 16, 17, 17, 16...: the fourth frame's 17 needs a tick.
                      "tick 17\nframes 1\ntick 16\n"
                      "button up 3 1 2\nevent expose\nevent quit\nframes 1\n"
                      "tick 3\nframes 5\n");
    // Every line of it reads back.
    EXPECT_EQ(SimScript::Parse(script).size(), 22u);
}

TEST(SimScriptTest, ADailyDemoWithTheInterfaceStartsAgainFromItsDateAndRealStart) {
    // 2024-05-01 seeds 18:44:13.069; the session started at 10:00:00.250.
    const Demo demo = DemoReader::Parse("vorkalith-demo 2\nutc 18:44:13.069\ndaily 2024-05-01 10:00:00.250\n"
                                        "interface 1\nclock 0\nforeground 1\nf 16\nend 1\n");
    const std::string script = SimScript::FromDemo(demo);
    EXPECT_NE(script.find("\nutc 10:00:00.250\ndaily 2024-05-01\ninterface\n"), std::string::npos) << script;
    const std::vector<SimCommand> commands = SimScript::Parse(script);
    EXPECT_TRUE(std::any_of(commands.begin(), commands.end(),
                            [](const SimCommand& c) { return c.What == SimCommand::Kind::Interface; }));
}

} // namespace
