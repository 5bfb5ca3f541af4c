#include "sprite/BackgroundSprite.h"
#include "sprite/SpriteEngine.h"
#include "tests/sprite/SpriteFixture.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using colours::Position;

class BackgroundSpriteTest : public SpriteFixture {
protected:
    BackgroundSpriteTest() { Show(); }

    uint32_t At(int x, int y) { return Back().Pixel(x, y); }

    // Two 30 by 30 patterns: 0 red, 1 green.
    TPictureCollectionItem& Tiles() {
        return AddPicture(
            60, 30, [](int x, int) { return x < 30 ? colours::Red : colours::Green; }, 30, 30);
    }

    TBackgroundSprite& Map(TPictureCollectionItem* image, int32_t columns, int32_t rows) {
        TBackgroundSprite& map = Engine().Add<TBackgroundSprite>();
        map.Image = image;
        map.Resize(columns, rows);
        return map;
    }

    bool ScreenIsBlack() {
        for (uint32_t pixel : Screen()) {
            if (pixel != 0) {
                return false;
            }
        }
        return true;
    }
};

TEST_F(BackgroundSpriteTest, Resize_ResetsEveryCellUnlessTheSizeIsTheSame) {
    TBackgroundSprite& map = Map(nullptr, 21, 15);
    EXPECT_EQ(map.Columns(), 21);
    EXPECT_EQ(map.Rows(), 15);
    for (int r = 0; r < 15; ++r) {
        for (int c = 0; c < 21; ++c) {
            ASSERT_EQ(map.Cells(c, r), 0);
            ASSERT_TRUE(map.Solid(c, r));
        }
    }
    map.SetCells(3, 4, 1);
    map.SetCells(20, 14, 9);
    map.Resize(21, 15);
    EXPECT_EQ(map.Cells(3, 4), 1);
    EXPECT_EQ(map.Cells(20, 14), 9);
    map.Resize(21, 16);
    EXPECT_EQ(map.Cells(3, 4), 0);
    EXPECT_EQ(map.Cells(20, 14), 0);
    EXPECT_EQ(map.Cells(20, 15), 0);
}

TEST_F(BackgroundSpriteTest, Cells_OutsideReadMinusOneAndIgnoreWrites) {
    TBackgroundSprite& map = Map(nullptr, 21, 15);
    for (auto [c, r] : {std::pair{21, 0}, {0, 15}, {-1, 0}, {0, -1}}) {
        map.SetCells(c, r, 5);
        EXPECT_EQ(map.Cells(c, r), -1) << c << ", " << r;
        EXPECT_FALSE(map.Solid(c, r)) << c << ", " << r;
    }
    EXPECT_EQ(map.Cells(20, 0), 0);
    EXPECT_EQ(map.Cells(0, 14), 0);
}

TEST_F(BackgroundSpriteTest, Resize_NonPositiveDimensionEmptiesTheMap) {
    TBackgroundSprite& map = Map(&Tiles(), 21, 15);
    map.Resize(0, 5);
    EXPECT_EQ(map.Columns(), 0);
    EXPECT_EQ(map.Rows(), 0);
    EXPECT_EQ(map.Cells(0, 0), -1);
    EXPECT_EQ(map.GetBounds(), (TRect{0, 0, 0, 0}));
    Engine().Draw();
    EXPECT_TRUE(ScreenIsBlack());
    map.Resize(-3, 2);
    EXPECT_EQ(map.Columns(), 0);
}

TEST_F(BackgroundSpriteTest, Render_PlayFieldCellsAtThirtyPixelSteps) {
    TBackgroundSprite& map = Map(&Tiles(), 21, 15);
    map.SetCells(0, 0, 1);
    map.SetCells(20, 14, 1);
    map.SetCells(5, 7, -1); // empty
    map.SetCells(6, 7, 7);  // no such pattern
    EXPECT_EQ(map.GetBounds(), (TRect{0, 0, 630, 450}));
    Engine().Draw();
    const uint32_t red = Raw(colours::Red), green = Raw(colours::Green);
    EXPECT_EQ(At(0, 0), green);
    EXPECT_EQ(At(29, 29), green);
    EXPECT_EQ(At(30, 0), red);
    EXPECT_EQ(At(600, 420), green);
    EXPECT_EQ(At(629, 449), green);
    EXPECT_EQ(At(599, 449), red);
    EXPECT_EQ(At(630, 0), 0u);
    EXPECT_EQ(At(0, 450), 0u);
    EXPECT_EQ(At(150, 210), 0u);
    EXPECT_EQ(At(209, 239), 0u);
    EXPECT_EQ(At(210, 210), red);
}

class BackdropTest : public BackgroundSpriteTest {
protected:
    // Four 630 by 450 patterns of different colours; column c of the map shows pattern c mod 4.
    BackdropTest() {
        picture = &AddPicture(
            4 * 630, 450, [](int x, int) { return kColours[static_cast<std::size_t>(x / 630)]; }, 630, 450);
        backdrop = &Map(picture, 500, 1);
        for (int c = 0; c < 500; ++c) {
            backdrop->SetCells(c, 0, c % 4);
        }
    }

    static constexpr std::array<platform::Rgb, 4> kColours{colours::Red, colours::Green, colours::Blue, colours::White};
    uint32_t Colour(int column) { return Raw(kColours[static_cast<std::size_t>(column % 4)]); }

