#pragma once

#include "platform/app/Platform.h"

#include <cstdint>

// The game's one random generator: a 32-bit linear congruential generator.
class TRandom {
public:
    // The next value 0 .. n - 1 (0 for n = 0): the state steps on, then floor(n x state / 2^32).
    uint32_t Next(uint32_t n) {
        State = State * 134775813u + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(n) * State) >> 32);
    }
    // Seeds from the milliseconds since midnight.
    void Seed(const platform::TimeOfDay& time) {
        State =
            static_cast<uint32_t>(((time.Hours * 60 + time.Minutes) * 60 + time.Seconds) * 1000 + time.Milliseconds);
    }

    uint32_t State = 0;
};
