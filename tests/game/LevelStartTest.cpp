#include "PlayFixture.h"
#include "game/CommandLine.h"

namespace {

using LevelStartTest = PlayFixture;

TEST_F(LevelStartTest, LevelOptionStartsPlayAtThatLevelWithTheMenuSceneGone) {
    folder.Write("1.vrk", LevelFile::AllWallsBut({{0, 0}, {1, 0}}).Bytes());
    LevelFile seven = LevelFile::AllWallsBut({{5, 4}, {6, 4}, {7, 4}, {7, 5}, {7, 6}});
    seven.Set(5, 4, 6).Set(7, 6, 4);
    folder.Write("7.vrk", seven.Bytes());
    Start({"-sf", "--level", "7"});

    EXPECT_EQ(W().GameState, 1);
    EXPECT_EQ(W().Level, 7);
    EXPECT_EQ(W().ShipSprite->X, 150);
    EXPECT_EQ(W().ShipSprite->Y, 120);
    EXPECT_EQ(W().MineMode[1], 3);
    EXPECT_EQ(W().FieldMap->Cells(7, 5), 0);
    EXPECT_EQ(W().FieldMap->Cells(0, 0), 1);
    EXPECT_EQ(W().FieldMap->Image, &W().WorldPicture(1));
    EXPECT_EQ(W().Energy, 100);
    EXPECT_EQ(W().Fade, 255.0);
    for (int i = 1; i <= W().OrbCount; ++i) {
        EXPECT_EQ(W().FieldMap->Cells(static_cast<int>(W().Orbs[i]->X / 30), static_cast<int>(W().Orbs[i]->Y / 30)), 0)
            << "orb " << i << " on a wall";
    }
    RunFrames(30);
    EXPECT_EQ(W().GameState, 1);
    EXPECT_EQ(W().TitleSprite->Y, -480);
    EXPECT_EQ(W().StatusBarSprite->Y, 450);
}

TEST(CommandLineLevel, TakesALevelNumberFromOneToTwentyFour) {
    CommandLine c;
    std::string error;
    EXPECT_TRUE(c.Parse({"--level=24"}, error));
    EXPECT_EQ(c.StartLevel, 24);
    for (const char* bad : {"0", "25", "x", "-1", "007"}) {
        EXPECT_FALSE(c.Parse({"--level", bad}, error)) << bad;
        EXPECT_NE(error.find("from 1 to 24"), std::string::npos) << error;
    }
}

} // namespace
