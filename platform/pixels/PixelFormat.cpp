#include "platform/pixels/PixelFormat.h"

#include <bit>

namespace platform {

namespace {
uint32_t Pack(uint8_t value, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int low = std::countr_zero(mask);
    int bits = std::popcount(mask);
    return (static_cast<uint32_t>(value >> (8 - bits)) << low) & mask;
}

uint8_t Unpack(uint32_t raw, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int low = std::countr_zero(mask);
    int bits = std::popcount(mask);
    uint32_t v = (raw & mask) >> low;
    // Replicate the top bits into the low ones so that full intensity reads as 255.
    uint32_t wide = v << (8 - bits);
    for (int filled = bits; filled < 8; filled += bits) {
        wide |= v << (8 - bits) >> filled;
    }
    return static_cast<uint8_t>(wide);
}
} // namespace

PixelFormat PixelFormat::ForBitCount(int bitCount) {
    switch (bitCount) {
    case 8:
        return PixelFormat{8, true, 0xE0, 0x1C, 0x03, 0};
    case 24:
        return PixelFormat{24, false, 0xFF0000, 0x00FF00, 0x0000FF, 0};
    case 32:
        return PixelFormat{32, false, 0xFF0000, 0x00FF00, 0x0000FF, 0};
    default:
        return PixelFormat{16, false, 0xF800, 0x07E0, 0x001F, 0};
    }
}

uint32_t PixelFormat::FromRgb(Rgb c) const {
    return Pack(c.r, RedMask) | Pack(c.g, GreenMask) | Pack(c.b, BlueMask);
}

Rgb PixelFormat::ToRgb(uint32_t raw) const {
    return Rgb{Unpack(raw, RedMask), Unpack(raw, GreenMask), Unpack(raw, BlueMask)};
}

} // namespace platform
