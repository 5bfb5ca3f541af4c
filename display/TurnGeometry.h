#pragma once

#include "display/FixedDivisor.h"

#include "platform/base/Rect.h"
#include "platform/pixels/Surface.h"

#include <algorithm>
#include <cstdint>

// The geometry of a turned copy: which destination pixels it covers and where in the source each
// row of them starts and steps, in 16.16 fixed point.
namespace dxrender {

// The covered rows of a turned copy, the 16.16 source position of their first pixel, the source
// steps along a row and from row to row, and the source rectangle in 16.16.
struct TurnedArea {
    int32_t minX = 0;
    int32_t minY = 0;
    int32_t maxY = 0;
    int32_t destWidth = 0;
    uint32_t sx = 0;
    uint32_t sy = 0;
    int64_t dxx = 0;
    int64_t dyx = 0;
    int64_t dxy = 0;
    int64_t dyy = 0;
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;
};

// Works out the area of rectangle s of a source scaled to w x h, turned by angle (1/256 of a turn)
// about (w * cx, h * cy) and landing on (x, y) of dest; false when nothing of it lands on dest.
bool TurnedGeometry(const platform::Surface& dest, int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s,
                    double cx, double cy, int32_t angle, TurnedArea& a);

// The part of one destination row whose source positions fall inside the source rectangle:
// `skip` pixels from minX, then `count` pixels starting at source position (sx, sy).
struct RowRun {
    int64_t skip = 0;
    int64_t count = 0;
    uint32_t sx = 0;
    uint32_t sy = 0;
};

// Division truncating toward zero.
inline int64_t Div(int64_t n, int64_t d) {
    return n / d;
}

// The run of the row whose first covered pixel has source position (sx, sy): the general rule.
RowRun RowRunFor(const TurnedArea& a, int32_t sx, int32_t sy);

// RowRunFor with its divisions by the row steps made through FixedDivisor, worked out once per
// copy. Division by a negated step is the negated division, and by a step of 1 no division at all,
// so the runs are those of RowRunFor.
struct RowRunner {
    explicit RowRunner(const TurnedArea& area) : a(area), byX(a.dxx != 0 ? a.dxx : 1), byY(a.dyx != 0 ? a.dyx : 1) {}

    RowRun operator()(int32_t sx, int32_t sy) const {
        int64_t k = 0;
        if (a.dxx > 0 && a.left > sx) {
            k = byX(a.left - sx + a.dxx - 1);
        } else if (a.dxx < 0 && a.right <= sx) {
            k = byX(a.right - sx + a.dxx);
        }
        if (a.dyx > 0 && a.top > sy) {
            k = std::max(k, byY(a.top - sy + a.dyx - 1));
        } else if (a.dyx < 0 && a.bottom <= sy) {
            k = std::max(k, byY(a.bottom - sy + a.dyx));
        }
        const int64_t room = a.destWidth - (a.minX + k);
        if (room < 1) {
            return {};
        }
        const int64_t px = sx + k * a.dxx;
        const int64_t py = sy + k * a.dyx;
        int64_t m = a.dxx > 0 ? byX(a.right - px) : a.dxx == 0 ? a.right - px : -byX(px - a.left);
        m = std::min(m, a.dyx > 0 ? byY(a.bottom - py) : a.dyx == 0 ? a.bottom - py : -byY(py - a.top));
        m = std::min(m, room);
        if ((a.dxx == 0 && px < a.left) || (a.dyx == 0 && py < a.top)) {
            m = 0;
        }
        return {k, m, static_cast<uint32_t>(px), static_cast<uint32_t>(py)};
    }

    TurnedArea a;
    FixedDivisor byX;
    FixedDivisor byY;
};

} // namespace dxrender
