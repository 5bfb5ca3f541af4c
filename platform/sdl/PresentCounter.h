#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace platform {

// Reports presented frames on standard error when the environment asks for it
// (VORKALITH_FRAME_REPORT=1), for the benchmark scripts that run the real game: one line
// "first-frame <ms>" at the first present and "frames <count> <ms>" once a second after it,
// with times in milliseconds of the system clock since the epoch. Costs a test per frame otherwise.
class PresentCounter {
public:
    PresentCounter();
    void Presented();

private:
    bool on_ = false;
    uint64_t count_ = 0;
    std::chrono::steady_clock::time_point nextReport_;
};

} // namespace platform
