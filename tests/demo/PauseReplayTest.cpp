#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/HeadlessSession.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"
#include "sprite/ImageSprite.h"

#include "demo/VerifySupport.h"
#include "game/ScratchFolder.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

using K = DemoInput::Kind;
constexpr int kKeyP = 25, kPause = 197, kRight = 205;

// The rules' state alone: the frame count, the frame rate and the screen left out.
std::string RulesState(const std::string& state) {
    static const std::regex kDrawn(R"re("(Frame|FPS|ScreenHash)":("[^"]*"|[0-9]+),?)re");
    return std::regex_replace(state, kDrawn, "");
}

// A game steered right, with `pause` frames paused by P in the middle (none: no pause).
std::vector<SessionStep> GameWithPause(long long pause) {
    std::vector<SessionStep> steps = StartGame();
    steps.push_back({{{K::KeyDown, kRight}}, 120});
    steps.push_back({{{K::KeyUp, kRight}}, 40});
    if (pause > 0) {
        steps.push_back({{{K::KeyDown, kKeyP}}, 1});
        steps.push_back({{{K::KeyUp, kKeyP}}, pause - 1});
        // The frame of the second press plays.
        steps.push_back({{{K::KeyDown, kPause}}, 1});
        steps.push_back({{{K::KeyUp, kPause}}, 149});
    } else {
        steps.push_back({{}, 150});
    }
    return steps;
}

class PauseReplayTest : public ::testing::Test {
protected:
    PauseReplayTest() {
        CopyInstalledLevels(folder.Path());
        start.Utc = {9, 15, 0, 132};
        start.Interface = true;
    }

    ScratchFolder folder;
    SessionStart start;
};

TEST_F(PauseReplayTest, PausedFramesStepNoRuleAndTheirDemoReplaysTheSameWay) {
    const std::string unpaused = PlaySession(start, GameWithPause(0));
    start.DemoFile = (folder.Path() / "paused.vkd").string();
    const std::string paused = PlaySession(start, GameWithPause(300));
    ASSERT_NE(paused.find("\"GameState\":1"), std::string::npos) << paused;
    EXPECT_EQ(RulesState(paused), RulesState(unpaused));

    // Drawn and by the rules alone, the demo pauses in the same frames and ends where it was made.
    const Demo demo = DemoReader::ReadFile(start.DemoFile);
    EXPECT_TRUE(demo.Interface);
    for (const DemoPlayer::Mode mode : {DemoPlayer::Mode::Drawn, DemoPlayer::Mode::RulesOnly}) {
        DemoPlayer player(nullptr, demo, mode);
        ASSERT_TRUE(player.MakeForm());
        player.Play(false);
        EXPECT_EQ(RulesState(StateJson::Full(player.Form(), player.Frames(), 0)), RulesState(paused));
    }
}

TEST_F(PauseReplayTest, WithoutTheInterfacePauseKeysChangeNothing) {
    const std::string unpaused = PlaySession(start, GameWithPause(0));
    start.Interface = false;
    EXPECT_NE(RulesState(PlaySession(start, GameWithPause(300))), RulesState(unpaused));
}

TEST_F(PauseReplayTest, LosingTheFocusPausesPlayUntilThePauseKey) {
    HeadlessSession session(start);
    ASSERT_TRUE(session.MakeForm());
    for (const SessionStep& step : StartGame()) {
        for (const DemoInput& input : step.Inputs) {
            session.Apply(input);
        }
        session.Frames(step.Frames);
    }
    session.Apply({K::KeyDown, kRight});
    session.Frames(60);
    session.Apply({K::FocusLost});
    session.Apply({K::Foreground, 0});
    session.Frames(1);
    const double x = session.Form().World.ShipSprite->X;
    session.Frames(30);
    EXPECT_TRUE(session.Form().Interface->Paused());
    EXPECT_EQ(session.Form().World.ShipSprite->X, x);

    // Back in front the game stays paused until the pause key.
    session.Apply({K::FocusGained});
    session.Apply({K::Foreground, 1});
    session.Frames(10);
    EXPECT_EQ(session.Form().World.ShipSprite->X, x);
    session.Apply({K::KeyDown, kKeyP});
    session.Frames(10);
    EXPECT_FALSE(session.Form().Interface->Paused());
    EXPECT_GT(session.Form().World.ShipSprite->X, x);
}

TEST_F(PauseReplayTest, TheHintShowsOnTheTitleOnlyWithTheInterface) {
    auto menuScreen = [&](bool withInterface) {
        start.Interface = withInterface;
        HeadlessSession session(start);
        EXPECT_TRUE(session.MakeForm());
        session.Frames(5);
        return session.ScreenHashNow();
    };
    EXPECT_NE(menuScreen(true), menuScreen(false));
}

} // namespace
