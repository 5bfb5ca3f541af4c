#include "display/DXTimer.h"

#include "platform/app/Application.h"
#include "platform/app/Form.h"
#include "platform/base/Exception.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class DXTimerTest : public ::testing::Test {
protected:
    DXTimerTest() {
        platform.EchoErrors = false;
        timer.OnTimer = [this](TComponent* sender, int32_t lag) {
            EXPECT_EQ(sender, &timer);
            lags.push_back(lag);
        };
    }

    // One call of the idle slot, as the message loop makes it.
    void Idle() {
        ASSERT_TRUE(app.OnIdle);
        bool done = true;
        app.OnIdle(done);
        EXPECT_FALSE(done);
    }
    void AdvanceMs(uint64_t ms) { platform.AdvanceClock(ms * 1000); }
    // Ends loading the way the form reader does, with the given settings.
    void Load(int32_t interval, bool activeOnly) {
        timer.BeginLoading();
        timer.SetInterval(interval);
        timer.SetActiveOnly(activeOnly);
        timer.Loaded();
    }

    platform::HeadlessPlatform platform;
    TApplication app{platform};
    TForm& form = app.AddForm(std::make_unique<TForm>(app));
    TDXTimer& timer = CreateComponent<TDXTimer>(form);
    std::vector<int32_t> lags;
};

TEST_F(DXTimerTest, Construction_StaysStoppedUntilLoaded) {
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_EQ(timer.IntervalDivisor(), 1000);
    EXPECT_FALSE(timer.Running());
    EXPECT_FALSE(app.OnIdle);
}

TEST_F(DXTimerTest, Loaded_StartsOnlyWhenEnabled) {
    timer.BeginLoading();
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    EXPECT_FALSE(timer.Running()) << "writes while loading only store";
    timer.SetActiveOnly(false);
    timer.Loaded();
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(app.OnIdle);

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    EXPECT_FALSE(app.OnIdle);
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(app.OnIdle);
}

TEST_F(DXTimerTest, IntervalZero_FiresOnEveryIdleCallWithLagAtLeastOne) {
    Load(0, false);
    Idle();
    Idle();
    EXPECT_EQ(lags, (std::vector<int32_t>{1, 1}));
    AdvanceMs(17);
    Idle();
    EXPECT_EQ(lags.back(), 17);
}

TEST_F(DXTimerTest, Interval1000_WaitsAndMeasuresLagInIntervals) {
    Load(1000, false);
    const uint32_t start = timer.LastTick();
    AdvanceMs(400);
    Idle();
    AdvanceMs(599);
    Idle();
    EXPECT_TRUE(lags.empty());
    EXPECT_EQ(timer.LastTick(), start);
    AdvanceMs(1501);
    Idle();
    EXPECT_EQ(lags, (std::vector<int32_t>{2}));
    EXPECT_EQ(timer.LastTick(), start + 2500);
}

TEST_F(DXTimerTest, SetInterval_NegativeStoresZeroAndDivisorOne) {
    timer.SetInterval(-5);
    EXPECT_EQ(timer.Interval(), 0);
    EXPECT_EQ(timer.IntervalDivisor(), 1);
    timer.SetInterval(40);
    EXPECT_EQ(timer.Interval(), 40);
    EXPECT_EQ(timer.IntervalDivisor(), 40);
}

struct RateCase {
    int frames;
    uint64_t spanMs;
    int32_t expected;
};

class DXTimerRateTest : public DXTimerTest, public ::testing::WithParamInterface<RateCase> {};

// All frames but the last come 1 ms apart; the last one closes the span.
TEST_P(DXTimerRateTest, FramesPerSecond_RoundsHalvesToEven) {
    const RateCase c = GetParam();
    Load(0, false);
    for (int i = 1; i < c.frames; ++i) {
        AdvanceMs(1);
        Idle();
    }
    EXPECT_EQ(timer.FramesPerSecond(), 0) << "no span of a second has ended yet";
    EXPECT_EQ(timer.FrameCount(), c.frames - 1);
    AdvanceMs(c.spanMs - static_cast<uint64_t>(c.frames - 1));
    Idle();
    EXPECT_EQ(timer.FramesPerSecond(), c.expected);
    EXPECT_EQ(timer.FrameCount(), 0);
    EXPECT_EQ(timer.LastRateTick(), timer.LastTick());
}

INSTANTIATE_TEST_SUITE_P(Spans, DXTimerRateTest,
                         ::testing::Values(RateCase{61, 1004, 61}, RateCase{121, 2000, 60}, RateCase{181, 2000, 90},
                                           RateCase{1, 1000, 1}));

