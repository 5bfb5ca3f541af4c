#include "PlayFixture.h"
#include "game/LevelLoader.h"

#include <cmath>

#include <string>
#include <vector>

namespace {

using ShipTest = PlayFixture;

TEST_F(ShipTest, SteeringTakesTheLastKeyTestedAndKeepsTheHeadingWithoutKeys) {
    struct Case {
        std::vector<int> keys;
        int heading;
        int angle;
    };
    const Case cases[] = {
        {{key::Left}, 4, 192},
        {{key::Up}, 1, 0},
        {{key::Left, key::Right}, 2, 64},
        {{key::Up, key::Down}, 3, 128},
        {{key::Right, key::Up}, 1, 0},
        {{key::Left, key::Right, key::Up, key::Down}, 3, 128},
        {{}, 3, 128},
    };
    StartWith(LevelFile());
    QuietPlay(300, 210);
    for (const Case& c : cases) {
        ReleaseAll();
        for (int code : c.keys) {
            platform.PressKey(code);
        }
        RunFrames(1);
        EXPECT_EQ(W().Heading, c.heading) << c.keys.size() << " keys";
        EXPECT_EQ(W().ShipSprite->Angle, c.angle);
    }
}

TEST_F(ShipTest, FirstGameShipStandsStillUntilSteeredAndLaterGamesSetOffAtOnce) {
    StartWith(LevelFile());
    QuietPlay(0, 0);
    RunFrames(20);
    EXPECT_EQ(W().ShipSprite->X, 0);
    EXPECT_EQ(W().ShipSprite->Y, 0);
    EXPECT_EQ(W().Energy, 100); // never counted as blocked
    Press({key::Down});
    RunFrames(1);
    ReleaseAll();
    RunFrames(9);
    EXPECT_EQ(W().ShipSprite->Y, 10);
    // Back to the menu and into a second game: the old heading carries the ship on.
    Press({key::Esc});
    RunFrames(1);
    ReleaseAll();
    ASSERT_EQ(W().GameState, 0);
    RunFrames(100);
    StartGame();
    ParkOrbs();
    RunFrames(3);
    EXPECT_EQ(W().ShipSprite->Y, 3);
}

// Where a ship at speed 1.0 comes to rest against a wall: the cell tested is found by
// rounding half to even, so the stop depends on the parity of the cell.
TEST_F(ShipTest, StopsAgainstWallsWhereRoundingHalfToEvenSaysSo) {
    struct Case {
        int wallColumn, wallRow;
        double x, y;
        int heading;
        double stopX, stopY;
    };
    const Case cases[] = {
        {1, 3, 0, 90, 2, 15, 90},       // 15/30 rounds to 0, 16/30 to 1
        {2, 3, 30, 90, 2, 44, 90},      // 45/30 = 1.5 rounds to 2
        {1, 3, 60, 90, 4, 45, 90},      // 45/30 rounds to 2, 44/30 to 1
        {0, 3, 60, 90, 4, 16, 90},      // 15/30 = 0.5 rounds to 0
        {3, 1, 90, 0, 3, 90, 15},       // down
        {3, 2, 90, 30, 3, 90, 44},      // down, 45/30 rounds to 2
        {3, 1, 90, 60, 1, 90, 45},      // up
        {3, 0, 90, 60, 1, 90, 16},      // up, 15/30 rounds to 0
        {10, 5, 240, 135, 2, 310, 135}, // 135/30 = 4.5 rounds to row 4: the wall beside the path is passed
    };
    StartWith(LevelFile());
    QuietPlay(0, 0);
    for (const Case& c : cases) {
        folder.Write("w.vrk", LevelFile().Set(c.wallColumn, c.wallRow, 1).Bytes());
        LoadLevel(W(), "w.vrk");
        W().ShipSprite->X = c.x;
        W().ShipSprite->Y = c.y;
        W().Heading = static_cast<uint8_t>(c.heading);
        W().Energy = 1000;
        RunFrames(70);
        const std::string where = "wall " + std::to_string(c.wallColumn) + "," + std::to_string(c.wallRow);
        EXPECT_EQ(W().ShipSprite->X, c.stopX) << where;
        EXPECT_EQ(W().ShipSprite->Y, c.stopY) << where;
        // Every frame spent against the wall costs one energy.
        const int travelled = static_cast<int>(std::abs(c.stopX - c.x) + std::abs(c.stopY - c.y));
        EXPECT_EQ(W().Energy, 1000 - (70 - travelled)) << where;
    }
}

TEST_F(ShipTest, FieldEdgesAreTestedBeforeTheMove) {
    StartWith(LevelFile());
    QuietPlay(600, 420);
    W().Heading = 2;
    RunFrames(15);
    EXPECT_EQ(W().ShipSprite->X, 610);
    EXPECT_EQ(W().Energy, 95);
    // A faster ship ends up one step beyond the edge.
    W().ShipSprite->X = 609;
    W().Speed = 1.5;
    RunFrames(2);
    EXPECT_EQ(W().ShipSprite->X, 610.5);
    // Up to the top edge and down to the bottom edge.
    W().Speed = 1.0;
    W().ShipSprite->X = 300;
    W().ShipSprite->Y = 1.5;
    W().Heading = 1;
    RunFrames(3);
    EXPECT_EQ(W().ShipSprite->Y, -0.5);
    W().ShipSprite->Y = 418;
    W().Heading = 3;
    RunFrames(3);
    EXPECT_EQ(W().ShipSprite->Y, 420);
}

TEST_F(ShipTest, BlockedShipWithoutEnergyLosesNone) {
    StartWith(LevelFile());
    QuietPlay(0, 0);
    W().Heading = 4;
    W().Energy = 0;
    W().Score = 100;
    RunFrames(1);
    // Blocked with no energy: the end of the frame trades score for one energy.
    EXPECT_EQ(W().Energy, 1);
    EXPECT_EQ(W().Score, 97);
    RunFrames(1);
    EXPECT_EQ(W().Energy, 1);
    EXPECT_EQ(W().Score, 94);
}

TEST_F(ShipTest, FadeReachesExactlyZeroInThe772ndFrameAndAfterAHitInThe151st) {
    StartWith(LevelFile());
    QuietPlay(300, 210);
    for (double start : {255.0, 50.0}) {
        const int frames = start == 255.0 ? 772 : 151;
        W().Fade = start;
        RunFrames(1);
        EXPECT_EQ(W().ShipSprite->Alpha, start == 255.0 ? 0 : 205);
        RunFrames(frames - 2);
        EXPECT_GT(W().Fade, 0.0) << start;
        EXPECT_EQ(W().ShipSprite->Alpha, 254) << start;
        RunFrames(1);
        EXPECT_EQ(W().Fade, 0.0) << start;
        EXPECT_EQ(W().ShipSprite->Alpha, 255);
    }
}

TEST_F(ShipTest, PathRecordsTheRoundedPositionNewestFirst) {
    StartWith(LevelFile());
    QuietPlay(0.5, 60);
    W().Heading = 2;
    RunFrames(1);
    // 1.5 rounds to 2.
    EXPECT_EQ(W().Path[1].x, 2);
    EXPECT_EQ(W().Path[1].y, 60);
    EXPECT_EQ(W().Path[2].x, -2000);
    RunFrames(1);
    // 2.5 rounds to 2.
    EXPECT_EQ(W().Path[1].x, 2);
    RunFrames(8);
    // After 10 frames entry 10 holds the first position and entry 11 is still unfilled.
    EXPECT_EQ(W().Path[1].x, 10);
    EXPECT_EQ(W().Path[9].x, 2);
    EXPECT_EQ(W().Path[10].x, 2);
    EXPECT_EQ(W().Path[11].x, -2000);
    EXPECT_EQ(W().Path[11].y, 0); // y is left as it was
}

} // namespace
