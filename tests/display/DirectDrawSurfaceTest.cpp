#include "display/DirectDrawSurfaceCanvas.h"
#include "display/DirectXErrors.h"
#include "platform/pixels/Clipper.h"
#include "support/DisplayFixture.h"

namespace {

class SurfaceTest : public DisplayFixture {
protected:
    void SetUp() override {
        Show();
        ASSERT_TRUE(draw->IsInitialized());
        pattern = Pattern(30, 30);
    }

    // Source pixel value at (x, y) of the 30x30 pattern.
    static uint32_t P(int x, int y) { return static_cast<uint32_t>(1 + x + y * 30); }

    int CountNonZero() {
        int n = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                n += Back().Pixel(x, y) != 0;
            }
        }
        return n;
    }

    std::unique_ptr<TDirectDrawSurface> pattern;
};

TEST_F(SurfaceTest, Draw_ClipsPatternAtLeftEdge) {
    Back().Draw(-10, 5, pattern->FullRect(), pattern.get(), false);
    EXPECT_EQ(Back().Pixel(0, 5), P(10, 0));
    EXPECT_EQ(Back().Pixel(19, 34), P(29, 29));
    EXPECT_EQ(Back().Pixel(20, 5), 0u);
    EXPECT_EQ(Back().Pixel(0, 4), 0u);
    EXPECT_EQ(CountNonZero(), 20 * 30);
}

TEST_F(SurfaceTest, Draw_ClipsPatternAtRightEdge) {
    Back().Draw(630, 0, pattern->FullRect(), pattern.get(), false);
    EXPECT_EQ(Back().Pixel(630, 0), P(0, 0));
    EXPECT_EQ(Back().Pixel(639, 29), P(9, 29));
    EXPECT_EQ(CountNonZero(), 10 * 30);
}

TEST_F(SurfaceTest, Draw_EntirelyOutsideDrawsNothing) {
    Back().Draw(640, 0, pattern->FullRect(), pattern.get(), false);
    Back().Draw(-30, 0, pattern->FullRect(), pattern.get(), false);
    Back().Draw(0, 480, pattern->FullRect(), pattern.get(), false);
    Back().Draw(5000, 5000, pattern->FullRect(), pattern.get(), false);
    EXPECT_EQ(CountNonZero(), 0);
}

TEST_F(SurfaceTest, Draw_SourceRectangleBeyondSourceIsClipped) {
    Back().Draw(100, 100, TRect{20, -5, 40, 10}, pattern.get(), false);
    // Columns 20..29 of rows 0..9 land five rows down, where row 0 of the rectangle would have been -5.
    EXPECT_EQ(Back().Pixel(100, 105), P(20, 0));
    EXPECT_EQ(Back().Pixel(109, 114), P(29, 9));
    EXPECT_EQ(CountNonZero(), 10 * 10);
}

TEST_F(SurfaceTest, Draw_KeyedCopySkipsKeyColour) {
    pattern->SetKeyColor(P(3, 0));
    Back().FillWith(0x1234);
    Back().Draw(0, 0, pattern->FullRect(), pattern.get(), true);
    EXPECT_EQ(Back().Pixel(3, 0), 0x1234u);
    EXPECT_EQ(Back().Pixel(4, 0), P(4, 0));
    Back().Draw(0, 0, pattern->FullRect(), pattern.get(), false);
    EXPECT_EQ(Back().Pixel(3, 0), P(3, 0));
}

TEST_F(SurfaceTest, Draw_MirroredCopies) {
    Back().Draw(100, 100, TRect{30, 0, 0, 30}, pattern.get(), false);
    EXPECT_EQ(Back().Pixel(100, 100), P(29, 0));
    EXPECT_EQ(Back().Pixel(129, 100), P(0, 0));
    EXPECT_EQ(Back().Pixel(100, 129), P(29, 29));

    Back().Draw(200, 100, TRect{0, 30, 30, 0}, pattern.get(), false);
    EXPECT_EQ(Back().Pixel(200, 100), P(0, 29));
    EXPECT_EQ(Back().Pixel(200, 129), P(0, 0));

    Back().Draw(300, 100, TRect{30, 30, 0, 0}, pattern.get(), false);
    EXPECT_EQ(Back().Pixel(300, 100), P(29, 29));
    EXPECT_EQ(Back().Pixel(329, 129), P(0, 0));
}

