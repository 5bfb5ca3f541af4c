#pragma once

#include <cmath>
#include <cstdint>

// The nearest integer, an exact half going to the even neighbour (0.5 gives 0, 1.5 gives 2):
// the processor's default rounding. Values beyond 32 bits are held at the nearest limit.
inline int32_t RoundHalfEven(double v) {
    const double r = std::nearbyint(v);
    if (!(r > -2147483648.0)) {
        return INT32_MIN;
    }
    if (r > 2147483647.0) {
        return INT32_MAX;
    }
    return static_cast<int32_t>(r);
}
