#include "display/Graphics.h"

namespace {
// The usual values of the system colours, by number.
platform::Rgb SystemColor(int index) {
    switch (index) {
    case 5:  // window background
    case 14: // highlighted text
        return {255, 255, 255};
    case 13: // highlight
        return {0, 120, 215};
    case 15: // button face
        return {240, 240, 240};
    case 16: // button shadow
        return {160, 160, 160};
    case 20: // button highlight
        return {255, 255, 255};
    default:
        return {0, 0, 0};
    }
}
} // namespace

platform::Rgb ColorToRGB(TColor color) {
    auto raw = static_cast<uint32_t>(color);
    if (raw & 0x80000000u) {
        return SystemColor(static_cast<int>(raw & 0xFF));
    }
    return platform::Rgb{static_cast<uint8_t>(raw), static_cast<uint8_t>(raw >> 8), static_cast<uint8_t>(raw >> 16)};
}
