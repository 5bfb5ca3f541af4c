#include "display/DXImageList.h"
#include "display/DirectDraw.h"
#include "display/DirectDrawSurface.h"
#include "game/GameFixture.h"
#include "platform/app/WindowTimer.h"
#include "sprite/ImageSprite.h"

#include <stdexcept>
#include <string>

#include "ScratchFolder.h"

namespace {

using Type = platform::Event::Type;

TEST_F(GameFixture, StartsWithItsComponentsInTheStoredOrder) {
    Start();
    const char* names[] = {"DXDraw",  "GraphicList", "DXTimer", "DXSpriteEngine", "DXSound", "DXWaveList1",
                           "DXInput", "FXList",      "FonList", "WorldList",      "Timer1"};
    ASSERT_EQ(form->ComponentCount(), 11);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(form->Components(i)->Name(), names[i]);
    }
    EXPECT_EQ(form->Caption, "Vorkalith 1.00a");
    EXPECT_EQ(platform.Title, "Vorkalith");
    EXPECT_TRUE(form->DXDraw->IsInitialized());
    EXPECT_EQ(form->DXDraw->DDraw()->Device().CurrentMode(), (platform::DisplayMode{640, 480, 16}));
    EXPECT_EQ(form->DXDraw->EffectiveOptions(), 0x008D);
    EXPECT_EQ(form->DXTimer->Interval(), 0);
    EXPECT_FALSE(form->DXTimer->ActiveOnly());
    EXPECT_EQ(form->Timer1->Interval(), 1u);
    EXPECT_EQ(form->GraphicList->Items().Count(), 7);
    EXPECT_EQ(form->FXList->Items().Count(), 13);
    EXPECT_EQ(form->FonList->Items().Count(), 1);
    EXPECT_EQ(form->WorldList->Items().Count(), 5);
    EXPECT_EQ(form->World.GameState, 0);
}

TEST_F(GameFixture, RunsAtSixtyFramesPerSecondOnTheSimulatedClock) {
    Start();
    RunFrames(200);
    EXPECT_EQ(form->DXTimer->FramesPerSecond(), 60);
    EXPECT_GE(platform.VerticalBlanks, 199);
    // The screen shows the frame rate in white at the top left.
    bool white = false;
    for (int y = 1; y < 20; ++y) {
        for (int x = 1; x < 60; ++x) {
            white = white || platform.ScreenImage().At(x, y) == platform::Rgb{255, 255, 255};
        }
    }
    EXPECT_TRUE(white);
}

TEST_F(GameFixture, SlowFlipOnlyWithExactlyMinusSfFirst) {
    for (auto args : {std::vector<std::string>{}, {"-f"}, {"-SF"}, {"-sf "}, {"x", "-sf"}}) {
        Start(args);
        EXPECT_FALSE(form->World.SlowFlip) << (args.empty() ? "" : args[0]);
    }
    Start({"-sf", "extra"});
    EXPECT_TRUE(form->World.SlowFlip);
}

TEST_F(GameFixture, SlowFlipPresentsOnlyFromTheWindowTimer) {
    Start({"-sf"});
    const int blanks = platform.VerticalBlanks;
    // A frame on its own presents nothing.
    app->Idle();
    EXPECT_EQ(platform.VerticalBlanks, blanks);
    // The 1 ms window timer presents once a millisecond has passed.
    platform.AdvanceClock(1000);
    app->Step();
    EXPECT_EQ(platform.VerticalBlanks, blanks + 1);
}

TEST_F(GameFixture, WithoutSlowFlipTheWindowTimerDoesNothing) {
    Start({"-f"});
    const int blanks = platform.VerticalBlanks;
    platform.AdvanceClock(5000);
    app->Step();
    EXPECT_EQ(platform.VerticalBlanks, blanks);
}