TEST_F(SurfaceTest, Draw_MirroredCopyClippedShowsTheVisiblePartOfTheMirroredPicture) {
    // Mirrored at x = -10: destination x shows source column 29 - (x + 10).
    Back().Draw(-10, 0, TRect{30, 0, 0, 30}, pattern.get(), false);
    EXPECT_EQ(Back().Pixel(0, 0), P(19, 0));
    EXPECT_EQ(Back().Pixel(19, 0), P(0, 0));
    EXPECT_EQ(Back().Pixel(20, 0), 0u);
    // Mirrored at the right edge: the left part of the mirrored picture is what shows.
    Back().FillWith(0);
    Back().Draw(630, 0, TRect{30, 0, 0, 30}, pattern.get(), false);
    EXPECT_EQ(Back().Pixel(630, 0), P(29, 0));
    EXPECT_EQ(Back().Pixel(639, 0), P(20, 0));
    // Entirely off to the left: nothing.
    Back().FillWith(0);
    Back().Draw(-30, 0, TRect{30, 0, 0, 30}, pattern.get(), false);
    EXPECT_EQ(CountNonZero(), 0);
}

TEST_F(SurfaceTest, Draw_FallsBackToClippingCopyWhenDestinationHasClipper) {
    auto target = std::make_unique<TDirectDrawSurface>(draw->DDraw());
    target->Allocate(50, 50);
    auto clipper = std::make_shared<platform::Clipper>();
    clipper->SetClipList({TRect{0, 0, 10, 10}});
    target->ISurface()->SetClipper(clipper);
    ASSERT_FALSE(target->HasClipper);
    target->Draw(0, 0, pattern->FullRect(), pattern.get(), false);
    EXPECT_TRUE(target->HasClipper);
    EXPECT_EQ(target->Pixel(9, 9), P(9, 9));
    EXPECT_EQ(target->Pixel(10, 10), 0u);
}

TEST_F(SurfaceTest, DrawScaled_ScalesAndClipsToDestination) {
    Back().DrawScaled(TRect{620, 0, 680, 60}, pattern->FullRect(), pattern.get(), false);
    EXPECT_EQ(Back().Pixel(620, 0), P(0, 0));
    EXPECT_EQ(Back().Pixel(621, 1), P(0, 0));
    EXPECT_EQ(Back().Pixel(622, 0), P(1, 0));
    EXPECT_EQ(Back().Pixel(639, 59), P(9, 29));
    EXPECT_EQ(CountNonZero(), 20 * 60);
    // Empty rectangles and a missing source draw nothing.
    Back().FillWith(0);
    Back().DrawScaled(TRect{0, 0, 0, 10}, pattern->FullRect(), pattern.get(), false);
    Back().DrawScaled(TRect{0, 0, 10, 10}, TRect{5, 5, 5, 9}, pattern.get(), false);
    Back().DrawScaled(TRect{0, 0, 10, 10}, pattern->FullRect(), nullptr, false);
    EXPECT_EQ(CountNonZero(), 0);
}

TEST_F(SurfaceTest, MatchColor_UsesTheDisplayFormat) {
    EXPECT_EQ(Back().MatchColor(clBlack), 0u);
    EXPECT_EQ(Back().MatchColor(clBlue), 0x001Fu);
    EXPECT_EQ(Back().MatchColor(0x0000FF), 0xF800u);
    EXPECT_EQ(Back().MatchColor(clWhite), 0xFFFFu);
    // The pixel it borrows is put back.
    Back().SetPixel(0, 0, 0x4321);
    Back().MatchColor(clWhite);
    EXPECT_EQ(Back().Pixel(0, 0), 0x4321u);
}

