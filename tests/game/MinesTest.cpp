#include "PlayFixture.h"
#include "game/LevelLoader.h"

#include <algorithm>
#include <string>

namespace {

class MinesTest : public PlayFixture {
protected:
    // Play with the ship parked far off the field, where no mine can reach it.
    void StartPlay(const LevelFile& level) {
        StartWith(level);
        QuietPlay(-2000, 0);
    }
};

// Where a patrolling mine turns: the cell ahead is found by rounding half to even, so a mine
// stops half a cell before a wall or a cell further on, and only the edges of the screen (the
// right one at 640, beyond the field) stop it otherwise.
TEST_F(MinesTest, TurnsBackAtWallsAndEdges) {
    struct Case {
        const char* what;
        int column, row, code; // the mine's cell and code
        int wallColumn, wallRow;
        int frames;
        double turnX, turnY; // where it stands when it turns
        int modeAfter;
    };
    const Case cases[] = {
        {"right to a wall in column 5", 2, 3, 3, 5, 3, 76, 135, 90, 4}, // 135/30 = 4.5 rounds to 4
        {"left to a wall in column 0", 2, 3, 5, 0, 3, 45, 16, 90, 2},   // 15/30 = 0.5 rounds to 0
        {"down to a wall in row 4", 3, 1, 4, 3, 4, 75, 90, 104, 1},     // 105/30 = 3.5 rounds to 4
        {"up to a wall in row 0", 3, 2, 2, 3, 0, 45, 90, 16, 3},
        {"right past the field", 19, 3, 3, -1, -1, 71, 640, 90, 4},
        {"down to the bottom edge", 3, 12, 4, -1, -1, 61, 90, 420, 1},
        {"up to the top edge", 3, 1, 2, -1, -1, 31, 90, 0, 3},
    };
    StartPlay(LevelFile());
    for (const Case& c : cases) {
        LevelFile level;
        level.Set(c.column, c.row, static_cast<uint8_t>(c.code));
        if (c.wallColumn >= 0) {
            level.Set(c.wallColumn, c.wallRow, 1);
        }
        folder.Write("t.vrk", level.Bytes());
        LoadLevel(W(), "t.vrk");
        RunFrames(c.frames - 1);
        EXPECT_NE(W().MineMode[1], c.modeAfter) << c.what << ": turned too early";
        RunFrames(1);
        EXPECT_EQ(W().MineMode[1], c.modeAfter) << c.what;
        EXPECT_EQ(W().Mines[1]->X, c.turnX) << c.what;
        EXPECT_EQ(W().Mines[1]->Y, c.turnY) << c.what;
    }
}

TEST_F(MinesTest, AMineBetweenTwoWallsOscillatesForever) {
    StartPlay(LevelFile().Set(2, 3, 1).Set(6, 3, 1).Set(4, 3, 3));
    double lowest = 1e9, highest = -1e9;
    for (int frame = 0; frame < 400; ++frame) {
        RunFrames(1);
        const double x = W().Mines[1]->X;
        if (frame >= 100) {
            lowest = std::min(lowest, x);
            highest = std::max(highest, x);
        }
    }
    // 76/30 rounds to column 3 (floor), 75/30 = 2.5 to column 2 (the wall); 165/30 = 5.5 rounds to 6.
    EXPECT_EQ(lowest, 76);
    EXPECT_EQ(highest, 164);
}

TEST_F(MinesTest, AllActiveMinesShowTheSamePictureAndKeepItAtTick44) {
    StartPlay(LevelFile().Set(2, 2, 2).Set(10, 2, 3).Set(18, 2, 4));
    W().MineMode[3] = 0; // an inactive mine keeps its picture
    W().Mines[3]->Image = &W().FXPicture(11);
    W().AnimTick = 0;
    for (int tick = 1; tick <= 88; ++tick) {
        TPictureCollectionItem* before = W().Mines[1]->Image;
        RunFrames(1);
        ASSERT_EQ(W().AnimTick, (tick - 1) % 44 + 1);
        EXPECT_EQ(W().Mines[2]->Image, W().Mines[1]->Image) << tick;
        if (W().AnimTick == 44) {
            EXPECT_EQ(W().Mines[1]->Image, before);
        }
    }
    EXPECT_EQ(W().Mines[3]->Image, &W().FXPicture(11));
}

class MineHitTest : public PlayFixture {
protected:
    // Mines 1 and 2 lie on the ship at (300, 210) and move up by a pixel a frame.
    void SetUp() override {
        StartWith(LevelFile().Set(10, 7, 2).Set(10, 8, 2));
        QuietPlay(300, 210);
        W().Mines[2]->Y = 215;
    }
};

TEST_F(MineHitTest, OnlyTheLowestNumberedMineHitsInAFrame) {
    W().Heading = 2;
    W().Energy = 250;
    RunFrames(1);
    EXPECT_EQ(W().Energy, 50); // 250 - 200, once
    EXPECT_EQ(W().MineMode[1], 2);
    EXPECT_EQ(W().MineMode[2], 1);
    EXPECT_EQ(W().Fade, 50.0);
    EXPECT_EQ(W().ShipSprite->Alpha, 255); // this frame's fade ran before the hit
}

TEST_F(MineHitTest, AShortfallIsTakenThreefoldFromTheScore) {
    W().Heading = 1; // the ship moves up with the mines
    W().Energy = 150;
    W().Score = 1000;
    RunFrames(1);
    // 150 energy: score loses 3 x 50; the frame then ends with no energy and trades 3 score for 1.
    EXPECT_EQ(W().Score, 1000 - 150 - 3);
    EXPECT_EQ(W().Energy, 1);
    // With no score to spare the hit ends the game in the same frame.
    W().Energy = 150;
    W().Score = 0;
    W().Fade = 0.0;
    W().Mines[1]->X = W().ShipSprite->X;
    W().Mines[1]->Y = W().ShipSprite->Y;
    RunFrames(1);
    EXPECT_EQ(W().Score, -150);
    EXPECT_EQ(W().Energy, 0);
    EXPECT_EQ(W().GameState, 0);
}

TEST_F(MineHitTest, TheShipIsSafeFor150FramesAfterAHit) {
    W().Energy = 100000;
    W().MineMode[2] = 0;
    W().Mines[2]->X = -2000;
    std::string hits;
    for (int frame = 1; frame <= 305; ++frame) {
        // Keep mine 1 on the ship and moving.
        W().Mines[1]->X = 300;
        W().Mines[1]->Y = 211;
        W().MineMode[1] = 1;
        const int before = W().Energy;
        RunFrames(1);
        if (W().Energy != before) {
            hits += std::to_string(frame) + " ";
        }
    }
    EXPECT_EQ(hits, "1 152 303 ");
}

TEST_F(MineHitTest, AHitBeforeAnySteeringStopsTheMineForGood) {
    W().Energy = 100000;
    RunFrames(1);
    ASSERT_EQ(W().Energy, 99800);
    EXPECT_EQ(W().MineMode[1], 0);
    const double x = W().Mines[1]->X, y = W().Mines[1]->Y;
    for (int frame = 0; frame < 10; ++frame) {
        W().Fade = 0.0;
        W().MineMode[2] = 0;
        RunFrames(1);
    }
    EXPECT_EQ(W().Energy, 99800);
    EXPECT_EQ(W().Mines[1]->X, x);
    EXPECT_EQ(W().Mines[1]->Y, y);
}

} // namespace
