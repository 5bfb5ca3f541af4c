#pragma once

#include "platform/base/Rect.h"

#include <cmath>
#include <cstdint>
#include <limits>

// Integer helpers shared by the sprite classes. Positions are doubles and sizes are set
// freely by the owner, so every conversion saturates instead of overflowing.
namespace sprite_geometry {

// Truncation toward zero (-0.5 gives 0, 15.9 gives 15), saturated to int32; NaN gives 0.
inline int32_t TruncToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}

inline int32_t SaturateInt32(int64_t value) {
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}

// The rectangle of the given size at (x, y), its far edges saturated.
inline TRect SizedRect(int32_t x, int32_t y, int64_t width, int64_t height) {
    return TRect{x, y, SaturateInt32(x + width), SaturateInt32(y + height)};
}

// The remainder brought into 0 .. divisor - 1; divisor must be positive.
inline int64_t FloorMod(int64_t value, int64_t divisor) {
    int64_t r = value % divisor;
    return r < 0 ? r + divisor : r;
}

// The common part of two rectangles, or (0, 0, 0, 0) when they do not overlap.
inline TRect IntersectRect(const TRect& a, const TRect& b) {
    if (!OverlapRect(a, b)) {
        return TRect{};
    }
    return TRect{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
                 a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
}

} // namespace sprite_geometry
