#pragma once

#include <cstdint>

namespace platform {

// A colour as red, green and blue components of 8 bits each.
struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    constexpr bool operator==(const Rgb&) const = default;
};

// The layout of one pixel in a surface. 8-bit surfaces are indexed; their index is
// read as 3-3-2 red-green-blue, the fixed table the emulated display uses in 8-bit modes.
struct PixelFormat {
    int BitCount = 16;
    bool Indexed = false;
    uint32_t RedMask = 0xF800;
    uint32_t GreenMask = 0x07E0;
    uint32_t BlueMask = 0x001F;
    uint32_t AlphaMask = 0;

    static PixelFormat ForBitCount(int bitCount);

    int BytesPerPixel() const { return BitCount / 8; }
    // The raw pixel value of a colour, as the display converts it.
    uint32_t FromRgb(Rgb c) const;
    // The colour a raw pixel value shows, each channel widened to 8 bits by replication.
    Rgb ToRgb(uint32_t raw) const;

    constexpr bool operator==(const PixelFormat&) const = default;
};

} // namespace platform
