#include "platform/pixels/Letterbox.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Letterbox, FitImage_BarsAboveAndBelowOnATallerOutput) {
    EXPECT_EQ(FitImage(1280, 1024, 640, 480), (TRect{0, 32, 1280, 992}));
}

TEST(Letterbox, FitImage_BarsLeftAndRightOnAWideOutput) {
    EXPECT_EQ(FitImage(1920, 1080, 640, 480), (TRect{240, 0, 1680, 1080}));
    EXPECT_EQ(FitImage(1920, 1080, 320, 200), (TRect{96, 0, 1824, 1080}));
}

TEST(Letterbox, FitImage_SameAspectFillsTheOutput) {
    EXPECT_EQ(FitImage(1600, 1200, 640, 480), (TRect{0, 0, 1600, 1200}));
    EXPECT_EQ(FitImage(640, 480, 640, 480), (TRect{0, 0, 640, 480}));
}

TEST(Letterbox, FitImage_EmptySizesGiveAnEmptyView) {
    EXPECT_TRUE(FitImage(0, 1024, 640, 480).IsEmpty());
    EXPECT_TRUE(FitImage(1280, 1024, 0, 480).IsEmpty());
}

TEST(Letterbox, OutputToImage_MapsCornersAndCentre) {
    const TRect view{0, 32, 1280, 992};
    int x = -1, y = -1;
    ASSERT_TRUE(OutputToImage(view, 640, 480, 0, 32, x, y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    OutputToImage(view, 640, 480, 1279, 991, x, y);
    EXPECT_EQ(x, 639);
    EXPECT_EQ(y, 479);
    OutputToImage(view, 640, 480, 641, 513, x, y);
    EXPECT_EQ(x, 320);
    EXPECT_EQ(y, 240);
}

TEST(Letterbox, OutputToImage_ClampsPointsOnTheBars) {
    const TRect view{240, 0, 1680, 1080};
    int x = -1, y = -1;
    OutputToImage(view, 640, 480, 5, 10, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 4);
    // One pixel left of the view is still column 0, not a negative column.
    OutputToImage(view, 640, 480, 239, 0, x, y);
    EXPECT_EQ(x, 0);
    OutputToImage(view, 640, 480, 1900, 2000, x, y);
    EXPECT_EQ(x, 639);
    EXPECT_EQ(y, 479);
    OutputToImage(view, 640, 480, -50, -50, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST(Letterbox, OutputToImage_RefusesAnEmptyView) {
    int x = 7, y = 7;
    EXPECT_FALSE(OutputToImage(TRect{}, 640, 480, 10, 10, x, y));
    EXPECT_EQ(x, 7);
}

TEST(Letterbox, FitImageWhole_LargestWholeScaleCentred) {
    // 1920x1080: 2x (1280x960) fits, 3x does not; the rest is bars on all four sides.
    EXPECT_EQ(FitImageWhole(1920, 1080, 640, 480), (TRect{320, 60, 1600, 1020}));
    EXPECT_EQ(FitImageWhole(1280, 960, 640, 480), (TRect{0, 0, 1280, 960}));
    // One pixel short of 2x on one axis stays at 1x.
    EXPECT_EQ(FitImageWhole(1279, 2000, 640, 480), (TRect{319, 760, 959, 1240}));
}

TEST(Letterbox, FitImageWhole_OutputSmallerThanImageFallsBackToFit) {
    EXPECT_EQ(FitImageWhole(320, 240, 640, 480), FitImage(320, 240, 640, 480));
    EXPECT_TRUE(FitImageWhole(0, 0, 640, 480).IsEmpty());
}

TEST(Letterbox, WindowForImage_WholeMultipleOfTheWorkArea) {
    EXPECT_EQ(WindowForImage(1920, 1050, 640, 480), (TRect{0, 0, 1280, 960}));
    EXPECT_EQ(WindowForImage(1280, 1024, 640, 480), (TRect{0, 0, 1280, 960}));
    EXPECT_EQ(WindowForImage(1280, 940, 640, 480), (TRect{0, 0, 640, 480}));
    EXPECT_EQ(WindowForImage(2560, 1440, 640, 480), (TRect{0, 0, 1920, 1440}));
    // A work area smaller than the image: the image scaled down, aspect kept.
    EXPECT_EQ(WindowForImage(600, 400, 640, 480), (TRect{0, 0, 533, 400}));
}
