#include "PlayFixture.h"

#include <vector>

namespace {

using Type = platform::Event::Type;

class MenuTest : public PlayFixture {
protected:
    void PointAt(int x, int y) { Mouse(Type::MouseMove, x, y); }
    void Hold(int x, int y) {
        Mouse(Type::MouseMove, x, y);
        Mouse(Type::MouseDown, x, y);
    }
    void Release() { Mouse(Type::MouseUp, 0, 0); }
    void PressEscFor(int frames) {
        platform.PressKey(key::Esc);
        RunFrames(frames);
        platform.ReleaseKey(key::Esc);
    }
    // Plays long enough for the title to leave, then goes back to the menu with Esc.
    void PlayAndLeave(int frames) {
        QuietPlay(300, 210);
        RunFrames(frames);
        PressEscFor(1);
        ASSERT_EQ(W().GameState, 0);
    }
};

TEST_F(MenuTest, HotZonesShareTheirEdgesWithTheItemBelow) {
    struct Case {
        int x, y;
        int choice;
    };
    const Case cases[] = {
        {255, 220, 1}, {385, 259, 1}, {255, 260, 2}, {300, 299, 2}, {300, 300, 3}, {384, 340, 4},
        {385, 380, 4}, {386, 300, 0}, {300, 219, 0}, {254, 300, 0}, {300, 381, 0},
    };
    StartWith(LevelFile());
    for (const Case& c : cases) {
        PointAt(c.x, c.y);
        RunFrames(1);
        EXPECT_EQ(W().MenuChoice, c.choice) << c.x << "," << c.y;
        if (c.choice == 0) {
            EXPECT_EQ(W().HighlightSprite->X, -200);
        } else {
            EXPECT_EQ(W().HighlightSprite->X, 255);
            EXPECT_EQ(W().HighlightSprite->Y, 220 + 40 * (c.choice - 1));
        }
    }
    EXPECT_EQ(W().GameState, 0);
}

TEST_F(MenuTest, AQuickClickChoosesTheItemInTheNextFrameOnce) {
    StartWith(LevelFile());
    PointAt(300, 310); // the help item
    RunFrames(1);
    // Press and release both arrive before the same frame, as a tap on a touchpad sends them.
    platform.PushEvent(platform::Event{Type::MouseDown, 300, 310, 1});
    platform.PushEvent(platform::Event{Type::MouseUp, 300, 310, 1});
    RunFrames(1);
    EXPECT_EQ(W().GameState, 3);
    EXPECT_FALSE(W().MouseHeld);
    // Back in the menu over the same item, the click is spent.
    PressEscFor(1);
    RunFrames(2);
    EXPECT_EQ(W().GameState, 0);
}

TEST_F(MenuTest, AQuickClickIsLostWhereQuickClicksDoNotCount) {
    StartWith(LevelFile());
    form->CountQuickClicks = false;
    PointAt(300, 310);
    platform.PushEvent(platform::Event{Type::MouseDown, 300, 310, 1});
    platform.PushEvent(platform::Event{Type::MouseUp, 300, 310, 1});
    RunFrames(2);
    EXPECT_EQ(W().GameState, 0);
}

TEST_F(MenuTest, AfterPlayChoicesWaitUntilTheTitleHasComeDown) {
    StartWith(LevelFile());
    PlayAndLeave(150);
    EXPECT_EQ(W().TitleSprite->Y, -480);
    EXPECT_EQ(W().StatusBarSprite->Y, 450);
    Hold(300, 280);
    RunFrames(95);
    EXPECT_EQ(W().GameState, 0);
    EXPECT_EQ(W().MenuChoice, 0);
    EXPECT_EQ(W().HighlightSprite->X, -200);
    EXPECT_EQ(W().TitleSprite->Y, -5);
    EXPECT_EQ(W().MenuSprite->Y, 295);
    RunFrames(1);
    EXPECT_EQ(W().GameState, 4);
    // The status bar sank one pixel per menu frame and rests below the screen.
    EXPECT_EQ(W().StatusBarSprite->Y, 546);
    EXPECT_EQ(W().OrbIcon()->Y, 546);
}

TEST_F(MenuTest, AfterTheEndScreenNoChoiceIsLeftWhileTheTitleComesDown) {
    StartWith(LevelFile());
    QuietPlay(300, 210);
    RunFrames(150);
    // The last level is done: the end screen shows with the title up and the new-game choice
    // from the start of the game still set.
    W().GameState = 5;
    RunFrames(1);
    ASSERT_EQ(W().TitleSprite->Y, -480);
    ASSERT_EQ(W().MenuChoice, 1);
    PressEscFor(1);
    EXPECT_EQ(W().GameState, 0);
    EXPECT_EQ(W().MenuChoice, 0);
    // A click on the new-game item during the descent starts nothing.
    Hold(300, 230);
    RunFrames(95);
    EXPECT_EQ(W().GameState, 0);
    EXPECT_EQ(W().MenuChoice, 0);
    EXPECT_EQ(W().HighlightSprite->X, -200);
    RunFrames(1);
    EXPECT_EQ(W().GameState, 1);
}

TEST_F(MenuTest, EscLeavesTheScreensButNotTheMenu) {
    StartWith(LevelFile());
    PressEscFor(3);
    EXPECT_EQ(W().GameState, 0);
    // Esc from the options screen while the button still holds the options item: the menu
    // takes the item again in the very next frame.
    Hold(300, 280);
    RunFrames(1);
    ASSERT_EQ(W().GameState, 4);
    PressEscFor(1);
    EXPECT_EQ(W().GameState, 0);
    RunFrames(1);
    EXPECT_EQ(W().GameState, 4);
    Release();
    PressEscFor(1);
    RunFrames(1);
    EXPECT_EQ(W().GameState, 0);
    // The end screen is left the same way.
    W().GameState = 5;
    RunFrames(2);
    EXPECT_EQ(W().GameState, 5);
    PressEscFor(1);
    EXPECT_EQ(W().GameState, 0);
}

TEST_F(MenuTest, ANewGameResetsLevelScoreShipOrbsAndPathOnly) {
    StartWith(LevelFile().Set(2, 2, 1).Set(5, 6, 6).Set(7, 7, 2));
    PlayAndLeave(100);
    TGame& w = W();
    w.Level = 7;
    w.Energy = 3;
    w.OrbsEaten = 50;
    w.Score = 99;
    w.Speed = 2.5;
    w.Fade = 40;
    w.Heading = 2;
    w.LevelPhase = 1;
    w.FieldMap->Image = &w.WorldPicture(3);
    w.FieldMap->SetCells(2, 2, 0);
    w.Segments[4]->X = 123;
    for (auto& entry : w.Path) {
        entry = {11, 22};
    }
    RunFrames(96); // the title comes down
    Hold(300, 230);
    TRandom expected = w.RandomGenerator;
    RunFrames(1);
    Release();
    ASSERT_EQ(w.GameState, 1);
    EXPECT_EQ(w.Level, 1);
    EXPECT_EQ(w.Energy, 100);
    EXPECT_EQ(w.OrbsEaten, 0);
    EXPECT_EQ(w.Score, 0);
    EXPECT_EQ(w.FieldMap->Cells(2, 2), 1); // level 1 reloaded
    EXPECT_EQ(w.MineMode[1], 1);
    // The ship starts at (0, 0) whatever the level file says.
    EXPECT_EQ(w.ShipSprite->X, 0);
    EXPECT_EQ(w.ShipSprite->Y, 0);
    // Orbs: a column and a row each, wherever they fall.
    for (int i = 1; i <= 5; ++i) {
        const double x = 30.0 * expected.Next(21), y = 30.0 * expected.Next(15);
        EXPECT_EQ(w.Orbs[i]->X, x) << i;
        EXPECT_EQ(w.Orbs[i]->Y, y) << i;
    }
    for (int k = 1; k <= 500; ++k) {
        ASSERT_EQ(w.Path[k].x, -2000) << k;
        ASSERT_EQ(w.Path[k].y, 22) << k;
    }
    // What a new game does not touch.
    EXPECT_EQ(w.Speed, 2.5);
    EXPECT_EQ(w.Fade, 40);
    EXPECT_EQ(w.Heading, 2);
    EXPECT_EQ(w.LevelPhase, 1);
    EXPECT_EQ(w.FieldMap->Image, &w.WorldPicture(3));
    EXPECT_EQ(w.Segments[4]->X, 123);
}

TEST_F(MenuTest, HelpPictureSlidesInAndOutAndPlayLeavesItAtMinus642) {
    StartWith(LevelFile());
    Hold(300, 320);
    RunFrames(1);
    Release();
    ASSERT_EQ(W().GameState, 3);
    // The mouse has no effect on the help screen.
    Hold(300, 230);
    RunFrames(127);
    EXPECT_EQ(W().AboutSprite->X, -5);
    RunFrames(5);
    EXPECT_EQ(W().AboutSprite->X, 0);
    EXPECT_EQ(W().GameState, 3);
    Release();
    PressEscFor(1);
    ASSERT_EQ(W().GameState, 0);
    // The menu takes it out by 5; the items respond while it still covers them.
    RunFrames(10);
    EXPECT_EQ(W().AboutSprite->X, -50);
    PointAt(300, 350);
    RunFrames(1);
    EXPECT_EQ(W().MenuChoice, 4);
    // Started before it is gone, play takes it out by 3 and overshoots to -642.
    QuietPlay(300, 210);
    W().AboutSprite->X = 0;
    RunFrames(214);
    EXPECT_EQ(W().AboutSprite->X, -642);
    RunFrames(1);
    EXPECT_EQ(W().AboutSprite->X, -642);
    // The next help screen brings it to 3, and the menu back to -642.
    W().GameState = 3;
    RunFrames(140);
    EXPECT_EQ(W().AboutSprite->X, 3);
    W().GameState = 0;
    RunFrames(140);
    EXPECT_EQ(W().AboutSprite->X, -642);
}

TEST_F(MenuTest, ExitItemEndsTheProgram) {
    StartWith(LevelFile());
    Hold(300, 370);
    RunFrames(1);
    EXPECT_TRUE(app->Terminated());
}

TEST_F(MenuTest, OptionsAndEndScreensShowOnlyText) {
    StartWith(LevelFile());
    PointAt(600, 0);
    for (int state : {4, 5}) {
        W().GameState = static_cast<uint8_t>(state);
        RunFrames(1);
        const std::vector<uint32_t> pixels = BackPixels();
        int lit = 0, text = 0;
        for (int y = 40; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                const bool on = pixels[static_cast<std::size_t>(y * 640 + x)] != 0;
                (y >= 400 ? text : lit) += on;
            }
        }
        EXPECT_EQ(lit, 0) << state;
        EXPECT_GT(text, 500) << state;
    }
}

} // namespace