    TPictureCollectionItem* picture = nullptr;
    TBackgroundSprite* backdrop = nullptr;
};

TEST_F(BackdropTest, ScrolledLeftDrawsOnlyTheColumnsThatReachTheSurface) {
    backdrop->X = -1000;
    Engine().Draw();
    // Column 1 at x = -370 shows its last 260 pixels, column 2 starts at 260, column 3 at 890 is beyond.
    EXPECT_EQ(At(0, 0), Colour(1));
    EXPECT_EQ(At(259, 449), Colour(1));
    EXPECT_EQ(At(260, 0), Colour(2));
    EXPECT_EQ(At(639, 449), Colour(2));
    EXPECT_EQ(At(0, 450), 0u);
}

TEST_F(BackdropTest, PastItsLastColumnNothingIsDrawn) {
    backdrop->X = -500.0 * 630;
    Engine().Draw();
    EXPECT_TRUE(ScreenIsBlack());
    backdrop->X = -500.0 * 630 - 1234;
    Engine().Draw();
    EXPECT_TRUE(ScreenIsBlack());

    // One pixel further right the last column shows a single pixel column at x = 0.
    backdrop->X = -500.0 * 630 + 1;
    Engine().Draw();
    EXPECT_EQ(At(0, 0), Colour(499));
    EXPECT_EQ(At(0, 449), Colour(499));
    EXPECT_EQ(At(1, 0), 0u);
}

TEST_F(BackgroundSpriteTest, Wrap_RepeatsTheMapAcrossTheWholeSurface) {
    TBackgroundSprite& map = Map(&Tiles(), 2, 1);
    map.SetCells(1, 0, 1);
    map.Wrap = true;
    map.X = 15;
    EXPECT_EQ(map.GetBounds(), (TRect{0, 0, 640, 480}));
    Engine().Draw();
    // Cell k of the screen starts at x = 15 + 30k and shows map column k mod 2 (k = -1: column 1).
    auto expected = [&](int x) {
        const int k = x < 15 ? -1 : (x - 15) / 30;
        return (k + 2) % 2 == 0 ? Raw(colours::Red) : Raw(colours::Green);
    };
    for (int y : {0, 29, 30, 479}) {
        for (int x : {0, 14, 15, 44, 45, 74, 75, 614, 615, 639}) {
            EXPECT_EQ(At(x, y), expected(x)) << x << ", " << y;
        }
    }
    EXPECT_EQ(At(0, 0), Raw(colours::Green));
    EXPECT_EQ(At(15, 0), Raw(colours::Red));
    EXPECT_EQ(At(45, 0), Raw(colours::Green));
}

TEST_F(BackgroundSpriteTest, Bounds_OfTheMapTheSurfaceOrNothing) {
    TBackgroundSprite& map = Map(nullptr, 21, 15);
    map.X = -10.5;
    map.Y = 3.9;
    EXPECT_EQ(map.GetBounds(), (TRect{0, 0, 0, 0}));
    map.Image = &Tiles();
    EXPECT_EQ(map.GetBounds(), (TRect{-10, 3, 620, 453}));
    map.Wrap = true;
    EXPECT_EQ(map.GetBounds(), (TRect{0, 0, 640, 480}));
}

TEST_F(BackgroundSpriteTest, HitTest_SolidCellsUnderTheOtherRectangle) {
    TBackgroundSprite& map = Map(nullptr, 21, 15);
    TSprite& other = Engine().Add<TSprite>();
    other.Width = 30;
    other.Height = 30;
    other.X = 5000;
    // Without a picture every test hits.
    EXPECT_TRUE(map.HitTest(other));

    map.Image = &Tiles();
    map.X = 100;
    other.X = 110;
    other.Y = 20;
    EXPECT_TRUE(map.HitTest(other));
    // Beside the map, even close to it, nothing is hit.
    other.X = 0;
    EXPECT_FALSE(map.HitTest(other));
    other.X = 70;
    EXPECT_FALSE(map.HitTest(other));
    other.X = 71;
    EXPECT_TRUE(map.HitTest(other));
    other.X = 100 + 630;
    EXPECT_FALSE(map.HitTest(other));
    other.X = 100 + 629;
    EXPECT_TRUE(map.HitTest(other));

    // A wrapping map covers the surface.
    map.Wrap = true;
    other.X = 0;
    EXPECT_TRUE(map.HitTest(other));
    other.X = 640;
    EXPECT_FALSE(map.HitTest(other));
}

TEST_F(BackgroundSpriteTest, UnbuiltPictureDrawsNothingAndHitsNothing) {
    // The item's patterns are gone: pattern 0 has no size.
    TPictureCollectionItem& tiles = Tiles();
    tiles.Release();
    ASSERT_EQ(tiles.PatternRect(0), (TRect{}));
    TBackgroundSprite& map = Map(&tiles, 21, 15);
    TBackgroundSprite& wrapped = Map(&tiles, 2, 2);
    wrapped.Wrap = true;
    Engine().Draw();
    EXPECT_TRUE(ScreenIsBlack());
    TSprite& other = Engine().Add<TSprite>();
    other.Width = 30;
    other.Height = 30;
    EXPECT_FALSE(map.HitTest(other));
    EXPECT_FALSE(wrapped.HitTest(other));
}

} // namespace
