#include "display/TurnGeometry.h"

#include "display/RenderCall.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <numbers>

namespace dxrender {

namespace {

// cos(2 pi i / 256) for the 256 angle steps, worked out in extended precision once.
const std::array<double, 256>& CosTable() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (std::size_t i = 0; i < t.size(); ++i) {
            t[i] =
                static_cast<double>(std::cos(2 * std::numbers::pi_v<long double> * static_cast<long double>(i) / 256));
        }
        return t;
    }();
    return table;
}

// Truncates toward zero; false for a value that is not a number or too large to work with. It rounds
// to nearest and corrects toward zero: a plain conversion switches the rounding mode of the x87 unit
// twice, which costs more than all the rest of a turned copy's geometry.
bool Trunc(long double v, int64_t& out) {
    constexpr long double limit = 4611686018427387904.0L; // 2^62
    if (!(v > -limit && v < limit)) {
        return false;
    }
    int64_t r = std::llrint(v);
    if (v >= 0 && static_cast<long double>(r) > v) {
        --r;
    } else if (v < 0 && static_cast<long double>(r) < v) {
        ++r;
    }
    out = r;
    return true;
}

// A size times a 16.16 factor divided by a size, truncated toward zero and kept in 32 bits.
int32_t MulDivTrunc(int64_t a, int64_t b, int64_t c) {
    return static_cast<int32_t>(a * b / c);
}

// What a turned copy's geometry owes to the picture alone (its size, turning point and angle, and
// the source size), not to where it lands: the turned corners relative to the landing point, the
// source steps and the source position of the landing point.
struct TurnShape {
    int64_t minX = 0;
    int64_t maxX = 0;
    int64_t minY = 0;
    int64_t maxY = 0;
    int64_t dxx = 0;
    int64_t dyx = 0;
    int64_t dxy = 0;
    int64_t dyy = 0;
    int64_t ox = 0;
    int64_t oy = 0;
};

bool MakeTurnShape(int32_t w, int32_t h, int32_t sw, int32_t sh, double cx, double cy, int32_t angle, TurnShape& t) {
    const std::array<double, 256>& table = CosTable();
    const auto turn = static_cast<uint32_t>(angle);
    const long double c = table[turn & 255];
    const long double n = table[(turn + 192) & 255];

    // The turned corners of the w x h picture.
    t.minX = std::numeric_limits<int64_t>::max();
    t.minY = t.minX;
    t.maxX = std::numeric_limits<int64_t>::min();
    t.maxY = t.maxX;
    const std::array<int32_t, 4> cornerX{0, w, 0, w};
    const std::array<int32_t, 4> cornerY{0, 0, h, h};
    for (std::size_t i = 0; i < 4; ++i) {
        int64_t ax = 0, by = 0, tx = 0, ty = 0;
        if (!Trunc(cornerX[i] - static_cast<long double>(w) * cx, ax) ||
            !Trunc(cornerY[i] - static_cast<long double>(h) * cy, by)) {
            return false;
        }
        const auto la = static_cast<long double>(ax), lb = static_cast<long double>(by);
        if (!Trunc(la * c - lb * n, tx) || !Trunc(la * n + lb * c, ty)) {
            return false;
        }
        t.minX = std::min(t.minX, tx);
        t.maxX = std::max(t.maxX, tx);
        t.minY = std::min(t.minY, ty);
        t.maxY = std::max(t.maxY, ty);
    }

    // Source steps of the inverse turn for one pixel right (dxx, dyx) and one row down (-dxy, dyy).
    const uint32_t back = 0u - turn;
    int64_t ic = 0, is = 0;
    Trunc(table[back & 255] * 65536.0L, ic);
    Trunc(table[(back + 192) & 255] * 65536.0L, is);
    t.dxx = MulDivTrunc(sw, ic, w);
    t.dyx = MulDivTrunc(sh, is, h);
    t.dxy = MulDivTrunc(sw, is, w);
    t.dyy = MulDivTrunc(sh, ic, h);
    return Trunc(sw * static_cast<long double>(cx) * 65536, t.ox) &&
           Trunc(sh * static_cast<long double>(cy) * 65536, t.oy);
}

