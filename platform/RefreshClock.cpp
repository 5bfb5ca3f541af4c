#include "platform/RefreshClock.h"

#include <thread>

namespace platform {

namespace {
using Nanos = std::chrono::nanoseconds;
constexpr int64_t kSecond = 1'000'000'000;
// What a sleep may overshoot by; the rest of the wait spins.
constexpr Nanos kSpin = std::chrono::microseconds(1500);
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
        std::this_thread::sleep_until(target - kSpin);
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
