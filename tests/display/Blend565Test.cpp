#include "display/Blend565.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

// The channel rule written out: each channel widened to 8 bits with zero low bits, red and green
// blended with 255 - a, blue with 256 - a, and narrowed again by dropping the low bits.
uint32_t ByChannels(uint32_t p, uint32_t q, uint32_t a) {
    const uint32_t r = (((p >> 11) << 3) * a + ((q >> 11) << 3) * (255 - a)) >> 8;
    const uint32_t g = ((((p >> 5) & 63) << 2) * a + (((q >> 5) & 63) << 2) * (255 - a)) >> 8;
    const uint32_t b = (((p & 31) << 3) * a + ((q & 31) << 3) * (256 - a)) >> 8;
    return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
}

TEST(Blend565, OnePixelFollowsTheChannelRule) {
    std::mt19937 rng(5);
    for (uint32_t a = 1; a < 255; ++a) {
        for (int i = 0; i < 300; ++i) {
            const uint32_t p = rng() & 0xFFFF, q = rng() & 0xFFFF;
            ASSERT_EQ(dxrender::Blend565(p, q, a), ByChannels(p, q, a)) << p << " over " << q << " at " << a;
        }
    }
    // The extremes of every channel.
    EXPECT_EQ(dxrender::Blend565(0xFFFF, 0xFFFF, 1), ByChannels(0xFFFF, 0xFFFF, 1));
    EXPECT_EQ(dxrender::Blend565(0xFFFF, 0x0000, 254), ByChannels(0xFFFF, 0x0000, 254));
}

// The vector row and the scalar row agree pixel for pixel at every length (tails included), every
// opacity, keyed or not.
TEST(Blend565, VectorRowEqualsScalarRow) {
    std::mt19937 rng(9);
    for (int round = 0; round < 600; ++round) {
        const int n = static_cast<int>(rng() % 41);
        const uint32_t a = 1 + rng() % 254;
        const bool keyed = round % 2 == 1;
        const uint32_t key = rng() & 0xFFFF;
        std::vector<uint16_t> src(static_cast<std::size_t>(n) + 1), dst(src.size());
        for (std::size_t i = 0; i < src.size(); ++i) {
            src[i] = static_cast<uint16_t>(rng() % 4 == 0 ? key : rng());
            dst[i] = static_cast<uint16_t>(rng());
        }
        std::vector<uint16_t> vector = dst, scalar = dst;
        // One pixel in, so that the rows start unaligned.
        const auto* s = reinterpret_cast<const uint8_t*>(src.data() + 1);
        dxrender::Blend565Row(s, reinterpret_cast<uint8_t*>(vector.data() + 1), n - 1 < 0 ? 0 : n - 1, a, keyed, key);
        dxrender::Blend565RowScalar(s, reinterpret_cast<uint8_t*>(scalar.data() + 1), n - 1 < 0 ? 0 : n - 1, a, keyed,
                                    key);
        ASSERT_EQ(vector, scalar) << "round " << round;
        for (int i = 1; i < n; ++i) {
            const uint16_t want = keyed && src[static_cast<std::size_t>(i)] == key
                                      ? dst[static_cast<std::size_t>(i)]
                                      : static_cast<uint16_t>(ByChannels(src[static_cast<std::size_t>(i)],
                                                                         dst[static_cast<std::size_t>(i)], a));
            ASSERT_EQ(scalar[static_cast<std::size_t>(i)], want);
        }
    }
}

} // namespace