// The shape of the last picture turned on this thread: a sprite drawn frame after frame at the same
// angle is worked out once, which matters because the extended-precision corners cost about as much
// as turning a small picture.
bool RememberedTurnShape(int32_t w, int32_t h, int32_t sw, int32_t sh, double cx, double cy, int32_t angle,
                         TurnShape& t) {
    struct Memo {
        bool valid = false;
        int32_t w = 0, h = 0, sw = 0, sh = 0, angle = 0;
        uint64_t cx = 0, cy = 0;
        bool ok = false;
        TurnShape shape;
    };
#if defined(__wasm__) && !defined(__wasm_atomics__)
    // A WebAssembly build without threads has one thread; its linker refuses thread-local
    // storage next to bulk memory operations unless atomics are on too.
    static Memo memo;
#else
    thread_local Memo memo;
#endif
    // The centre is compared bit for bit (memcpy rather than bit_cast: the browser build's
    // standard library lacks the latter).
    uint64_t bx = 0, by = 0;
    std::memcpy(&bx, &cx, sizeof bx);
    std::memcpy(&by, &cy, sizeof by);
    if (!memo.valid || memo.w != w || memo.h != h || memo.sw != sw || memo.sh != sh ||
        ((memo.angle ^ angle) & 255) != 0 || memo.cx != bx || memo.cy != by) {
        memo.valid = true;
        memo.w = w;
        memo.h = h;
        memo.sw = sw;
        memo.sh = sh;
        memo.angle = angle;
        memo.cx = bx;
        memo.cy = by;
        memo.ok = MakeTurnShape(w, h, sw, sh, cx, cy, angle, memo.shape);
    }
    t = memo.shape;
    return memo.ok;
}

} // namespace

bool TurnedGeometry(const platform::Surface& dest, int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s,
                    double cx, double cy, int32_t angle, TurnedArea& a) {
    TurnShape t;
    const bool shaped = FastPaths() ? RememberedTurnShape(w, h, s.Width(), s.Height(), cx, cy, angle, t)
                                    : MakeTurnShape(w, h, s.Width(), s.Height(), cx, cy, angle, t);
    if (!shaped) {
        return false;
    }
    // The destination box: the turned corners, clipped to the destination.
    const int64_t width = dest.Width(), height = dest.Height();
    const int64_t minX = std::max<int64_t>(t.minX + x, 0);
    const int64_t minY = std::max<int64_t>(t.minY + y, 0);
    const int64_t maxX = std::min(t.maxX + x, width);
    const int64_t maxY = std::min(t.maxY + y, height);
    if (minX > width || maxX < 1 || maxX - minX < 1 || minY > height || maxY < 1 || maxY - minY < 1) {
        return false;
    }
    a.dxx = t.dxx;
    a.dyx = t.dyx;
    a.dxy = t.dxy;
    a.dyy = t.dyy;

    // The source position of (minX, minY), in 32-bit arithmetic that wraps.
    const auto u = [](int64_t v) { return static_cast<uint32_t>(v); };
    a.sx = u(t.ox) + u(minX - x) * u(a.dxx) + u(y - minY) * u(a.dxy) + (u(s.Left) << 16);
    a.sy = u(t.oy) + u(minX - x) * u(a.dyx) - u(y - minY) * u(a.dyy) + (u(s.Top) << 16);

    a.minX = static_cast<int32_t>(minX);
    a.minY = static_cast<int32_t>(minY);
    a.maxY = static_cast<int32_t>(maxY);
    a.destWidth = static_cast<int32_t>(width);
    a.left = int64_t{s.Left} * 65536;
    a.top = int64_t{s.Top} * 65536;
    a.right = int64_t{s.Right} * 65536;
    a.bottom = int64_t{s.Bottom} * 65536;
    return true;
}

RowRun RowRunFor(const TurnedArea& a, int32_t sx, int32_t sy) {
    int64_t k = 0;
    if (a.dxx > 0 && a.left > sx) {
        k = Div(a.left - sx + a.dxx - 1, a.dxx);
    } else if (a.dxx < 0 && a.right <= sx) {
        k = Div(a.right - sx + a.dxx, a.dxx);
    }
    if (a.dyx > 0 && a.top > sy) {
        k = std::max(k, Div(a.top - sy + a.dyx - 1, a.dyx));
    } else if (a.dyx < 0 && a.bottom <= sy) {
        k = std::max(k, Div(a.bottom - sy + a.dyx, a.dyx));
    }
    const int64_t room = a.destWidth - (a.minX + k);
    if (room < 1) {
        return {};
    }
    const int64_t px = sx + k * a.dxx;
    const int64_t py = sy + k * a.dyx;
    int64_t m = a.dxx >= 0 ? Div(a.right - px, std::max<int64_t>(a.dxx, 1)) : Div(px - a.left, -a.dxx);
    m = std::min(m, a.dyx >= 0 ? Div(a.bottom - py, std::max<int64_t>(a.dyx, 1)) : Div(py - a.top, -a.dyx));
    m = std::min(m, room);
    // A zero step never moves a position that starts before the rectangle into it; such a row
    // would otherwise read outside the source.
    if ((a.dxx == 0 && px < a.left) || (a.dyx == 0 && py < a.top)) {
        m = 0;
    }
    return {k, m, static_cast<uint32_t>(px), static_cast<uint32_t>(py)};
}

} // namespace dxrender
