#include "demo/DemoPlayer.h"

#include "game/MainForm.h"
#include "sprite/ImageSprite.h"

#include "game/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

using K = DemoInput::Kind;

// A level with open floor and the ship at the top left.
std::string OpenLevel() {
    std::string bytes(352, '\0');
    bytes[0] = 6;
    return bytes;
}

// A demo that starts a game from the menu and steers the ship right: a click on the start item,
// then frames in runs, with a run of zero frames among them (a writer may leave one).
Demo StartAndSteer() {
    Demo demo;
    demo.Utc = {9, 15, 0, 0};
    demo.Foreground = true;
    demo.Frames.push_back({16, 1, {{K::MouseMove, 320, 240}}});
    demo.Frames.push_back({17, 3, {}});
    demo.Frames.push_back({16, 1, {{K::MouseDown, 320, 240, 1}}});
    demo.Frames.push_back({17, 1, {{K::MouseUp, 320, 240, 1}, {K::KeyDown, 205}}});
    demo.Frames.push_back({17, 0, {{K::KeyUp, 205}}});
    demo.Frames.push_back({16, 60, {}});
    return demo;
}

class DemoPlayerTest : public ::testing::Test {
protected:
    DemoPlayerTest() { folder.Write("1.vrk", OpenLevel()); }
    ScratchFolder folder;
};

TEST_F(DemoPlayerTest, AQuickClickCountsInRecordingsMadeSinceItCounted) {
    for (const int version : {1, 2}) {
        Demo demo;
        demo.Version = version;
        demo.Foreground = true;
        demo.Frames.push_back({16, 1, {{K::MouseMove, 300, 280}}});
        demo.Frames.push_back({17, 1, {{K::MouseDown, 300, 280, 1}, {K::MouseUp, 300, 280, 1}}});
        demo.Frames.push_back({17, 2, {}});
        DemoPlayer player(nullptr, demo);
        ASSERT_TRUE(player.MakeForm());
        player.Play(false);
        EXPECT_EQ(player.Form().World.GameState, version == 1 ? 0 : 4) << "version " << version;
    }
}

TEST_F(DemoPlayerTest, StepsPlayEveryRepeatOnceAndThenNothing) {
    const Demo demo = StartAndSteer();
    DemoPlayer player(nullptr, demo);
    EXPECT_FALSE(player.Step()) << "no frame plays before the form is made";
    ASSERT_TRUE(player.MakeForm());
    uint64_t steps = 0;
    while (!player.Done()) {
        ASSERT_TRUE(player.Step());
        ++steps;
        ASSERT_LE(steps, demo.FrameCount());
    }
    EXPECT_EQ(steps, 66u); // the zero-repeat frame plays no frame, and its key-up never happens
    EXPECT_EQ(player.Frames(), 66u);
    EXPECT_FALSE(player.Step());
    EXPECT_EQ(player.Frames(), 66u);
    EXPECT_FALSE(player.EndedEarly());
    EXPECT_EQ(player.Form().World.GameState, 1) << "the click started a game";
}

TEST_F(DemoPlayerTest, StepByStepEndsInTheStateThatPlayReaches) {
    const Demo demo = StartAndSteer();
    DemoPlayer played(nullptr, demo);
    ASSERT_TRUE(played.MakeForm());
    uint64_t calls = 0;
    played.Play(false, [&] { ++calls; });
    EXPECT_EQ(calls, demo.FrameCount());

    DemoPlayer stepped(nullptr, demo);
    ASSERT_TRUE(stepped.MakeForm());
    while (stepped.Step()) {
    }
    EXPECT_EQ(stepped.FinalState(), played.FinalState());
    EXPECT_EQ(stepped.Form().World.ShipSprite->X, played.Form().World.ShipSprite->X);
}

TEST_F(DemoPlayerTest, AGameThatEndsStopsTheStepsEarly) {
    Demo demo;
    demo.Frames.push_back({16, 2, {}});
    demo.Frames.push_back({16, 1, {{K::Quit}}});
    demo.Frames.push_back({16, 10, {}});
    DemoPlayer player(nullptr, demo);
    ASSERT_TRUE(player.MakeForm());
    int steps = 0;
    while (player.Step()) {
        ++steps;
    }
    EXPECT_EQ(steps, 3);
    EXPECT_TRUE(player.Done());
    EXPECT_TRUE(player.EndedEarly());
}

TEST_F(DemoPlayerTest, ADemoWithoutFramesIsDoneAtOnce) {
    Demo empty;
    DemoPlayer player(nullptr, empty);
    ASSERT_TRUE(player.MakeForm());
    EXPECT_TRUE(player.Done());
    EXPECT_FALSE(player.Step());
    EXPECT_FALSE(player.EndedEarly());

    Demo onlyZeroRuns;
    onlyZeroRuns.Frames.push_back({16, 0, {}});
    DemoPlayer zero(nullptr, onlyZeroRuns);
    ASSERT_TRUE(zero.MakeForm());
    EXPECT_TRUE(zero.Done());
    EXPECT_FALSE(zero.Step());
    EXPECT_EQ(zero.Frames(), 0u);
}

} // namespace
