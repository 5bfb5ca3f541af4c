#include "server/RateLimiter.h"

#include <algorithm>
#include <cmath>

RateLimiter::RateLimiter(double perMinute, double burst) : perSecond_(perMinute / 60.0), burst_(std::max(burst, 1.0)) {}

double RateLimiter::Refilled(const Bucket& bucket, Clock::time_point now) const {
    const double seconds = std::chrono::duration<double>(now - bucket.Updated).count();
    return std::min(burst_, bucket.Tokens + std::max(seconds, 0.0) * perSecond_);
}

void RateLimiter::Forget(Clock::time_point now) {
    // A sweep at most once a minute keeps a flood of new addresses from costing a sweep each.
    if (now - lastSweep_ < std::chrono::minutes(1)) {
        return;
    }
    lastSweep_ = now;
    std::erase_if(buckets_, [&](const auto& entry) { return Refilled(entry.second, now) >= burst_; });
}

bool RateLimiter::Allow(const std::string& client, Clock::time_point now) {
    if (perSecond_ <= 0) {
        return true;
    }
    const std::lock_guard lock(mutex_);
    Forget(now);
    auto [place, added] = buckets_.try_emplace(client, Bucket{burst_, now});
    Bucket& bucket = place->second;
    bucket.Tokens = Refilled(bucket, now);
    bucket.Updated = now;
    if (bucket.Tokens < 1.0) {
        return false;
    }
    bucket.Tokens -= 1.0;
    return true;
}

int RateLimiter::SecondsToWait(const std::string& client, Clock::time_point now) {
    if (perSecond_ <= 0) {
        return 0;
    }
    const std::lock_guard lock(mutex_);
    const auto found = buckets_.find(client);
    if (found == buckets_.end()) {
        return 0;
    }
    const double missing = 1.0 - Refilled(found->second, now);
    return missing <= 0 ? 0 : static_cast<int>(std::ceil(missing / perSecond_));
}

std::size_t RateLimiter::Clients() {
    const std::lock_guard lock(mutex_);
    return buckets_.size();
}
