#pragma once

#include <chrono>

namespace platform {

// The refresh of an emulated display on the steady clock: refreshes fall at whole multiples of
// 1/Hz seconds after the clock's epoch, whatever the real monitor does.
class RefreshClock {
public:
    using Clock = std::chrono::steady_clock;

    explicit RefreshClock(int hz = 60, Clock::time_point epoch = Clock::now());

    // The first refresh strictly after `now`.
    Clock::time_point NextRefresh(Clock::time_point now) const;
    // Blocks until the next refresh: sleeps to an absolute deadline a little before it, then spins
    // the last few hundred microseconds, which a sleep may overshoot by.
    void WaitForNextRefresh() const;

private:
    int hz_;
    Clock::time_point epoch_;
};

// Watches frames that a vsync'ed present is meant to pace and notices when they come faster
// than the refresh allows, as they do when the driver ignores the request for vsync.
class VsyncWatch {
public:
    // Frame intervals judged together: two seconds, long enough that the jitter of when a
    // queued present returns cannot pass for a faster refresh.
    static constexpr int kWindow = 120;

    // Records one paced frame; false when the window of kWindow intervals it closes came too fast.
    bool Frame(RefreshClock::Clock::time_point now);
    // Starts over, as after a new renderer or a window restored from the task bar.
    void Reset() {
        count_ = 0;
        warmingUp_ = true;
    }

private:
    RefreshClock::Clock::time_point start_;
    int count_ = 0;
    bool warmingUp_ = true;
};

} // namespace platform