TEST_F(GameFixture, AnyMouseButtonHoldsUntilAnyRelease) {
    Start();
    for (int button : {1, 2, 3}) {
        Mouse(Type::MouseDown, 10, 10, button);
        EXPECT_TRUE(form->World.MouseHeld);
        Mouse(Type::MouseUp, 10, 10, button);
        EXPECT_FALSE(form->World.MouseHeld);
    }
    Mouse(Type::MouseDown, 10, 10, 1);
    Mouse(Type::MouseDown, 10, 10, 3);
    Mouse(Type::MouseUp, 10, 10, 3);
    EXPECT_FALSE(form->World.MouseHeld);
}

TEST_F(GameFixture, PointerFollowsTheMouseAndIsDrawnOnTop) {
    Start();
    Mouse(Type::MouseMove, 200, 150);
    ASSERT_NE(form->World.PointerSprite, nullptr);
    EXPECT_EQ(form->World.PointerSprite->X, 200);
    EXPECT_EQ(form->World.PointerSprite->Y, 150);
    RunFrames(1);
    // The pointer picture's pattern 0, keyed, lands with its top-left corner at the mouse position.
    TPictureCollectionItem& pointer = form->GraphicList->Items().ItemAt(0);
    TDirectDrawSurface* source = pointer.PatternSurface(0);
    ASSERT_NE(source, nullptr);
    TDirectDrawSurface* back = form->DXDraw->BackBuffer();
    int compared = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            uint32_t p = source->Pixel(x, y);
            if (p != source->KeyColor()) {
                EXPECT_EQ(back->Pixel(200 + x, 150 + y), p);
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 0);
}

TEST_F(GameFixture, AnErrorInAFrameIsReportedAndTheNextFrameRuns) {
    ScratchFolder folder;
    folder.Write("1.vrk", std::string(10, '\0')); // too short
    Start();
    // Start-up reports the damaged level 1 but builds the rest of the world.
    ASSERT_EQ(platform.Errors.size(), 1u);
    EXPECT_NE(form->World.StatusBarSprite, nullptr);
    platform.Errors.clear();
    RunFrames(2);
    // Hold the button over "start": starting the game reads the short level file.
    Mouse(Type::MouseMove, 300, 230);
    Mouse(Type::MouseDown, 300, 230);
    const int blanks = platform.VerticalBlanks;
    RunFrames(1);
    ASSERT_EQ(platform.Errors.size(), 1u);
    // The box names the file at fault, as the loader found it (here in the current folder).
    EXPECT_EQ(platform.Errors[0], "Vorkalith: 1.vrk: Read beyond end of file");
    // The frame ended where the error was raised: nothing was presented. The game has
    // started all the same, on a field without walls, so holding the button asks nothing more.
    EXPECT_EQ(platform.VerticalBlanks, blanks);
    EXPECT_EQ(form->World.GameState, 1);
    RunFrames(1);
    EXPECT_EQ(platform.Errors.size(), 1u);
    EXPECT_EQ(platform.VerticalBlanks, blanks + 1);
}

TEST_F(GameFixture, StartsWithoutTheKeyboardFocus) {
    // A window manager may keep the window from the front at start; the game starts regardless.
    platform.Foreground = false;
    Start();
    RunFrames(3);
    EXPECT_NE(form->World.TitleSprite, nullptr);
    EXPECT_TRUE(platform.Errors.empty());
    EXPECT_EQ(platform.VerticalBlanks, 3);
}

TEST_F(GameFixture, ClosingTheWindowEndsTheProgram) {
    Start();
    platform.PushEvent(platform::Event{Type::Quit});
    EXPECT_FALSE(app->Step());
    EXPECT_TRUE(app->Terminated());
}

TEST_F(GameFixture, ImageListsRebuildTheirPatternsAfterALoss) {
    Start();
    TPictureCollectionItem& tiles = form->WorldList->Items().ItemAt(0);
    ASSERT_EQ(tiles.PatternCount(), 2);
    TDirectDrawSurface* before = tiles.PatternSurface(0);
    const uint32_t pixel = before->Pixel(10, 10);
    platform.LoseSurfaces();
    RunFrames(1);
    ASSERT_EQ(tiles.PatternCount(), 2);
    EXPECT_EQ(tiles.PatternSurface(0)->Pixel(10, 10), pixel);
    EXPECT_FALSE(tiles.PatternSurface(0)->IsLost());
}

} // namespace
