#pragma once

#include <cmath>
#include <cstdint>

// The nearest integer, an exact half going to the even neighbour (0.5 gives 0, 1.5 gives 2).
inline int32_t RoundHalfEven(double v) {
    double r = std::round(v);
    if (std::fabs(v - std::trunc(v)) == 0.5) {
        r = 2.0 * std::round(v / 2.0);
    }
    return static_cast<int32_t>(r);
}
