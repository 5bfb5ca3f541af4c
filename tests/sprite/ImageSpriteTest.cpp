#include "sprite/ImageSprite.h"
#include "sprite/SpriteEngine.h"
#include "tests/sprite/SpriteFixture.h"

#include <gtest/gtest.h>

namespace {

using colours::Position;

class ImageSpriteTest : public SpriteFixture {
protected:
    ImageSpriteTest() { Show(); }

    uint32_t At(int x, int y) { return Back().Pixel(x, y); }
    static uint32_t P(int x, int y) { return Raw(Position(x, y)); }

    TPictureCollectionItem& PositionPicture() { return AddPicture(30, 30, Position); }

    template <class T> T& Sprite(TPictureCollectionItem* image, double x, double y, int32_t w, int32_t h) {
        T& s = Engine().Add<T>();
        s.Image = image;
        s.X = x;
        s.Y = y;
        s.Width = w;
        s.Height = h;
        return s;
    }
};

TEST_F(ImageSpriteTest, Render_DrawsThePatternAtThePositionWhenItFillsTheBox) {
    Sprite<TImageSprite>(&PositionPicture(), 90, 60, 30, 30);
    Engine().Draw();
    EXPECT_EQ(At(90, 60), P(0, 0));
    EXPECT_EQ(At(119, 89), P(29, 29));
    EXPECT_EQ(At(89, 60), 0u);
    EXPECT_EQ(At(120, 89), 0u);
}

TEST_F(ImageSpriteTest, Render_CentresThePictureOnAZeroBoxTruncatingTheHalf) {
    TImageSprite& menu = Sprite<TImageSprite>(&AddSolid(130, 160, colours::White), 320, 300, 0, 0);
    Engine().Draw();
    const uint32_t white = Raw(colours::White);
    EXPECT_EQ(At(255, 220), white);
    EXPECT_EQ(At(384, 379), white);
    EXPECT_EQ(At(254, 220), 0u);
    EXPECT_EQ(At(255, 219), 0u);
    EXPECT_EQ(At(385, 379), 0u);

    // -131 div 2 is -65: the odd picture starts at the same corner and ends one pixel further.
    Back().FillWith(0);
    menu.Image = &AddSolid(131, 161, colours::White);
    Engine().Draw();
    EXPECT_EQ(At(255, 220), white);
    EXPECT_EQ(At(254, 220), 0u);
    EXPECT_EQ(At(385, 380), white);
    EXPECT_EQ(At(386, 380), 0u);
    EXPECT_EQ(menu.DrawRect(), (TRect{255, 220, 255, 220}));
}

TEST_F(ImageSpriteTest, Render_WithoutImageDrawsNothing) {
    Sprite<TImageSprite>(nullptr, 0, 0, 30, 30);
    Sprite<TImageSpriteEx>(nullptr, 0, 0, 30, 30);
    Engine().Draw();
    EXPECT_EQ(Engine().DrawnCount(), 2);
    for (uint32_t pixel : Screen()) {
        ASSERT_EQ(pixel, 0u);
    }
}

TEST_F(ImageSpriteTest, Ex_WholeTurnsDrawScaledAQuarterTurnsAboutTheMiddle) {
    TImageSpriteEx& s = Sprite<TImageSpriteEx>(&PositionPicture(), 100, 60, 60, 30);
    s.Angle = 256;
    Engine().Draw();
    // Scaled to the 60 by 30 box, unturned.
    EXPECT_EQ(At(100, 60), P(0, 0));
    EXPECT_EQ(At(101, 60), P(0, 0));
    EXPECT_EQ(At(102, 60), P(1, 0));
    EXPECT_EQ(At(159, 89), P(29, 29));
    EXPECT_EQ(At(160, 89), 0u);

    // A quarter turn clockwise about (115, 75) in a 30 by 30 box: the top of the picture faces right.
    Back().FillWith(0);
    s.Width = 30;
    s.Angle = 64;
    Engine().Draw();
    EXPECT_EQ(At(101, 60), P(0, 29));
    EXPECT_EQ(At(129, 89), P(29, 1));
    EXPECT_EQ(At(100, 75), 0u);
}

TEST_F(ImageSpriteTest, Ex_AlphaBelowOpaqueBlendsTurnedOrNot) {
    TImageSpriteEx& s = Sprite<TImageSpriteEx>(&PositionPicture(), 100, 60, 30, 30);
    const uint32_t white = Raw(colours::White);
    for (int32_t opaque : {255, 1000}) {
        Back().FillWith(white);
        s.Alpha = opaque;
        Engine().Draw();
        EXPECT_EQ(At(110, 70), P(10, 10)) << opaque;
    }
    Back().FillWith(white);
    s.Alpha = 254;
    Engine().Draw();
    EXPECT_EQ(At(110, 70), Blend565(P(10, 10), white, 254));

    Back().FillWith(white);
    s.Angle = 64 + 256;
    s.Alpha = 128;
    Engine().Draw();
    EXPECT_EQ(At(101, 60), Blend565(P(0, 29), white, 128));
    EXPECT_EQ(At(100, 75), white);
}

TEST_F(ImageSpriteTest, Advance_StopsOnTheLastPatternOrLoops) {
    TImageSprite& s = Sprite<TImageSprite>(nullptr, 0, 0, 0, 0);
    s.PatternSpan = 4;
    s.PatternSpeed = 0.5;
    s.PatternPos = 3.5;
    s.Advance(1);
    EXPECT_DOUBLE_EQ(s.PatternPos, 3.0);
    EXPECT_DOUBLE_EQ(s.PatternSpeed, 0.0);

    s.PatternLoop = true;
    s.PatternSpeed = 0.5;
    s.PatternPos = 3.5;
    s.Advance(1);
    EXPECT_DOUBLE_EQ(s.PatternPos, 0.0);
    EXPECT_DOUBLE_EQ(s.PatternSpeed, 0.5);

    for (bool loop : {false, true}) {
        s.PatternLoop = loop;
        s.PatternPos = 3.0;
        s.Advance(1);
        EXPECT_DOUBLE_EQ(s.PatternPos, 3.5) << loop;
    }

    // Looping backwards comes round from the top; without a span the position stays 0.
    s.PatternLoop = true;
    s.PatternSpeed = -1.5;
    s.PatternPos = 1.0;
    s.Advance(1);
    EXPECT_DOUBLE_EQ(s.PatternPos, 3.5);
    s.PatternSpan = 0;
    s.Advance(3);
    EXPECT_DOUBLE_EQ(s.PatternPos, 0.0);
    s.PatternLoop = false;
    s.PatternSpan = 4;
    s.Advance(3);
    EXPECT_DOUBLE_EQ(s.PatternPos, 0.0);
}

TEST_F(ImageSpriteTest, Wrap_BringsTheRectangleIntoOnePeriod) {
    TImageSprite& s = Sprite<TImageSprite>(nullptr, 0, 0, 30, 30);
    s.Wrap = true;
    for (auto [x, left] : {std::pair{660.0, -10}, {670.0, 0}, {700.0, 30}, {-5.0, -5}, {-45.5, 625}}) {
        s.X = x;
        EXPECT_EQ(s.GetBounds().Left, left) << x;
        EXPECT_EQ(s.GetBounds().Right, left + 30) << x;
    }
    s.X = 0;
    s.Y = 500;
    EXPECT_EQ(s.GetBounds().Top, -10);
    s.Wrap = false;
    EXPECT_EQ(s.GetBounds().Top, 500);
}

TEST(ImageSpriteWrapTest, WithoutSurfaceNothingDividesByZero) {
    TSpriteEngine engine;
    TImageSprite& s = engine.Add<TImageSprite>();
    s.Wrap = true;
    s.X = 5;
    s.Y = -7;
    EXPECT_EQ(s.GetBounds(), (TRect{5, -7, 5, -7}));
    s.Width = -3;
    EXPECT_EQ(s.GetBounds().Left, 5);
}

TEST_F(ImageSpriteTest, HitTest_WithoutPixelHitIsAlwaysTrue) {
    TImageSprite& a = Sprite<TImageSprite>(&PositionPicture(), 0, 0, 30, 30);
    TImageSprite& b = Sprite<TImageSprite>(&PositionPicture(), 500, 400, 30, 30);
    EXPECT_TRUE(a.HitTest(b));
    EXPECT_TRUE(a.HitTest(Engine()));
}

TEST_F(ImageSpriteTest, HitTest_PixelHitNeedsOpaquePixelsOfBothAtOnePosition) {
    // Opaque left half, transparent (black) right half.
    TPictureCollectionItem& half =
        AddPicture(30, 30, [](int x, int) { return x < 15 ? colours::Red : colours::Black; });
    TImageSprite& a = Sprite<TImageSprite>(&half, 0, 0, 30, 30);
    TImageSprite& b = Sprite<TImageSprite>(&AddSolid(30, 30, colours::Green), 10, 0, 30, 30);
    a.PixelHit = true;
    EXPECT_TRUE(a.HitTest(b));
    b.X = 20;
    EXPECT_FALSE(a.HitTest(b));
    b.X = 40;
    EXPECT_FALSE(a.HitTest(b));
    // Either picture missing: no pixels, no hit.
    b.X = 10;
    TPictureCollectionItem* saved = b.Image;
    b.Image = nullptr;
    EXPECT_FALSE(a.HitTest(b));
    b.Image = saved;
    a.Image = nullptr;
    EXPECT_FALSE(a.HitTest(b));
}

TEST_F(ImageSpriteTest, HitTest_PixelTestReadsEachPatternAtItsOwnPlace) {
    // Pattern 0 transparent, pattern 1 opaque, side by side on one surface.
    TPictureCollectionItem& tiles = AddPicture(
        60, 30, [](int x, int) { return x < 30 ? colours::Black : colours::Red; }, 30, 30);
    TImageSprite& a = Sprite<TImageSprite>(&tiles, 0, 0, 30, 30);
    TImageSprite& other = Sprite<TImageSprite>(&AddSolid(30, 30, colours::Green), 5, 5, 30, 30);
    a.PixelHit = true;
    a.PatternBase = 1;
    EXPECT_TRUE(a.HitTest(other));
    a.PatternBase = 0;
    EXPECT_FALSE(a.HitTest(other));

    // Both patterns on the same surface share one lock.
    TImageSprite& b = Sprite<TImageSprite>(&tiles, 5, 5, 30, 30);
    b.PatternBase = 1;
    EXPECT_FALSE(a.HitTest(b));
    a.PatternBase = 1;
    EXPECT_TRUE(a.HitTest(b));
    EXPECT_EQ(tiles.PatternSurface(0)->LockCount(), 0);
}

TEST_F(ImageSpriteTest, ExHitTest_ComparesPlacedRectangles) {
    TImageSpriteEx& a = Sprite<TImageSpriteEx>(nullptr, 0, 0, 30, 30);
    TImageSpriteEx& b = Sprite<TImageSpriteEx>(nullptr, 29.9, 0, 30, 30);
    EXPECT_TRUE(a.HitTest(b));
    b.X = 30;
    EXPECT_FALSE(a.HitTest(b));
    TSprite& plain = Engine().Add<TSprite>();
    plain.X = -10;
    plain.Y = 29;
    plain.Width = 11;
    plain.Height = 5;
    EXPECT_TRUE(a.HitTest(plain));
    plain.X = -11;
    EXPECT_FALSE(a.HitTest(plain));
}

} // namespace
