#include "EditorFixture.h"

#include "display/DXImageList.h"
#include "game/MainForm.h"
#include "sprite/BackgroundSprite.h"

using namespace levels;

namespace {

class EditorPaintTest : public EditorFixture {
protected:
    void SetUp() override { OpenCells(LevelDocument::NewCells()); }
    int Count(uint8_t code) {
        int n = 0;
        for (int c = 0; c < kFieldColumns; ++c) {
            for (int r = 0; r < kFieldRows; ++r) {
                n += At(c, r) == code ? 1 : 0;
            }
        }
        return n;
    }
};

TEST_F(EditorPaintTest, LeftButtonPaintsTheKindRightButtonClearsToFloor) {
    Click({3, 4});
    EXPECT_EQ(At(3, 4), Wall);
    Click({3, 4}, 3);
    EXPECT_EQ(At(3, 4), Floor);
    EXPECT_FALSE(E().Document().Modified());
}

TEST_F(EditorPaintTest, AFastDragPaintsAWallWithoutGapsAsOneStep) {
    Drag({2, 2}, {9, 5});
    for (const Cell& cell : LineCells({2, 2}, {9, 5})) {
        EXPECT_EQ(At(cell.first, cell.second), Wall) << cell.first << "," << cell.second;
    }
    EXPECT_EQ(Count(Wall), 8);
    Press(key::Z, {key::ControlLeft});
    EXPECT_EQ(Count(Wall), 0);
    Press(key::Y, {key::ControlLeft});
    EXPECT_EQ(Count(Wall), 8);
}

TEST_F(EditorPaintTest, ShiftDragDrawsAFrameControlShiftAFilledBoxControlAStraightLine) {
    Drag({1, 1}, {4, 3}, 1, {key::ShiftLeft});
    EXPECT_EQ(Count(Wall), 10);
    EXPECT_EQ(At(2, 2), Floor);
    Drag({12, 9}, {14, 11}, 1, {key::ControlLeft, key::ShiftLeft});
    EXPECT_EQ(Count(Wall), 19);
    EXPECT_EQ(At(13, 10), Wall);

    // Only the line to where the button comes up stays; where the pointer went before does not.
    using Type = platform::Event::Type;
    platform.PressKey(key::ControlLeft);
    Mouse(Type::MouseMove, 15, 315);
    Mouse(Type::MouseDown, 15, 315);
    Mouse(Type::MouseMove, 165, 435);
    Mouse(Type::MouseMove, 165, 315);
    Mouse(Type::MouseUp, 165, 315);
    platform.ReleaseKey(key::ControlLeft);
    for (int c = 0; c <= 5; ++c) {
        EXPECT_EQ(At(c, 10), Wall) << c;
    }
    EXPECT_EQ(At(5, 14), Floor);
    EXPECT_EQ(Count(Wall), 25);
    Press(key::Z, {key::ControlLeft});
    EXPECT_EQ(Count(Wall), 19);
}

TEST_F(EditorPaintTest, UndoAndRedoWalkTheStepsAndANewStepDropsWhatWasUndone) {
    Click({1, 1});
    Drag({3, 3}, {3, 6});
    Click({10, 7}, 3); // the ship goes
    const Level three = Cells();
    for (int i = 0; i < 3; ++i) {
        Press(key::Z, {key::ControlLeft});
    }
    EXPECT_EQ(Cells(), LevelDocument::NewCells());
    Press(key::Z, {key::ControlLeft});
    EXPECT_EQ(Cells(), LevelDocument::NewCells());
    Press(key::Y, {key::ControlLeft});
    Press(key::Z, {key::ControlLeft, key::ShiftLeft}); // redo too
    EXPECT_EQ(At(3, 5), Wall);
    EXPECT_EQ(At(10, 7), Ship);
    Press(key::Y, {key::ControlLeft});
    EXPECT_EQ(Cells(), three);

    Press(key::Z, {key::ControlLeft});
    Click({20, 14});
    Press(key::Y, {key::ControlLeft});
    EXPECT_EQ(At(10, 7), Ship);
    EXPECT_EQ(At(20, 14), Wall);
}

TEST_F(EditorPaintTest, TheKeyboardAloneChoosesMovesPlacesAndClears) {
    Press(key::Digit1 + MineUp);
    EXPECT_EQ(E().SelectedKind(), MineUp);
    Press(key::Left);
    Press(key::Left);
    EXPECT_EQ(E().CursorCell(), Cell(8, 7));
    // Space held paints every cell the cursor moves onto: one step.
    platform.PressKey(key::Space);
    Frames(1);
    Press(key::Down);
    Press(key::Down);
    platform.ReleaseKey(key::Space);
    Frames(1);
    EXPECT_EQ(At(8, 7), MineUp);
    EXPECT_EQ(At(8, 9), MineUp);
    Press(key::Delete);
    EXPECT_EQ(At(8, 9), Floor);
    Press(key::Z, {key::ControlLeft});
    EXPECT_EQ(At(8, 9), MineUp);
    Press(key::Z, {key::ControlLeft});
    EXPECT_EQ(Count(MineUp), 0);
    // The cursor stays on the field.
    for (int i = 0; i < 12; ++i) {
        Press(key::Up);
    }
    EXPECT_EQ(E().CursorCell(), Cell(8, 0));
}

TEST_F(EditorPaintTest, PlacingTheShipMovesIt) {
    Press(key::Digit1 + Ship);
    Drag({2, 2}, {4, 2});
    EXPECT_EQ(Count(Ship), 1);
    EXPECT_EQ(At(4, 2), Ship);
    EXPECT_EQ(At(10, 7), Floor);
}

TEST_F(EditorPaintTest, ThePaletteChoosesTheKindAndTheLevelNumberTheTileSet) {
    Mouse(platform::Event::Type::MouseDown, 5 * 30 + 10, 465);
    Mouse(platform::Event::Type::MouseUp, 5 * 30 + 10, 465);
    EXPECT_EQ(E().SelectedKind(), MineLeft);
    TGame& world = session->Form().World;
    EXPECT_EQ(world.FieldMap->Image, &world.WorldPicture(0));
    for (int i = 0; i < 6; ++i) {
        Press(key::Tab);
    }
    EXPECT_EQ(E().Document().Number(), 7);
    EXPECT_EQ(world.FieldMap->Image, &world.WorldPicture(1));
    Press(key::Tab, {key::ShiftLeft});
    Press(key::Tab, {key::ShiftLeft});
    EXPECT_EQ(E().Document().Number(), 5);
    EXPECT_FALSE(E().Document().Modified());
}

} // namespace

namespace {

TEST_F(EditorPaintTest, APressAfterAReleaseThatNeverCameStartsANewStroke) {
    using Type = platform::Event::Type;
    Mouse(Type::MouseMove, 45, 45);
    Mouse(Type::MouseDown, 45, 45);
    Mouse(Type::MouseMove, 105, 45); // the button comes up outside the window: no event
    Mouse(Type::MouseDown, 45, 255, 3);
    Mouse(Type::MouseMove, 105, 255);
    Mouse(Type::MouseUp, 105, 255, 3);
    Mouse(Type::MouseMove, 300, 400);
    EXPECT_EQ(Count(Wall), 3);
    EXPECT_EQ(At(10, 13), Floor) << "no painting after the release";
    Press(key::Z, {key::ControlLeft});
    Press(key::Z, {key::ControlLeft});
    EXPECT_EQ(Count(Wall), 0);
}

} // namespace