TEST_F(DXTimerTest, ClockWrap_CountsElapsedTimeModulo32Bits) {
    platform.ClockStart = 4294967295u - 499;
    Load(2, false);
    AdvanceMs(499);
    Idle();
    ASSERT_EQ(lags.size(), 1u);
    EXPECT_EQ(timer.LastTick(), 4294967295u);
    // 4294967295 -> 0 is one millisecond: less than the interval.
    AdvanceMs(1);
    Idle();
    EXPECT_EQ(lags.size(), 1u);
    AdvanceMs(1);
    Idle();
    EXPECT_EQ(lags, (std::vector<int32_t>{249, 1}));
    // The measuring span also runs across the wrap.
    AdvanceMs(499);
    Idle();
    EXPECT_EQ(timer.FramesPerSecond(), 3);
}

TEST_F(DXTimerTest, ActiveOnly_DeactivationDetachesAndActivationResumes) {
    int activations = 0, deactivations = 0;
    timer.OnActivate = [&](TComponent*) { ++activations; };
    timer.OnDeactivate = [&](TComponent*) { ++deactivations; };
    app.Step();
    ASSERT_TRUE(app.Active());
    EXPECT_EQ(activations, 1);
    Load(0, true);
    Idle();

    platform.SetForeground(false);
    app.Step();
    EXPECT_EQ(deactivations, 1);
    EXPECT_TRUE(timer.Running());
    EXPECT_FALSE(app.OnIdle);

    AdvanceMs(5000);
    platform.SetForeground(true);
    app.Step();
    EXPECT_EQ(activations, 2);
    EXPECT_EQ(timer.LastTick(), platform.Milliseconds()) << "resumption restarts the clock";
    Idle();
    EXPECT_EQ(lags, (std::vector<int32_t>{1, 1}));
}

TEST_F(DXTimerTest, ActiveOnly_StartWhileInactiveStaysDetached) {
    Load(0, true);
    EXPECT_TRUE(timer.Running());
    EXPECT_FALSE(app.OnIdle);
    app.Step();
    EXPECT_TRUE(app.OnIdle);
}

TEST_F(DXTimerTest, ActiveOnlyOff_FramesGoOnInTheBackground) {
    app.Step();
    Load(0, false);
    platform.SetForeground(false);
    app.Step();
    ASSERT_FALSE(app.Active());
    Idle();
    EXPECT_EQ(lags.size(), 1u);
}

TEST_F(DXTimerTest, SetActiveOnly_KeepsAttachedExactlyWhenAllowedToRun) {
    Load(0, false);
    app.Step();
    timer.SetActiveOnly(true);
    EXPECT_TRUE(app.OnIdle) << "the application is active";

    platform.SetForeground(false);
    app.Step();
    EXPECT_FALSE(app.OnIdle);
    timer.SetActiveOnly(false);
    EXPECT_TRUE(app.OnIdle);
    timer.SetActiveOnly(true);
    EXPECT_FALSE(app.OnIdle);
    platform.SetForeground(true);
    app.Step();
    EXPECT_TRUE(app.OnIdle);
}

TEST_F(DXTimerTest, OnTimerError_PropagatesAfterBookkeepingAndNextIdleRunsNextFrame) {
    Load(0, false);
    int calls = 0;
    timer.OnTimer = [&](TComponent*, int32_t) {
        if (++calls == 1) {
            throw Exception("frame failed");
        }
    };
    AdvanceMs(1000);
    bool done = true;
    EXPECT_THROW(app.OnIdle(done), Exception);
    EXPECT_FALSE(done);
    EXPECT_EQ(timer.LastTick(), platform.Milliseconds());
    EXPECT_EQ(timer.FramesPerSecond(), 1);
    ASSERT_TRUE(app.OnIdle);
    Idle();
    EXPECT_EQ(calls, 2);
}

TEST_F(DXTimerTest, OnTimerError_MessageLoopReportsItAndGoesOn) {
    int calls = 0;
    timer.OnTimer = [&](TComponent*, int32_t) {
        if (++calls == 1) {
            throw Exception("frame failed");
        }
        app.Terminate();
    };
    Load(0, false);
    app.Run();
    EXPECT_EQ(calls, 2);
    ASSERT_EQ(platform.Errors.size(), 1u);
    EXPECT_NE(platform.Errors[0].find("frame failed"), std::string::npos);
}

TEST_F(DXTimerTest, Destruction_ClearsIdleSlotAndActivationWatcher) {
    int activations = 0;
    {
        TDXTimer other(&form);
        other.OnActivate = [&](TComponent*) { ++activations; };
        other.BeginLoading();
        other.SetActiveOnly(false);
        other.Loaded();
        EXPECT_TRUE(app.OnIdle);
    }
    EXPECT_FALSE(app.OnIdle);
    app.Step();
    EXPECT_EQ(activations, 0);
}

TEST_F(DXTimerTest, Destruction_ClearsAnIdleSlotTakenByResumeAlone) {
    {
        TDXTimer other(&form);
        other.Resume(); // attached, though never started
        EXPECT_FALSE(other.Running());
        EXPECT_TRUE(app.OnIdle);
    }
    EXPECT_FALSE(app.OnIdle);
}

} // namespace
