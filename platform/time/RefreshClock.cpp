#include "platform/time/RefreshClock.h"

#include <thread>

#ifdef __linux__
#include <cerrno>
#include <time.h>
#endif

namespace platform {

namespace {
using Nanos = std::chrono::nanoseconds;
constexpr int64_t kSecond = 1'000'000'000;
// What a sleep to a deadline may overshoot by (the kernel's default timer slack is 50 us); the rest
// of the wait spins.
constexpr Nanos kSpin = std::chrono::microseconds(250);

// Sleeps until `deadline` of the steady clock. On Linux the steady clock is CLOCK_MONOTONIC, so the
// kernel can wake the thread at the deadline itself rather than after a relative interval that
// began whenever the call was made; a signal does not cut the sleep short.
void SleepUntil(RefreshClock::Clock::time_point deadline) {
#ifdef __linux__
    const int64_t ns = std::chrono::duration_cast<Nanos>(deadline.time_since_epoch()).count();
    if (ns <= 0) {
        return;
    }
    const timespec at{static_cast<time_t>(ns / kSecond), static_cast<long>(ns % kSecond)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
#else
    std::this_thread::sleep_until(deadline);
#endif
}
} // namespace

RefreshClock::RefreshClock(int hz, Clock::time_point epoch) : hz_(hz > 0 ? hz : 60), epoch_(epoch) {}

RefreshClock::Clock::time_point RefreshClock::NextRefresh(Clock::time_point now) const {
    if (now < epoch_) {
        return epoch_;
    }
    const int64_t frame = std::chrono::duration_cast<Nanos>(now - epoch_).count() * hz_ / kSecond + 1;
    // Round the boundary up so that the wait never returns before the refresh it waited for.
    return epoch_ + Nanos((frame * kSecond + hz_ - 1) / hz_);
}

void RefreshClock::WaitForNextRefresh() const {
    const Clock::time_point target = NextRefresh(Clock::now());
    if (target - Clock::now() > kSpin) {
        SleepUntil(target - kSpin);
    }
    while (Clock::now() < target) {
        std::this_thread::yield();
    }
}

bool VsyncWatch::Frame(RefreshClock::Clock::time_point now) {
    if (count_ == 0) {
        start_ = now;
        count_ = 1;
        return true;
    }
    if (++count_ <= kWindow) {
        return true;
    }
    // kWindow frame intervals at more than 61.5 per second: nothing holds the presents back to a
    // 60 Hz refresh. The first window after a reset is not judged: a driver may accept a few
    // frames ahead before its queue fills.
    const bool tooFast = !warmingUp_ && (now - start_) * 123 < std::chrono::seconds(2 * kWindow);
    warmingUp_ = false;
    start_ = now;
    count_ = 1;
    return !tooFast;
}

} // namespace platform
