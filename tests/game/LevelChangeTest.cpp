#include "PlayFixture.h"

#include <string>

namespace {

class LevelChangeTest : public PlayFixture {
protected:
    // Play on level 1 with 100 orbs eaten; the next frame touches an orb and starts the change.
    void FinishLevel(int energy) {
        QuietPlay(300, 210);
        W().OrbsEaten = 100;
        W().Energy = energy;
        W().Orbs[1]->X = 300;
        W().Orbs[1]->Y = 210;
        RunFrames(1);
        ASSERT_EQ(W().GameState, 2);
    }
    // Puts the game into the frame of a change that loads level `level`.
    void JustBeforeLoading(int level) {
        W().GameState = 2;
        W().LevelPhase = 0;
        W().Level = static_cast<uint8_t>(level - 1);
        W().FieldMap->Y = -480;
        W().BackdropSprite->Y = -480;
    }
};

TEST_F(LevelChangeTest, TakesNineHundredAndSixtyOneFramesAndStartsTheNewLevelAfresh) {
    StartWith(LevelFile().Set(15, 3, 2));
    folder.Write("2.vrk", LevelFile().Set(4, 4, 1).Set(8, 9, 6).Set(12, 2, 3).Bytes());
    FinishLevel(320);
    TGame& w = W();
    const double mineX = w.Mines[1]->X, mineY = w.Mines[1]->Y, backdropX = w.BackdropSprite->X;
    w.Heading = 2;
    w.Score = 1000;
    // Neither steering nor Esc has any effect during the change.
    Press({key::Esc, key::Up});

    // The old field leaves, energy above 50 turning into score 5 at a time.
    RunFrames(54);
    EXPECT_EQ(w.Energy, 50);
    EXPECT_EQ(w.Score, 1270);
    EXPECT_EQ(w.ScoreText, "Очки:1270");
    RunFrames(426);
    EXPECT_EQ(w.FieldMap->Y, -480);
    EXPECT_EQ(w.BackdropSprite->Y, -480);
    EXPECT_EQ(w.BackdropSprite->X, backdropX - 5 * 480);
    EXPECT_EQ(w.Level, 1);
    EXPECT_EQ(w.LevelPhase, 0);
    EXPECT_EQ(w.OrbsEaten, 100);
    EXPECT_EQ(w.ShipSprite->X, -2000);
    EXPECT_EQ(w.Orbs[1]->X, -2000);
    EXPECT_EQ(w.Segments[100]->X, -2000);
    // The old mines stand still.
    EXPECT_EQ(w.Mines[1]->X, mineX);
    EXPECT_EQ(w.Mines[1]->Y, mineY);

    // Frame 481 loads level 2 and already moves the new field one step.
    RunFrames(1);
    EXPECT_EQ(w.Level, 2);
    EXPECT_EQ(w.LevelPhase, 1);
    EXPECT_EQ(w.FieldMap->Y, -479);
    EXPECT_EQ(w.BackdropSprite->X, -5);
    EXPECT_EQ(w.OrbsEaten, 98);
    EXPECT_EQ(w.FieldMap->Cells(4, 4), 1);
    EXPECT_EQ(w.Mines[1]->X, 360);
    EXPECT_EQ(w.MineMode[1], 2);
    EXPECT_EQ(w.ShipSprite->X, 240);
    EXPECT_EQ(w.ShipSprite->Y, 270);
    EXPECT_EQ(w.ShipSprite->Alpha, 0);
    EXPECT_EQ(w.Speed, 1.0);
    EXPECT_EQ(w.Fade, 255.0);

    RunFrames(479);
    EXPECT_EQ(w.FieldMap->Y, 0);
    EXPECT_EQ(w.OrbsEaten, 0);
    EXPECT_EQ(w.GameState, 2);
    // Energy still above 50 when the field has arrived is lost, not scored.
    w.Energy = 500;
    RunFrames(1);
    EXPECT_EQ(w.GameState, 1);
    EXPECT_EQ(w.Energy, 50);
    EXPECT_EQ(w.Score, 1270);
    EXPECT_EQ(w.BackdropSprite->X, -2400);
    EXPECT_EQ(w.Heading, 2);
    for (int k = 1; k <= 500; ++k) {
        ASSERT_EQ(w.Path[k].x, -2000) << k;
    }
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(w.FieldMap->Cells(static_cast<int>(w.Orbs[i]->X) / 30, static_cast<int>(w.Orbs[i]->Y) / 30), 0);
    }
    EXPECT_EQ(w.Orbs[6]->X, -2000);
    EXPECT_TRUE(platform.Errors.empty());
}

