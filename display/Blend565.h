#pragma once

#include <cstdint>

// Opacity blending of the 16-bit 565 display format with the rounding of the channel-by-channel rule:
// red and green as (s * a + d * (255 - a)) >> 8 and blue as (s * a + d * (256 - a)) >> 8, each
// channel read as an 8-bit value with its low bits zero.
namespace dxrender {

// One pixel q under p at opacity a (1..254).
uint32_t Blend565(uint32_t p, uint32_t q, uint32_t a);

// n pixels of src over dst at opacity a (1..254); when keyed, source pixels equal to key leave the
// destination as it is. Uses SSE2 where the processor has it.
void Blend565Row(const uint8_t* src, uint8_t* dst, int n, uint32_t a, bool keyed, uint32_t key);
// The same on the portable scalar path only.
void Blend565RowScalar(const uint8_t* src, uint8_t* dst, int n, uint32_t a, bool keyed, uint32_t key);

} // namespace dxrender
