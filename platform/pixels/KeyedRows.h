#pragma once

#include <cstdint>

namespace platform {

class OpaqueRuns;

// Row loops of a keyed 1:1 copy: every source pixel that differs from the key replaces the
// destination pixel under it. Three ways of doing the same thing, chosen once per copy; the
// equivalence tests hold the faster two to the pixel-by-pixel one.
namespace keyed {

// Rows of one surface area: the area's top-left pixel and the row pitch.
struct Rows {
    uint8_t* bits;
    int pitch;
};
struct ConstRows {
    const uint8_t* bits;
    int pitch;
};

// Pixel by pixel, a test and a branch each: the reference.
void CopyReference(int bpp, Rows d, ConstRows s, int w, int h, uint32_t key);
// Each destination pixel takes a select of the source pixel and itself, no branch; 16-bit rows go
// eight pixels at a time with SSE2 where the processor has it.
void CopySelect(int bpp, Rows d, ConstRows s, int w, int h, uint32_t key);
// The same select on the portable scalar path only, so that tests can hold the vector path to it.
void CopySelectScalar(int bpp, Rows d, ConstRows s, int w, int h, uint32_t key);
// Copies the opaque runs of rows [top, top + h) and columns [left, left + w) of the source surface
// the runs describe, whose pixel (0, 0) is at `source`; d is the destination of pixel (left, top).
// Uses AVX where the processor has it.
void CopyRuns(int bpp, Rows d, ConstRows source, const OpaqueRuns& runs, int left, int top, int w, int h);
// The same on the portable path only.
void CopyRunsPortable(int bpp, Rows d, ConstRows source, const OpaqueRuns& runs, int left, int top, int w, int h);

} // namespace keyed
} // namespace platform