TEST_F(LevelChangeTest, EnergyJustAboveFiftyIsCashedOnceAndRaisedBackToFifty) {
    StartWith(LevelFile());
    FinishLevel(52);
    W().Score = 0;
    RunFrames(1);
    EXPECT_EQ(W().Energy, 50);
    EXPECT_EQ(W().Score, 5);
    RunFrames(1);
    EXPECT_EQ(W().Score, 5);
}

TEST_F(LevelChangeTest, EachLevelHasTheTileSetOfItsGroupOfFive) {
    struct Case {
        int level;
        int before, after;
    };
    const Case cases[] = {{2, 3, 0},  {4, 3, 0},  {5, 0, 1},  {9, 0, 1},  {10, 1, 2}, {14, 1, 2},
                          {15, 2, 3}, {19, 2, 3}, {20, 3, 4}, {24, 3, 4}, {25, 2, 2}};
    StartWith(LevelFile());
    QuietPlay(300, 210);
    for (const Case& c : cases) {
        JustBeforeLoading(c.level);
        W().FieldMap->Image = &W().WorldPicture(c.before);
        RunFrames(1);
        EXPECT_EQ(W().Level, c.level);
        EXPECT_EQ(W().FieldMap->Image, &W().WorldPicture(c.after)) << "level " << c.level;
    }
}

TEST_F(LevelChangeTest, AfterLevel24ComesTheEndScreenAndANewGameGetsTheFieldBack) {
    StartWith(LevelFile());
    folder.Write("25.vrk", LevelFile().Set(6, 6, 4).Bytes());
    QuietPlay(300, 210);
    JustBeforeLoading(25);
    RunFrames(1);
    EXPECT_EQ(W().Level, 25);
    EXPECT_EQ(W().MineMode[1], 3); // 25.vrk was read
    EXPECT_EQ(W().GameState, 5);
    RunFrames(3);
    EXPECT_EQ(W().GameState, 5);
    EXPECT_EQ(W().FieldMap->Y, -479);
    EXPECT_EQ(W().BackdropSprite->Y, -479);
    EXPECT_EQ(W().LevelPhase, 1);
    // A game started afterwards plays on the field put back in place.
    platform.PressKey(key::Esc);
    RunFrames(1);
    platform.ReleaseKey(key::Esc);
    ASSERT_EQ(W().GameState, 0);
    RunFrames(100);
    StartGame();
    RunFrames(5);
    EXPECT_EQ(W().FieldMap->Y, 0);
    EXPECT_EQ(W().BackdropSprite->Y, 0);
    EXPECT_EQ(W().Level, 1);
}

TEST_F(LevelChangeTest, ADamagedLastLevelFileIsReportedAndTheEndScreenStillComes) {
    StartWith(LevelFile());
    folder.Write("25.vrk", std::string(100, '\0'));
    QuietPlay(300, 210);
    JustBeforeLoading(25);
    const std::size_t errors = platform.Errors.size();
    RunFrames(1);
    ASSERT_EQ(platform.Errors.size(), errors + 1);
    EXPECT_EQ(platform.Errors.back(), "Vorkalith: 25.vrk: Read beyond end of file");
    EXPECT_EQ(W().Level, 25);
    EXPECT_EQ(W().GameState, 5);
    EXPECT_EQ(W().Speed, 1.0);
}

TEST_F(LevelChangeTest, AMissingNextLevelKeepsTheOldMapAndLeavesTheShipParked) {
    StartWith(LevelFile().Set(4, 4, 1).Set(10, 3, 3));
    FinishLevel(100);
    const double mineX = W().Mines[1]->X;
    RunFrames(961);
    EXPECT_EQ(W().GameState, 1);
    EXPECT_EQ(W().Level, 2);
    EXPECT_EQ(W().FieldMap->Cells(4, 4), 1);
    EXPECT_EQ(W().Mines[1]->X, mineX);
    EXPECT_EQ(W().ShipSprite->X, -2000);
    EXPECT_EQ(W().ShipSprite->Y, 210);
    // Heading left it is blocked at once; heading right it comes back towards the field.
    W().Heading = 4;
    RunFrames(1);
    EXPECT_EQ(W().ShipSprite->X, -2000);
    EXPECT_EQ(W().Energy, 49);
    W().Heading = 2;
    RunFrames(1);
    EXPECT_EQ(W().ShipSprite->X, -1999);
}

} // namespace
