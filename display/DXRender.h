#pragma once

#include "platform/base/Rect.h"

#include <cstdint>

namespace platform {
class Surface;
}

// Copies that the display hardware cannot make, drawn on the processor: scaled with opacity,
// turned, and both. Each call locks the whole destination and the whole source for its own
// duration (so a surface already locked, or a copy of a surface onto itself, draws nothing).
// A call that cannot draw draws nothing and reports nothing.
namespace dxrender {

// Scales rectangle s of source into rectangle d of dest with opacity alpha: 255 and above copies,
// 0 and below draws nothing. When transparent, source pixels equal to the source's colour key are skipped.
void DrawBlended(platform::Surface* dest, const TRect& d, platform::Surface* source, const TRect& s, bool transparent,
                 int32_t alpha);

// Draws rectangle s of source scaled to w x h and turned clockwise by angle (1/256 of a turn) about the
// point (w * cx, h * cy) of the scaled picture, which lands on (x, y) of dest.
void DrawTurned(platform::Surface* dest, int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s,
                platform::Surface* source, double cx, double cy, bool transparent, int32_t angle);

// DrawTurned with the opacity of DrawBlended.
void DrawTurnedBlended(platform::Surface* dest, int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s,
                       platform::Surface* source, double cx, double cy, bool transparent, int32_t angle, int32_t alpha);

// Tests and benchmarks turn the fast paths (straight rows, vector blends, quarter turns) off to hold
// them to the general loops; they are on unless turned off.
void UseFastPaths(bool on);

} // namespace dxrender
