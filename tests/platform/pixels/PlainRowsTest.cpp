#include "platform/pixels/PlainRows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

// The chosen row copy and the portable one against a byte loop, for every row length up to past
// the largest that takes the vector moves, on random bytes, offsets and pitches; the bytes between
// the rows and around the area must stay as they are.
TEST(PlainRows, CopiesEqualAByteLoop) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> byte(0, 255), small(0, 40);
    for (std::size_t n = 0; n <= 140; ++n) {
        for (int round = 0; round < 6; ++round) {
            const int h = 1 + small(rng) % 9;
            const int sPitch = static_cast<int>(n) + small(rng), dPitch = static_cast<int>(n) + small(rng);
            const int sOff = small(rng) % 7, dOff = small(rng) % 7;
            std::vector<uint8_t> source(static_cast<std::size_t>(sOff + sPitch * h + 8));
            std::vector<uint8_t> expected(static_cast<std::size_t>(dOff + dPitch * h + 8));
            for (uint8_t& b : source) {
                b = static_cast<uint8_t>(byte(rng));
            }
            for (uint8_t& b : expected) {
                b = static_cast<uint8_t>(byte(rng));
            }
            std::vector<uint8_t> chosen = expected, portable = expected;
            for (int y = 0; y < h; ++y) {
                for (std::size_t i = 0; i < n; ++i) {
                    expected[dOff + y * dPitch + i] = source[sOff + y * sPitch + i];
                }
            }
            platform::CopyPlainRows(chosen.data() + dOff, dPitch, source.data() + sOff, sPitch, n, h);
            platform::CopyPlainRowsPortable(portable.data() + dOff, dPitch, source.data() + sOff, sPitch, n, h);
            SCOPED_TRACE(testing::Message() << n << " bytes x " << h);
            ASSERT_EQ(chosen, expected);
            ASSERT_EQ(portable, expected);
        }
    }
}

} // namespace
