#pragma once

#include <cstdint>

namespace dxrender {

// Division by a divisor fixed for a whole copy, truncating toward zero exactly as `/` does, without a
// division instruction per use: the quotient estimated through the divisor's reciprocal is at most
// one off while numerators stay below 2^52, and the remainder corrects it. Larger numerators divide.
class FixedDivisor {
public:
    explicit FixedDivisor(int64_t divisor)
        : divisor_(divisor), reciprocal_(1.0 / static_cast<double>(divisor)), step_(divisor > 0 ? 1 : -1),
          magnitude_(divisor > 0 ? divisor : -divisor) {}

    int64_t operator()(int64_t n) const {
        constexpr int64_t limit = int64_t{1} << 52;
        if (n >= limit || n <= -limit) {
            return n / divisor_;
        }
        int64_t q = static_cast<int64_t>(static_cast<double>(n) * reciprocal_);
        // The remainder of a truncating division has the sign of the numerator and is smaller than
        // the divisor; a quotient one too far from zero or one too near shows in the remainder.
        for (;;) {
            const int64_t r = n - q * divisor_;
            if (n >= 0 ? r < 0 : r > 0) {
                q -= n >= 0 ? step_ : -step_;
            } else if (n >= 0 ? r >= magnitude_ : r <= -magnitude_) {
                q += n >= 0 ? step_ : -step_;
            } else {
                return q;
            }
        }
    }

private:
    int64_t divisor_;
    double reciprocal_;
    int64_t step_;
    int64_t magnitude_;
};

} // namespace dxrender
