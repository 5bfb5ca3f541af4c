#pragma once

#include "platform/base/Rect.h"
#include "platform/pixels/PixelFormat.h"

class TDirectDrawSurface;

// The editor's marks drawn over the field on a surface (the back buffer), each clipped to it:
// fills, frames, stripes, darkening, dotted ways and arrowheads. A surface that cannot be locked
// or filled gets nothing.
namespace overlay {

void Fill(TDirectDrawSurface& surface, TRect area, platform::Rgb colour);
// The border of `area`, `thickness` pixels wide, inside it.
void Frame(TDirectDrawSurface& surface, TRect area, platform::Rgb colour, int thickness);
// Diagonal stripes every fourth pixel, leaving the picture between them.
void Hatch(TDirectDrawSurface& surface, TRect area, platform::Rgb colour);
// Every colour channel halved, as a shade behind a text.
void Darken(TDirectDrawSurface& surface, TRect area);
// Square dots of `size` every `step` pixels along the straight way from (x0, y0) to (x1, y1).
void Dots(TDirectDrawSurface& surface, int x0, int y0, int x1, int y1, int size, int step, platform::Rgb colour);
// A filled arrowhead of `size` pixels with its tip at (x, y), pointing in a patrol direction
// (levels::Direction: 1 up, 2 right, 3 down, 4 left), outlined in black.
void Arrow(TDirectDrawSurface& surface, int x, int y, int direction, int size, platform::Rgb colour);

} // namespace overlay
