#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace platform {

// Copies n bytes between areas that do not overlap. Runs are short (a sprite's row, a tile's row),
// where a call to memcpy costs more than the copy itself: fixed-size pieces compile to plain moves,
// and the last piece overlaps the one before it instead of handling a remainder.
inline void CopyBytes(uint8_t* d, const uint8_t* s, std::size_t n) {
    if (n > 32) {
        if (n > 64) {
            std::memcpy(d, s, n);
            return;
        }
        std::memcpy(d, s, 16);
        std::memcpy(d + 16, s + 16, 16);
        std::memcpy(d + n - 32, s + n - 32, 16);
        std::memcpy(d + n - 16, s + n - 16, 16);
    } else if (n >= 16) {
        uint8_t a[16], b[16];
        std::memcpy(a, s, 16);
        std::memcpy(b, s + n - 16, 16);
        std::memcpy(d, a, 16);
        std::memcpy(d + n - 16, b, 16);
    } else if (n >= 8) {
        uint64_t a, b;
        std::memcpy(&a, s, 8);
        std::memcpy(&b, s + n - 8, 8);
        std::memcpy(d, &a, 8);
        std::memcpy(d + n - 8, &b, 8);
    } else if (n >= 4) {
        uint32_t a, b;
        std::memcpy(&a, s, 4);
        std::memcpy(&b, s + n - 4, 4);
        std::memcpy(d, &a, 4);
        std::memcpy(d + n - 4, &b, 4);
    } else if (n >= 2) {
        uint16_t a, b;
        std::memcpy(&a, s, 2);
        std::memcpy(&b, s + n - 2, 2);
        std::memcpy(d, &a, 2);
        std::memcpy(d + n - 2, &b, 2);
    } else if (n == 1) {
        *d = *s;
    }
}

} // namespace platform
