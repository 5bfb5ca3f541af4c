#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VK_COPY_AVX 1
#endif

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

#ifdef VK_COPY_AVX
// True where the processor has AVX; copies choose their AVX loops once per call by it.
inline bool HasAvx() {
    static const bool avx = __builtin_cpu_supports("avx") != 0;
    return avx;
}

// CopyBytes for loops compiled for AVX: 32 to 64 bytes (a sprite's or a tile's row) take two
// 32-byte moves instead of four 16-byte ones.
__attribute__((target("avx"))) inline void CopyBytesAvx(uint8_t* d, const uint8_t* s, std::size_t n) {
    if (n >= 32 && n <= 64) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + n - 32));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), a);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + n - 32), b);
    } else {
        CopyBytes(d, s, n);
    }
}
#endif

} // namespace platform
