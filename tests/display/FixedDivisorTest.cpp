#include "display/FixedDivisor.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Against the division operator on numerators and divisors of every sign and size, exact quotients
// and the numerators around them included, where an estimate through a reciprocal goes wrong first.
TEST(FixedDivisor, TruncatesAsTheDivisionOperator) {
    std::mt19937_64 rng(7);
    const int64_t divisors[] = {1, -1, 2, -2, 3, 7, -7, 65536, -65536, 65535, 98304, -123457, 2147483647, -2147483647};
    for (int64_t d : divisors) {
        const dxrender::FixedDivisor div(d);
        for (int64_t q : {int64_t{0}, int64_t{1}, int64_t{-1}, int64_t{12345}, int64_t{-99999}, int64_t{1} << 20}) {
            for (int64_t delta = -2; delta <= 2; ++delta) {
                const int64_t n = q * d + delta;
                ASSERT_EQ(div(n), n / d) << n << " / " << d;
            }
        }
        for (int i = 0; i < 20000; ++i) {
            const int shift = static_cast<int>(rng() % 51);
            const int64_t n = static_cast<int64_t>(rng() >> (13 + shift)) * (rng() % 2 == 0 ? 1 : -1);
            ASSERT_EQ(div(n), n / d) << n << " / " << d;
        }
    }
}

TEST(FixedDivisor, DividesHugeNumeratorsToo) {
    const dxrender::FixedDivisor div(3);
    const int64_t n = (int64_t{1} << 62) + 5;
    EXPECT_EQ(div(n), n / 3);
    EXPECT_EQ(div(-n), -n / 3);
}

} // namespace
