#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace platform {

// Reading and writing one raw pixel of Bpp bytes, little-endian; the pixel loops are
// specialised on these so that no per-pixel branch on the format remains.
template <int Bpp> struct Px;

template <> struct Px<1> {
    static uint32_t Get(const uint8_t* p) { return *p; }
    static void Set(uint8_t* p, uint32_t v) { *p = static_cast<uint8_t>(v); }
};

template <> struct Px<2> {
    static uint32_t Get(const uint8_t* p) {
        uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    }
    static void Set(uint8_t* p, uint32_t v) {
        auto w = static_cast<uint16_t>(v);
        std::memcpy(p, &w, 2);
    }
};

template <> struct Px<3> {
    static uint32_t Get(const uint8_t* p) { return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16); }
    static void Set(uint8_t* p, uint32_t v) {
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
        p[2] = static_cast<uint8_t>(v >> 16);
    }
};

template <> struct Px<4> {
    static uint32_t Get(const uint8_t* p) {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    static void Set(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
};

// Calls f with the pixel size in bytes as a compile-time constant (std::integral_constant), so that
// a pixel loop specialised on it is chosen once per call; any size but 1, 2 and 3 counts as 4.
template <class F> decltype(auto) WithPixelSize(int bpp, F&& f) {
    switch (bpp) {
    case 1:
        return f(std::integral_constant<int, 1>{});
    case 2:
        return f(std::integral_constant<int, 2>{});
    case 3:
        return f(std::integral_constant<int, 3>{});
    default:
        return f(std::integral_constant<int, 4>{});
    }
}

} // namespace platform
