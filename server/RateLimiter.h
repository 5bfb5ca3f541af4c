#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>

// A limit of requests per client: each client has a bucket of `burst` tokens that refills at
// `perMinute` tokens a minute, and a request takes one. Buckets that are full again are
// forgotten, so that the map holds only clients seen lately.
class RateLimiter {
public:
    using Clock = std::chrono::steady_clock;

    // A limiter that allows everything when perMinute is 0.
    RateLimiter(double perMinute, double burst);

    // Whether `client` may make a request at `now`; takes a token when it may.
    bool Allow(const std::string& client, Clock::time_point now = Clock::now());
    // Seconds until `client` has a token again (0 when it has one).
    int SecondsToWait(const std::string& client, Clock::time_point now = Clock::now());
    std::size_t Clients();

private:
    struct Bucket {
        double Tokens;
        Clock::time_point Updated;
    };
    double Refilled(const Bucket& bucket, Clock::time_point now) const;
    void Forget(Clock::time_point now);

    double perSecond_;
    double burst_;
    std::mutex mutex_;
    std::map<std::string, Bucket> buckets_;
    Clock::time_point lastSweep_{};
};
