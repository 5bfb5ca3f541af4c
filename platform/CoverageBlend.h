#pragma once

#include "platform/PixelFormat.h"
#include "platform/Rect.h"

namespace platform {

class Surface;
struct CoverageImage;

// Lays text coverage over a surface's pixels in one colour: `box` of the target (already clipped
// to it) takes the coverage from (srcX, srcY) of `glyphs` on. Each channel becomes
// (colour * a + under * (255 - a) + 127) / 255 with the pixel read as 8-bit channels by replication.
namespace coverage {

// Chooses the loop for the target's format once: 16-bit 565 with its shifts fixed, else the general one.
void Blend(Surface& target, const CoverageImage& glyphs, const TRect& box, int srcX, int srcY, Rgb color);
// Every pixel through the format's own conversions: the reference.
void BlendGeneral(Surface& target, const CoverageImage& glyphs, const TRect& box, int srcX, int srcY, Rgb color);

} // namespace coverage
} // namespace platform
