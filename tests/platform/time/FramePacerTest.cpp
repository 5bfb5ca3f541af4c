#include "platform/time/FramePacer.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {
// Frames run over `seconds` of callbacks at `hz`, each callback up to `jitterMs` off its time.
int FramesOver(double hz, double seconds, double jitterMs = 0.0) {
    FramePacer pacer;
    int frames = 0;
    const int callbacks = static_cast<int>(hz * seconds);
    for (int i = 0; i < callbacks; ++i) {
        const double jitter = (i % 3 == 0 ? -jitterMs : (i % 3 == 1 ? jitterMs : 0.0));
        frames += pacer.FrameDue(1000.0 + i * 1000.0 / hz + jitter);
    }
    return frames;
}
} // namespace

TEST(FramePacer, SixtyFramesASecondOnFastDisplays) {
    EXPECT_NEAR(FramesOver(60, 10), 600, 1);
    EXPECT_NEAR(FramesOver(60, 10, 1.5), 600, 1);
    EXPECT_NEAR(FramesOver(75, 10), 600, 1);
    EXPECT_NEAR(FramesOver(120, 10), 600, 1);
    EXPECT_NEAR(FramesOver(144, 10), 600, 1);
    EXPECT_NEAR(FramesOver(144, 10, 1.0), 600, 1);
    EXPECT_NEAR(FramesOver(240, 10), 600, 1);
}

TEST(FramePacer, ASlowerDisplayRunsAFramePerCallback) {
    EXPECT_EQ(FramesOver(50, 10), 500);
    EXPECT_EQ(FramesOver(30, 10), 300);
}

TEST(FramePacer, APauseIsNotCaughtUp) {
    FramePacer pacer;
    EXPECT_TRUE(pacer.FrameDue(0.0));
    EXPECT_TRUE(pacer.FrameDue(16.7));
    // Five seconds hidden: one frame on return, then the normal pace.
    EXPECT_TRUE(pacer.FrameDue(5000.0));
    EXPECT_FALSE(pacer.FrameDue(5001.0));
    EXPECT_FALSE(pacer.FrameDue(5008.0));
    EXPECT_TRUE(pacer.FrameDue(5016.7));
}

TEST(FramePacer, AClockThatGoesBackStartsAgain) {
    FramePacer pacer;
    EXPECT_TRUE(pacer.FrameDue(100000.0));
    EXPECT_TRUE(pacer.FrameDue(10.0));
    EXPECT_FALSE(pacer.FrameDue(12.0));
    EXPECT_TRUE(pacer.FrameDue(26.7));
}

TEST(FramePacer, ResetRunsTheNextCallback) {
    FramePacer pacer;
    EXPECT_TRUE(pacer.FrameDue(0.0));
    EXPECT_FALSE(pacer.FrameDue(1.0));
    pacer.Reset();
    EXPECT_TRUE(pacer.FrameDue(2.0));
}
