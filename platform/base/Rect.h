#pragma once

#include <cstdint>

// A rectangle of pixels; Right and Bottom are exclusive.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    constexpr int32_t Width() const { return Right - Left; }
    constexpr int32_t Height() const { return Bottom - Top; }
    // Empty when it covers no pixel (Left >= Right or Top >= Bottom).
    constexpr bool IsEmpty() const { return Left >= Right || Top >= Bottom; }
    constexpr bool operator==(const TRect&) const = default;
};

constexpr TRect Bounds(int32_t x, int32_t y, int32_t width, int32_t height) {
    return TRect{x, y, x + width, y + height};
}

// Two rectangles overlap only when each one's Left is less than the other's Right
// and each one's Top is less than the other's Bottom; touching edges do not count.
constexpr bool OverlapRect(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}
