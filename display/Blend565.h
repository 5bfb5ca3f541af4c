#pragma once

#include <cstdint>

// Opacity blending of the 16-bit 565 display format with the rounding of the channel-by-channel rule:
// red and green as (s * a + d * (255 - a)) >> 8 and blue as (s * a + d * (256 - a)) >> 8, each
// channel read as an 8-bit value with its low bits zero.
namespace dxrender {

// A 565 pixel as 8-bit red, green and blue values in bits 32, 16 and 0 of one word. Every blend sum
// stays below 65536, so the three are blended at once without carrying into each other; blue adds
// its destination value once more for the 256 - a of its formula.
inline uint64_t Spread565(uint32_t p) {
    return (uint64_t{p & 0xF800} << 24) | (uint64_t{p & 0x07E0} << 13) | ((p & 0x001F) << 3);
}

// One pixel q under p at opacity a (1..254). Inline: the turned and scaled loops blend pixel by pixel.
inline uint32_t Blend565(uint32_t p, uint32_t q, uint32_t a) {
    const uint64_t d = Spread565(q);
    const uint64_t sum = Spread565(p) * a + d * (255 - a) + (d & 0xFFFF);
    return static_cast<uint32_t>(((sum >> 32) & 0xF800) | ((sum >> 21) & 0x07E0) | ((sum >> 11) & 0x001F));
}

// n pixels of src over dst at opacity a (1..254); when keyed, source pixels equal to key leave the
// destination as it is. Uses SSE2 where the processor has it.
void Blend565Row(const uint8_t* src, uint8_t* dst, int n, uint32_t a, bool keyed, uint32_t key);
// The same on the portable scalar path only.
void Blend565RowScalar(const uint8_t* src, uint8_t* dst, int n, uint32_t a, bool keyed, uint32_t key);

} // namespace dxrender
