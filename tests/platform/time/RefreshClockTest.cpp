#include "platform/time/RefreshClock.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace std::chrono;
using Clock = RefreshClock::Clock;

TEST(RefreshClock, NextRefresh_IsStrictlyAfterNowOnTheSixtiethsGrid) {
    const Clock::time_point epoch{seconds(100)};
    const RefreshClock clock(60, epoch);
    EXPECT_EQ(clock.NextRefresh(epoch), epoch + nanoseconds(16'666'667));
    EXPECT_EQ(clock.NextRefresh(epoch + nanoseconds(16'666'666)), epoch + nanoseconds(16'666'667));
    // Exactly on a refresh: the wait is for the next one.
    EXPECT_EQ(clock.NextRefresh(epoch + nanoseconds(16'666'667)), epoch + nanoseconds(33'333'334));
    EXPECT_EQ(clock.NextRefresh(epoch + milliseconds(999)), epoch + seconds(1));
    EXPECT_EQ(clock.NextRefresh(epoch + seconds(1)), epoch + seconds(1) + nanoseconds(16'666'667));
}

TEST(RefreshClock, NextRefresh_SixtyRefreshesMakeOneSecondWithoutDrift) {
    const Clock::time_point epoch{seconds(5)};
    const RefreshClock clock(60, epoch);
    Clock::time_point t = epoch;
    for (int i = 0; i < 60 * 3600; ++i) {
        t = clock.NextRefresh(t);
    }
    EXPECT_EQ(t, epoch + hours(1));
}

TEST(RefreshClock, NextRefresh_BeforeTheEpochIsTheEpoch) {
    const Clock::time_point epoch{seconds(5)};
    const RefreshClock clock(60, epoch);
    EXPECT_EQ(clock.NextRefresh(epoch - seconds(1)), epoch);
}

TEST(RefreshClock, WaitForNextRefresh_NeverReturnsEarly) {
    const RefreshClock clock;
    for (int i = 0; i < 3; ++i) {
        const Clock::time_point due = clock.NextRefresh(Clock::now());
        clock.WaitForNextRefresh();
        EXPECT_GE(Clock::now(), due);
    }
}

namespace {
// Feeds `frames` frames `interval` apart; returns the index of the first frame judged too fast, or -1.
int FirstRejected(VsyncWatch& watch, Clock::time_point& t, nanoseconds interval, int frames) {
    for (int i = 0; i < frames; ++i) {
        t += interval;
        if (!watch.Frame(t)) {
            return i;
        }
    }
    return -1;
}
} // namespace

TEST(VsyncWatch, FramesAtTheRefreshRateAreAccepted) {
    VsyncWatch watch;
    Clock::time_point t{};
    EXPECT_EQ(FirstRejected(watch, t, nanoseconds(16'666'667), 600), -1);
    // Slower frames (a frame that took too long) are no sign against vsync either.
    EXPECT_EQ(FirstRejected(watch, t, milliseconds(40), 100), -1);
}

TEST(VsyncWatch, UnpacedFramesAreRejectedAfterTheWarmUpWindow) {
    VsyncWatch watch;
    Clock::time_point t{};
    // Frame 0 opens the first window, frame kWindow closes it unjudged, frame 2 kWindow the second.
    EXPECT_EQ(FirstRejected(watch, t, milliseconds(2), 3 * VsyncWatch::kWindow), 2 * VsyncWatch::kWindow);
}

TEST(VsyncWatch, AFewQueuedFramesDoNotCountAgainstVsync) {
    VsyncWatch watch;
    Clock::time_point t{};
    const nanoseconds refresh(16'666'667);
    EXPECT_EQ(FirstRejected(watch, t, refresh, VsyncWatch::kWindow + 10), -1);
    // After a stall a driver takes two frames at once; the window still averages the refresh.
    EXPECT_EQ(FirstRejected(watch, t, refresh * 3, 1), -1);
    EXPECT_EQ(FirstRejected(watch, t, milliseconds(1), 2), -1);
    EXPECT_EQ(FirstRejected(watch, t, refresh, 2 * VsyncWatch::kWindow), -1);
}

TEST(VsyncWatch, ARefreshAFewPercentFastIsRejected) {
    VsyncWatch watch;
    Clock::time_point t{};
    EXPECT_EQ(FirstRejected(watch, t, nanoseconds(1'000'000'000 / 63), 3 * VsyncWatch::kWindow),
              2 * VsyncWatch::kWindow);
}

TEST(VsyncWatch, ResetStartsANewWarmUp) {
    VsyncWatch watch;
    Clock::time_point t{};
    FirstRejected(watch, t, nanoseconds(16'666'667), VsyncWatch::kWindow + 10);
    watch.Reset();
    EXPECT_EQ(FirstRejected(watch, t, milliseconds(2), 3 * VsyncWatch::kWindow), 2 * VsyncWatch::kWindow);
}
