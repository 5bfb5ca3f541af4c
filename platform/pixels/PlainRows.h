#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Copies h rows of n bytes from s to d, rows sPitch and dPitch bytes apart, between areas that do
// not overlap: an unkeyed copy, or a keyed one of an area without key pixels. Rows of 32 to 64
// bytes (a tile's or a sprite's) take two 32-byte moves where the processor has AVX.
void CopyPlainRows(uint8_t* d, int dPitch, const uint8_t* s, int sPitch, std::size_t n, int h);
// The same on the portable path only, so that tests can hold the AVX path to it.
void CopyPlainRowsPortable(uint8_t* d, int dPitch, const uint8_t* s, int sPitch, std::size_t n, int h);

} // namespace platform
