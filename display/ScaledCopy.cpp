// Copies scaled from a source rectangle into a destination rectangle with opacity. The geometry is
// worked out once per call, clipped to the destination, so that every source position the loop
// steps through lies inside the source rectangle.
#include "display/DXRender.h"
#include "display/RenderCall.h"

#include <algorithm>
#include <cstddef>

namespace dxrender {

namespace {

using platform::Surface;

// The destination pixels a scaled copy covers and the 16.16 source position of the first of them.
struct ScaledArea {
    int32_t left = 0;
    int32_t top = 0;
    int32_t cols = 0;
    int32_t rows = 0;
    uint32_t sx0 = 0;
    uint32_t sy0 = 0;
    uint32_t stepX = 0;
    uint32_t stepY = 0;
};

// The loops work on their own copies of the operation and the geometry: pixel stores go through
// byte pointers, which may alias anything in memory the loop could otherwise only read.
template <class Op> void ScaledRows(const Op& shared, const Job& j, const ScaledArea& area) {
    const Op op = shared;
    const ScaledArea a = area;
    uint32_t sy = a.sy0;
    for (int32_t row = 0; row < a.rows; ++row, sy += a.stepY) {
        const uint8_t* src = j.srcBits + static_cast<std::ptrdiff_t>(sy >> 16) * j.srcPitch;
        uint8_t* dst = j.dstBits + static_cast<std::ptrdiff_t>(a.top + row) * j.dstPitch +
                       static_cast<std::ptrdiff_t>(a.left) * Op::DstBytes;
        uint32_t sx = a.sx0;
        for (int32_t i = 0; i < a.cols; ++i, sx += a.stepX, dst += Op::DstBytes) {
            op(src + static_cast<std::size_t>(sx >> 16) * Op::SrcBytes, dst);
        }
    }
}

// A copy at its own size: each destination row takes a straight run of one source row.
template <class Op> void UnscaledRows(const Op& shared, const Job& j, const ScaledArea& area) {
    const Op op = shared;
    const ScaledArea a = area;
    const std::size_t sx = a.sx0 >> 16;
    const std::size_t sy = a.sy0 >> 16;
    for (int32_t row = 0; row < a.rows; ++row) {
        const uint8_t* src = j.srcBits + static_cast<std::ptrdiff_t>(sy + row) * j.srcPitch + sx * Op::SrcBytes;
        uint8_t* dst = j.dstBits + static_cast<std::ptrdiff_t>(a.top + row) * j.dstPitch +
                       static_cast<std::ptrdiff_t>(a.left) * Op::DstBytes;
        op.Row(src, dst, a.cols);
    }
}

// Works out the covered pixels of a scaled copy of s into d: d clipped to the destination, and the
// source position of its first pixel skipped on by the clipped-off part. All in 64 bits, so that
// no rectangle, however large, can wrap a position back into range.
bool ScaledGeometry(const Surface& dest, const Surface& source, const TRect& d, const TRect& s, ScaledArea& a) {
    if (d.IsEmpty()) {
        return false;
    }
    const int64_t fullW = int64_t{d.Right} - d.Left;
    const int64_t fullH = int64_t{d.Bottom} - d.Top;
    int64_t left = d.Left, top = d.Top;
    int64_t skipX = 0, skipY = 0;
    if (left < 0) {
        skipX = -left;
        left = 0;
    }
    if (top < 0) {
        skipY = -top;
        top = 0;
    }
    const int64_t right = std::min<int64_t>(d.Right, dest.Width());
    const int64_t bottom = std::min<int64_t>(d.Bottom, dest.Height());
    if (right < 1 || right - left < 1 || bottom < 1 || bottom - top < 1) {
        return false;
    }
    const int64_t stepX = int64_t{s.Width()} * 65536 / fullW;
    const int64_t stepY = int64_t{s.Height()} * 65536 / fullH;
    const int64_t sx0 = stepX * skipX + int64_t{s.Left} * 65536;
    const int64_t sy0 = stepY * skipY + int64_t{s.Top} * 65536;
    if (sx0 < 0 || sy0 < 0 || (sx0 + stepX * (right - left)) >> 16 > source.Width() ||
        (sy0 + stepY * (bottom - top)) >> 16 > source.Height()) {
        return false;
    }
    a = ScaledArea{static_cast<int32_t>(left),         static_cast<int32_t>(top),   static_cast<int32_t>(right - left),
                   static_cast<int32_t>(bottom - top), static_cast<uint32_t>(sx0),  static_cast<uint32_t>(sy0),
                   static_cast<uint32_t>(stepX),       static_cast<uint32_t>(stepY)};
    return true;
}

} // namespace

void DrawBlended(Surface* dest, const TRect& d, Surface* source, const TRect& s, bool transparent, int32_t alpha) {
    if (alpha <= 0 || !CanDraw(dest, source, s)) {
        return;
    }
    ScaledArea area;
    if (!ScaledGeometry(*dest, *source, d, s, area)) {
        return;
    }
    if (FastPaths() && area.stepX == 0x10000 && area.stepY == 0x10000) {
        Run(*dest, *source, transparent, true, alpha,
            [&](const auto& op, const Job& job) { UnscaledRows(op, job, area); });
        return;
    }
    Run(*dest, *source, transparent, true, alpha, [&](const auto& op, const Job& job) { ScaledRows(op, job, area); });
}

} // namespace dxrender