TEST_F(SurfaceTest, LockBits_DoesNotNest) {
    platform::LockedView view;
    ASSERT_TRUE(Back().LockBits(nullptr, view));
    EXPECT_EQ(Back().LockCount(), 1);
    platform::LockedView second;
    EXPECT_FALSE(Back().LockBits(nullptr, second));
    Back().UnlockBits();
    EXPECT_EQ(Back().LockCount(), 0);
    TRect part{10, 10, 20, 20};
    ASSERT_TRUE(Back().LockBits(&part, view));
    EXPECT_EQ(view.Width, 10);
    Back().UnlockBits();
}

TEST_F(SurfaceTest, Pixel_OutsideReadsZeroAndWritesNothing) {
    Back().SetPixel(-1, 0, 0xFFFF);
    Back().SetPixel(640, 0, 0xFFFF);
    Back().SetPixel(0, 480, 0xFFFF);
    EXPECT_EQ(CountNonZero(), 0);
    Back().SetPixel(639, 479, 0xABCD);
    EXPECT_EQ(Back().Pixel(639, 479), 0xABCDu);
    EXPECT_EQ(Back().Pixel(640, 479), 0u);
    EXPECT_EQ(Back().Pixel(-1, -1), 0u);
}

TEST_F(SurfaceTest, EmptySurfaceDoesNothing) {
    TDirectDrawSurface empty(draw->DDraw());
    EXPECT_FALSE(empty.FillWith(0));
    EXPECT_EQ(empty.Pixel(0, 0), 0u);
    EXPECT_EQ(empty.MatchColor(clWhite), 0u);
    platform::LockedView view;
    EXPECT_FALSE(empty.LockBits(nullptr, view));
    empty.Draw(0, 0, pattern->FullRect(), pattern.get(), false);
    Back().Draw(0, 0, TRect{0, 0, 10, 10}, &empty, false);
    EXPECT_EQ(CountNonZero(), 0);
    empty.Allocate(0, 10);
    EXPECT_EQ(empty.ISurface(), nullptr);
}

TEST_F(SurfaceTest, Allocate_FallsBackToSystemMemory) {
    // A surface larger than the free video memory goes to system memory.
    auto big = std::make_unique<TDirectDrawSurface>(draw->DDraw());
    const std::size_t free = draw->DDraw()->Device().GetCaps().VideoMemoryFree;
    big->Allocate(4096, static_cast<int>(free / 2 / 4096) + 1);
    EXPECT_TRUE(big->InSystemMemory);
    EXPECT_NE(big->ISurface(), nullptr);
}

TEST_F(SurfaceTest, TextCanvas_IsMadeOnceAndDetaches) {
    TDirectDrawSurfaceCanvas& canvas = Back().TextCanvas();
    EXPECT_EQ(&canvas, &Back().TextCanvas());
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.WriteText(0, 0, "FPS:60");
    EXPECT_TRUE(canvas.Attached());
    // While attached, the surface cannot be copied onto.
    Back().Draw(100, 100, pattern->FullRect(), pattern.get(), false);
    EXPECT_EQ(Back().LastResult(), platform::Result::SurfaceBusy);
    canvas.Detach();
    EXPECT_FALSE(canvas.Attached());
    Back().Draw(100, 100, pattern->FullRect(), pattern.get(), false);
    EXPECT_EQ(Back().Pixel(100, 100), P(0, 0));
}

TEST_F(SurfaceTest, TextCanvas_WithoutSurfaceRaises) {
    TDirectDrawSurface empty(draw->DDraw());
    try {
        empty.TextCanvas().WriteText(0, 0, "x");
        FAIL() << "no error";
    } catch (const EDirectDrawSurfaceError& e) {
        EXPECT_STREQ(e.what(), "IDirectDrawSurface not made");
    }
    EXPECT_FALSE(empty.TextCanvas().Attached());
}

TEST(FontTest, PixelHeightIsPointsAtNinetySixDotsPerInch) {
    TFont font;
    font.Size = 13;
    EXPECT_EQ(font.PixelHeight(), 17);
    font.Size = 15;
    EXPECT_EQ(font.PixelHeight(), 20);
    font.Size = 10;
    EXPECT_EQ(font.PixelHeight(), 13);
    font.Size = 9; // 12 exactly
    EXPECT_EQ(font.PixelHeight(), 12);
}

} // namespace
