#include "EditorFixture.h"

#include "app/edit/LevelMarks.h"
#include "display/DXDraw.h"
#include "display/DirectDrawSurface.h"
#include "game/MainForm.h"
#include "level/MinePatrol.h"

using namespace levels;

namespace {

Level WithShip(int column, int row) {
    Level level;
    level.Set(column, row, Ship);
    return level;
}

TEST(LevelMarks, ASoundLevelHasNoMarksButEveryMineHasItsWay) {
    Level level = WithShip(10, 7);
    level.Set(2, 14, MineUp);
    level.Set(2, 3, Wall);
    const LevelMarks marks(level);
    EXPECT_TRUE(marks.Sound());
    ASSERT_EQ(marks.Tracks().size(), 1u);
    // Up from the bottom row to the wall, and back.
    EXPECT_EQ(marks.Tracks()[0].Start, Cell(2, 14));
    EXPECT_EQ(marks.Tracks()[0].Direction, Up);
    EXPECT_EQ(marks.Tracks()[0].FromX, 60);
    EXPECT_EQ(marks.Tracks()[0].ToX, 60);
    EXPECT_EQ(marks.Tracks()[0].FromY, 105); // turns where cell 3 rounds in: 3.5 cells down
    EXPECT_EQ(marks.Tracks()[0].ToY, 420);
}

TEST(LevelMarks, FloorWalledOffFromTheShipIsMarkedCellByCell) {
    Level level = WithShip(0, 0);
    for (int c = 15; c <= 19; ++c) {
        level.Set(c, 4, Wall);
        level.Set(c, 7, Wall);
    }
    for (int r = 5; r <= 6; ++r) {
        level.Set(15, r, Wall);
        level.Set(19, r, Wall);
    }
    const LevelMarks marks(level);
    int marked = 0;
    for (int c = 0; c < kFieldColumns; ++c) {
        for (int r = 0; r < kFieldRows; ++r) {
            marked += marks.Unreachable(c, r) ? 1 : 0;
        }
    }
    EXPECT_EQ(marked, 6);
    EXPECT_TRUE(marks.Unreachable(17, 5));
    ASSERT_NE(marks.ProblemAt(16, 6), nullptr);
    EXPECT_EQ(marks.ProblemAt(16, 6)->Broken, Rule::Reachable);
    EXPECT_EQ(marks.ProblemAt(15, 5), nullptr);
}

TEST(LevelMarks, MinesAtFaultCarryTheirWayUpToTheFrameOfTheFault) {
    Level level = WithShip(1, 1);
    level.Set(2, 8, MineUp);     // reaches the block round the ship in frame 151
    level.Set(1, 12, MineRight); // no wall at the end of its row: it runs off the right
    const LevelMarks marks(level);
    ASSERT_EQ(marks.MineFaults().size(), 2u);
    const MineFault& near = marks.MineFaults()[0];
    EXPECT_EQ(near.Broken, Rule::ClearStart);
    EXPECT_EQ(near.Track.Start, Cell(2, 8));
    EXPECT_EQ(near.Track.ToY, 240);
    EXPECT_EQ(near.Track.FromY, 240 - near.Frame);
    const MineFault& off = marks.MineFaults()[1];
    EXPECT_EQ(off.Broken, Rule::MinesStayInside);
    EXPECT_EQ(off.Track.FromX, 30);
    EXPECT_EQ(off.Track.ToX, 30 + off.Frame);
    EXPECT_GT(off.Track.ToX, 600);
    EXPECT_EQ(marks.ProblemAt(2, 8)->Broken, Rule::ClearStart);
}

TEST(LevelMarks, ShipCountAndMineLimitMarkTheirCells) {
    Level none;
    const LevelMarks noShip(none);
    ASSERT_NE(noShip.LevelProblem(), nullptr);
    EXPECT_EQ(noShip.LevelProblem()->Broken, Rule::OneShip);
    EXPECT_EQ(noShip.LevelProblem()->Count, 0);

    Level two = WithShip(3, 3);
    two.Set(9, 9, Ship);
    const LevelMarks ships(two);
    EXPECT_EQ(ships.ProblemAt(3, 3)->Broken, Rule::OneShip);
    EXPECT_EQ(ships.ProblemAt(9, 9)->Broken, Rule::OneShip);

    Level many = WithShip(20, 14);
    for (int c = 0; c < 20; ++c) {
        for (int r = 0; r < 6; ++r) {
            many.Set(c, r, MineDown); // 120 mines, column by column
        }
    }
    const LevelMarks limit(many);
    ASSERT_EQ(limit.ExtraMines().size(), 20u);
    EXPECT_EQ(limit.ExtraMines().front(), Cell(16, 4)); // the 101st: 16 columns of 6, then 5th of column 16
    EXPECT_EQ(limit.ProblemAt(19, 5)->Broken, Rule::MineLimit);
    EXPECT_EQ(limit.ProblemAt(0, 0), nullptr);
    EXPECT_EQ(limit.Tracks().size(), 100u);
}

using EditorMarksTest = EditorFixture;

// The marks are drawn on the field, and the reason of the marked cell under the pointer is given.
TEST_F(EditorMarksTest, AnUnreachableCellIsStripedAndItsReasonShownUnderThePointer) {
    Level level = WithShip(0, 0);
    for (int c = 9; c <= 11; ++c) {
        level.Set(c, 9, Wall);
        level.Set(c, 11, Wall);
    }
    level.Set(9, 10, Wall);
    level.Set(11, 10, Wall);
    OpenCells(level);
    Mouse(platform::Event::Type::MouseMove, 10 * 30 + 3, 10 * 30 + 3);
    EXPECT_EQ(E().Reason(), std::make_pair(std::string("Корабль сюда не доберётся: клетку отрезали стены"), true));
    Mouse(platform::Event::Type::MouseMove, 5 * 30 + 3, 5 * 30 + 3);
    EXPECT_TRUE(E().Reason().first.starts_with("Нарушений: 1 —")) << E().Reason().first;

    TDirectDrawSurface& back = *session->Form().DXDraw->BackBuffer();
    const uint32_t stripe = back.ISurface()->Format().FromRgb({255, 40, 40});
    // (300, 300): x + y a multiple of four, on a stripe of the pocket's cell; the same place of a
    // reachable cell carries none.
    EXPECT_EQ(back.Pixel(300, 300), stripe);
    EXPECT_NE(back.Pixel(240, 240), stripe);
}

} // namespace
