#include "level/MinePatrol.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace levels;

namespace {

// Steps until the mine's mode changes; returns the position at which it turned.
Mine RunUntilTurn(MinePatrol& patrol, size_t index, int limit = 2000) {
    int mode = patrol.Mines()[index].Mode;
    for (int i = 0; i < limit && patrol.Mines()[index].Mode == mode; ++i) {
        patrol.Step();
    }
    return patrol.Mines()[index];
}

} // namespace

TEST(MinePatrol, RoundCell_HalvesGoToTheEvenCell) {
    EXPECT_EQ(RoundCell(15), 0); // 0.5
    EXPECT_EQ(RoundCell(16), 1);
    EXPECT_EQ(RoundCell(45), 2);  // 1.5
    EXPECT_EQ(RoundCell(135), 4); // 4.5
    EXPECT_EQ(RoundCell(136), 5);
    EXPECT_EQ(RoundCell(-15), 0);
    EXPECT_EQ(RoundCell(-16), -1);
}

TEST(MinePatrol, TakesMinesColumnByColumnWithTheirModes) {
    Level level;
    level.Set(3, 1, MineLeft);
    level.Set(1, 9, MineUp);
    level.Set(1, 2, MineRight);
    MinePatrol patrol(level);
    ASSERT_EQ(patrol.Mines().size(), 3u);
    EXPECT_EQ(patrol.Mines()[0].Y, 60);
    EXPECT_EQ(patrol.Mines()[0].Mode, Right);
    EXPECT_EQ(patrol.Mines()[1].Y, 270);
    EXPECT_EQ(patrol.Mines()[1].Mode, Up);
    EXPECT_EQ(patrol.Mines()[2].X, 90);
    EXPECT_EQ(patrol.Mines()[2].Mode, Left);
}

TEST(MinePatrol, TurnsBackHalfACellBeforeAWall) {
    Level level;
    level.Set(2, 4, MineRight);
    level.Set(5, 4, Wall);
    level.Set(3, 8, MineLeft);
    level.Set(0, 8, Wall);
    MinePatrol patrol(level);
    Mine right = RunUntilTurn(patrol, 0);
    EXPECT_EQ(right.X, 135);
    EXPECT_EQ(right.Mode, Left);
    MinePatrol again(level);
    Mine left = RunUntilTurn(again, 1);
    EXPECT_EQ(left.X, 16);
    EXPECT_EQ(left.Mode, Right);
}

TEST(MinePatrol, OscillatesBetweenTwoWalls) {
    Level level;
    level.Set(6, 0, Wall);
    level.Set(6, 1, MineDown);
    level.Set(6, 3, Wall);
    MinePatrol patrol(level);
    int lowest = 1000;
    int highest = -1000;
    for (int i = 0; i < 500; ++i) {
        patrol.Step();
        lowest = std::min(lowest, patrol.Mines()[0].Y);
        highest = std::max(highest, patrol.Mines()[0].Y);
    }
    EXPECT_EQ(lowest, 16);
    EXPECT_EQ(highest, 75);
    EXPECT_EQ(patrol.Mines()[0].X, 180);
}

TEST(MinePatrol, RunsPastTheFieldWhenItsRowHasNoWall) {
    Level level;
    level.Set(18, 5, MineRight);
    MinePatrol patrol(level);
    Mine m = RunUntilTurn(patrol, 0);
    EXPECT_EQ(m.X, 640);
    // Down and up stop at the field's edges.
    Level column;
    column.Set(4, 12, MineDown);
    MinePatrol down(column);
    EXPECT_EQ(RunUntilTurn(down, 0).Y, 420);
    EXPECT_EQ(RunUntilTurn(down, 0).Y, 0);
}
