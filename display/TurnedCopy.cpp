// Copies turned by any angle, scaled and with opacity. The geometry gives each destination row the
// run of pixels whose source positions fall inside the source rectangle, so the loops step through
// them unchecked.
#include "display/DXRender.h"
#include "display/RenderCall.h"
#include "display/TurnGeometry.h"

#include <algorithm>
#include <cstddef>

namespace dxrender {

namespace {

using platform::Surface;

template <class Op> void TurnedRows(const Op& shared, const Job& j, const TurnedArea& area) {
    const Op op = shared;
    const TurnedArea a = area;
    const auto dxx = static_cast<uint32_t>(a.dxx), dyx = static_cast<uint32_t>(a.dyx);
    const bool fast = FastPaths();
    const RowRunner runner(a);
    uint32_t sx = a.sx, sy = a.sy;
    for (int32_t y = a.minY; y < a.maxY; ++y, sx -= static_cast<uint32_t>(a.dxy), sy += static_cast<uint32_t>(a.dyy)) {
        const RowRun run = fast ? runner(static_cast<int32_t>(sx), static_cast<int32_t>(sy))
                                : RowRunFor(a, static_cast<int32_t>(sx), static_cast<int32_t>(sy));
        if (run.count < 1) {
            continue;
        }
        uint8_t* dst = j.dstBits + static_cast<std::ptrdiff_t>(y) * j.dstPitch +
                       static_cast<std::ptrdiff_t>(a.minX + run.skip) * Op::DstBytes;
        uint32_t px = run.sx, py = run.sy;
        for (int64_t i = 0; i < run.count; ++i, px += dxx, py += dyx, dst += Op::DstBytes) {
            op(j.srcBits + static_cast<std::ptrdiff_t>(py >> 16) * j.srcPitch +
                   static_cast<std::size_t>(px >> 16) * Op::SrcBytes,
               dst);
        }
    }
}

// A turn by whole quarter turns steps along a row on one source axis only, and the position on that
// axis is the same on every row (dxx and dyy are zero, or dyx and dxy are). Everything RowRunFor works
// out from that axis, divisions included, is then the same for every row and is worked out once; the
// other axis needs only a subtraction and a test per row. Row by row the runs are those of RowRunFor.
template <class Op> void QuarterRows(const Op& shared, const Job& j, const TurnedArea& area) {
    const Op op = shared;
    const TurnedArea a = area;
    const bool alongY = a.dxx == 0 && a.dyy == 0;
    uint32_t sx = a.sx, sy = a.sy;
    const int64_t p = alongY ? static_cast<int32_t>(sy) : static_cast<int32_t>(sx);
    const int64_t d = alongY ? a.dyx : a.dxx;
    const int64_t low = alongY ? a.top : a.left, high = alongY ? a.bottom : a.right;
    const int64_t fixedLow = alongY ? a.left : a.top, fixedHigh = alongY ? a.right : a.bottom;
    int64_t k = 0;
    if (d > 0 && low > p) {
        k = Div(low - p + d - 1, d);
    } else if (d < 0 && high <= p) {
        k = Div(high - p + d, d);
    }
    const int64_t room = a.destWidth - (a.minX + k);
    const int64_t q = p + k * d;
    if (room < 1 || (d == 0 && q < low)) {
        return;
    }
    const int64_t most = std::min(d >= 0 ? Div(high - q, std::max<int64_t>(d, 1)) : Div(q - low, -d), room);
    const auto dxx = static_cast<uint32_t>(a.dxx), dyx = static_cast<uint32_t>(a.dyx);
    // Stores go through byte pointers, which could alias the job: its fields are read once here.
    const uint8_t* const srcBits = j.srcBits;
    uint8_t* const dstBits = j.dstBits;
    const std::ptrdiff_t srcPitch = j.srcPitch, dstPitch = j.dstPitch;
    // A step of whole pixels along the row (and a position that starts on a pixel boundary or not,
    // which the shift takes care of at the start) moves the address by whole pixels or rows.
    const bool whole = d % 65536 == 0;
    const std::ptrdiff_t stride = alongY ? (d / 65536) * srcPitch : (d / 65536) * Op::SrcBytes;
    for (int32_t y = a.minY; y < a.maxY; ++y, sx -= static_cast<uint32_t>(a.dxy), sy += static_cast<uint32_t>(a.dyy)) {
        const int64_t f = alongY ? static_cast<int32_t>(sx) : static_cast<int32_t>(sy);
        const int64_t count = f < fixedLow ? 0 : std::min(most, fixedHigh - f);
        if (count < 1) {
            continue;
        }
        uint8_t* dst = dstBits + static_cast<std::ptrdiff_t>(y) * dstPitch +
                       static_cast<std::ptrdiff_t>(a.minX + k) * Op::DstBytes;
        auto px = static_cast<uint32_t>(alongY ? f : q), py = static_cast<uint32_t>(alongY ? q : f);
        const uint8_t* src = srcBits + static_cast<std::ptrdiff_t>(py >> 16) * srcPitch +
                             static_cast<std::size_t>(px >> 16) * Op::SrcBytes;
        if (whole) {
            // Every step moves whole pixels: the source address moves by a fixed number of bytes.
            for (int64_t i = 0; i < count; ++i, src += stride, dst += Op::DstBytes) {
                op(src, dst);
            }
            continue;
        }
        for (int64_t i = 0; i < count; ++i, px += dxx, py += dyx, dst += Op::DstBytes) {
            op(srcBits + static_cast<std::ptrdiff_t>(py >> 16) * srcPitch +
                   static_cast<std::size_t>(px >> 16) * Op::SrcBytes,
               dst);
        }
    }
}

void Turned(Surface* dest, int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s, Surface* source, double cx,
            double cy, bool transparent, int32_t angle, bool blended, int32_t alpha) {
    if (!CanDraw(dest, source, s) || w == 0 || h == 0 || (blended && alpha <= 0)) {
        return;
    }
    TurnedArea area;
    if (!TurnedGeometry(*dest, x, y, w, h, s, cx, cy, angle, area)) {
        return;
    }
    if (FastPaths() && ((area.dxx == 0 && area.dyy == 0) || (area.dyx == 0 && area.dxy == 0))) {
        Run(*dest, *source, transparent, blended, alpha,
            [&](const auto& op, const Job& job) { QuarterRows(op, job, area); });
        return;
    }
    Run(*dest, *source, transparent, blended, alpha,
        [&](const auto& op, const Job& job) { TurnedRows(op, job, area); });
}

} // namespace

void DrawTurned(Surface* dest, int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s, Surface* source, double cx,
                double cy, bool transparent, int32_t angle) {
    Turned(dest, x, y, w, h, s, source, cx, cy, transparent, angle, false, 255);
}

void DrawTurnedBlended(Surface* dest, int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s, Surface* source,
                       double cx, double cy, bool transparent, int32_t angle, int32_t alpha) {
    Turned(dest, x, y, w, h, s, source, cx, cy, transparent, angle, true, alpha);
}

} // namespace dxrender
