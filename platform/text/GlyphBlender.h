#pragma once

#include "platform/pixels/PixelFormat.h"

#include <cstdint>

namespace platform {

class Surface;

// Rendered text as coverage: one 8-bit value per pixel (0 none, 255 full), `Step` bytes apart
// within a row and `Pitch` bytes from row to row, so that the alpha channel of an RGBA or ARGB
// image can be read in place.
struct GlyphCoverage {
    const uint8_t* Alpha = nullptr;
    int Width = 0;
    int Height = 0;
    int Step = 1;
    int Pitch = 0;
};

// Lays rendered text over `target` with the top-left corner of the glyph image at (x, y): with a
// background colour the image's whole box is filled first; then every covered pixel takes the
// text colour mixed over what is there by its coverage, full coverage storing the colour as it is.
// Clipped to the target; every back-end's text goes through here, so all of them blend alike.
// The 16-bit 565 format is blended with its channel shifts fixed, every other through the format's
// own conversions.
void BlendGlyphs(Surface& target, int x, int y, const GlyphCoverage& glyphs, Rgb color, const Rgb* background);
// BlendGlyphs with every format through its own conversions: the reference for the 565 loop.
void BlendGlyphsGeneral(Surface& target, int x, int y, const GlyphCoverage& glyphs, Rgb color, const Rgb* background);

} // namespace platform
