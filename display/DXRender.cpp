// Blended and turned copies drawn on the processor. Each call checks its arguments and works out its
// geometry once, locks both surfaces, picks a pixel loop specialised for the source format, the
// destination format, the blend mode and the keying, and runs that loop unchecked: the geometry
// guarantees that every source position it steps through lies inside the source rectangle and every
// destination pixel inside the destination.
#include "display/DXRender.h"

#include "display/Blend565.h"
#include "display/FixedDivisor.h"

#include "platform/pixels/PixelAccess.h"
#include "platform/pixels/PixelFormat.h"
#include "platform/pixels/Surface.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <numbers>

namespace dxrender {

namespace {

using platform::LockedView;
using platform::PixelFormat;
using platform::Px;
using platform::Surface;

// Off only in tests and benchmarks that hold the fast paths to the general loops.
bool fastPaths = true;

// Source positions are 16.16 fixed point in 32 bits, so a source rectangle must end before 32768.
constexpr int32_t MaxSourceEnd = 32767;

// One channel of a pixel format, read as an 8-bit value and written back from one. A mask whose
// lowest set bit is `low` and which has n bits is shifted by low + n - 8: right when that is
// positive, left when negative. Keeping both shift counts (one of them 0) avoids a branch per pixel.
struct Channel {
    uint32_t mask = 0;
    int right = 0;
    int left = 0;

    uint32_t Read(uint32_t p) const { return ((p & mask) >> right) << left; }
    uint32_t Write(uint32_t v) const { return ((v >> left) << right) & mask; }
};

Channel MakeChannel(uint32_t mask) {
    if (mask == 0) {
        return {};
    }
    const int sh = std::countr_zero(mask) + std::popcount(mask) - 8;
    return sh >= 0 ? Channel{mask, sh, 0} : Channel{mask, 0, -sh};
}

// Red, green, blue and alpha; an indexed format has its index as the first channel and no others.
using Channels = std::array<Channel, 4>;

Channels ChannelsOf(const PixelFormat& f) {
    if (f.Indexed) {
        return {MakeChannel(f.BitCount >= 32 ? 0xFFFFFFFFu : (1u << f.BitCount) - 1), {}, {}, {}};
    }
    return {MakeChannel(f.RedMask), MakeChannel(f.GreenMask), MakeChannel(f.BlueMask), MakeChannel(f.AlphaMask)};
}

bool Supported(const PixelFormat& f) {
    return f.BitCount == 8 || f.BitCount == 16 || f.BitCount == 24 || f.BitCount == 32;
}

bool IsRgb565(const PixelFormat& f) {
    return f.BitCount == 16 && !f.Indexed && f.RedMask == 0xF800 && f.GreenMask == 0x07E0 && f.BlueMask == 0x001F &&
           f.AlphaMask == 0;
}

// Identical formats whose channels have at most 8 bits convert every pixel to itself (less any bits
// outside the channels), so such a copy needs no channel work.
bool CopiesUnchanged(const PixelFormat& s, const PixelFormat& d) {
    if (!(s == d)) {
        return false;
    }
    for (const Channel& c : ChannelsOf(d)) {
        if (std::popcount(c.mask) > 8) {
            return false;
        }
    }
    return true;
}

enum class Mode { Copy, Alpha };

// How a source pixel becomes a destination pixel: Same keeps the bits of an identical format,
// Rgb565 blends the 16-bit display format with fixed shifts, General goes channel by channel.
enum class Conv { Same, Rgb565, General };

// Everything the pixel loop needs, fixed for the whole call.
struct Job {
    const uint8_t* srcBits = nullptr;
    int srcPitch = 0;
    uint8_t* dstBits = nullptr;
    int dstPitch = 0;
    int srcBytes = 0;
    int dstBytes = 0;
    Channels src{};
    Channels dst{};
    uint32_t keep = 0;         // bits a same-format copy keeps
    uint32_t dstAlphaMask = 0; // destination alpha bits, left as they are by blending
    uint32_t keyMask = 0;      // bits of a source pixel compared with the colour key
    uint32_t key = 0;          // the colour key, already masked
    uint32_t alpha = 0;        // opacity 1..254 in Alpha mode
    Mode mode = Mode::Copy;
    bool keyed = false;
    bool sameFormat = false;
    bool rgb565 = false;
};

uint32_t BytesMask(int bytes) {
    return bytes >= 4 ? 0xFFFFFFFFu : (1u << (bytes * 8)) - 1;
}

Job MakeJob(const LockedView& dst, const LockedView& src, uint32_t colorKey, bool transparent, bool blended,
            int32_t alpha) {
    Job j;
    j.srcBits = src.Bits;
    j.srcPitch = src.Pitch;
    j.dstBits = dst.Bits;
    j.dstPitch = dst.Pitch;
    j.srcBytes = src.Format.BytesPerPixel();
    j.dstBytes = dst.Format.BytesPerPixel();
    j.src = ChannelsOf(src.Format);
    j.dst = ChannelsOf(dst.Format);
    for (const Channel& c : j.dst) {
        j.keep |= c.mask;
    }
    j.dstAlphaMask = dst.Format.Indexed ? 0 : dst.Format.AlphaMask;
    // At 32 bits only the low 24 bits take part in the key test, and never a source alpha channel.
    j.keyMask =
        (j.srcBytes == 4 ? 0x00FFFFFFu : BytesMask(j.srcBytes)) & ~(src.Format.Indexed ? 0 : src.Format.AlphaMask);
    j.key = colorKey & j.keyMask;
    j.keyed = transparent;
    // An indexed destination is never blended (nor a one-byte one, which every 8-bit surface of
    // the display is), and full opacity is a copy.
    j.mode = blended && !dst.Format.Indexed && j.dstBytes > 1 && alpha < 255 ? Mode::Alpha : Mode::Copy;
    j.alpha = j.mode == Mode::Alpha ? static_cast<uint32_t>(alpha) : 0;
    j.sameFormat = CopiesUnchanged(src.Format, dst.Format);
    j.rgb565 = IsRgb565(src.Format) && IsRgb565(dst.Format);
    return j;
}

// Red and green blend as (s * a + d * (255 - a)) >> 8, blue as d + (((s - d) * a) >> 8) with the shift
// rounding toward minus infinity, which equals (s * a + d * (256 - a)) >> 8 and needs no signed values.
// The two can end one apart for equal inputs: 248 over 248 gives 247 for red and green, 248 for blue.
inline uint32_t BlendRg(uint32_t s, uint32_t d, uint32_t a) {
    return (s * a + d * (255 - a)) >> 8;
}

inline uint32_t BlendB(uint32_t s, uint32_t d, uint32_t a) {
    return (s * a + d * (256 - a)) >> 8;
}

// The work for one covered destination pixel, given the source pixel's and the destination pixel's addresses.
template <int SB, int DB, Mode M, Conv C, bool Keyed> struct PixelOp {
    static constexpr int SrcBytes = SB;
    static constexpr int DstBytes = DB;
    Job j;

    void operator()(const uint8_t* sp, uint8_t* dp) const {
        const uint32_t p = Px<SB>::Get(sp);
        if constexpr (M == Mode::Copy) {
            if (!Keyed || (p & j.keyMask) != j.key) {
                Px<DB>::Set(dp, Convert(p));
            }
        } else {
            // The destination pixel is read anyway: a keyed one is written back unchanged, so the
            // blend needs no branch.
            const uint32_t q = Px<DB>::Get(dp);
            const uint32_t v = Blend(p, q);
            Px<DB>::Set(dp, Keyed && (p & j.keyMask) == j.key ? q : v);
        }
    }

    // n pixels of one source row straight onto n pixels of one destination row.
    void Row(const uint8_t* sp, uint8_t* dp, int32_t n) const {
        if constexpr (M == Mode::Alpha && C == Conv::Rgb565) {
            Blend565Row(sp, dp, n, j.alpha, Keyed, j.key);
        } else {
            for (int32_t i = 0; i < n; ++i, sp += SB, dp += DB) {
                (*this)(sp, dp);
            }
        }
    }

    uint32_t Convert(uint32_t p) const {
        if constexpr (C == Conv::Same) {
            return p & j.keep;
        } else {
            return j.dst[0].Write(j.src[0].Read(p)) | j.dst[1].Write(j.src[1].Read(p)) |
                   j.dst[2].Write(j.src[2].Read(p)) | j.dst[3].Write(j.src[3].Read(p));
        }
    }

    uint32_t Blend(uint32_t p, uint32_t q) const {
        const uint32_t a = j.alpha;
        if constexpr (C == Conv::Rgb565) {
            return Blend565(p, q, a);
        } else {
            const uint32_t r = BlendRg(j.src[0].Read(p), j.dst[0].Read(q), a);
            const uint32_t g = BlendRg(j.src[1].Read(p), j.dst[1].Read(q), a);
            const uint32_t b = BlendB(j.src[2].Read(p), j.dst[2].Read(q), a);
            return j.dst[0].Write(r) | j.dst[1].Write(g) | j.dst[2].Write(b) | (q & j.dstAlphaMask);
        }
    }
};

// Calls fn once with the pixel operation specialised for the job's formats, blend mode and keying.
template <int SB, int DB, Mode M, Conv C, class Fn> void WithKeying(const Job& j, Fn&& fn) {
    if (j.keyed) {
        fn(PixelOp<SB, DB, M, C, true>{j});
    } else {
        fn(PixelOp<SB, DB, M, C, false>{j});
    }
}

template <int SB, int DB, class Fn> void WithMode(const Job& j, Fn&& fn) {
    if constexpr (DB > 1) {
        if (j.mode == Mode::Alpha) {
            if constexpr (SB == 2 && DB == 2) {
                if (j.rgb565) {
                    return WithKeying<SB, DB, Mode::Alpha, Conv::Rgb565>(j, fn);
                }
            }
            return WithKeying<SB, DB, Mode::Alpha, Conv::General>(j, fn);
        }
    }
    if constexpr (SB == DB) {
        if (j.sameFormat) {
            return WithKeying<SB, DB, Mode::Copy, Conv::Same>(j, fn);
        }
    }
    WithKeying<SB, DB, Mode::Copy, Conv::General>(j, fn);
}

template <int SB, class Fn> void WithDestination(const Job& j, Fn&& fn) {
    switch (j.dstBytes) {
    case 1:
        return WithMode<SB, 1>(j, fn);
    case 2:
        return WithMode<SB, 2>(j, fn);
    case 3:
        return WithMode<SB, 3>(j, fn);
    default:
        return WithMode<SB, 4>(j, fn);
    }
}

template <class Fn> void WithPixelOp(const Job& j, Fn&& fn) {
    switch (j.srcBytes) {
    case 1:
        return WithDestination<1>(j, fn);
    case 2:
        return WithDestination<2>(j, fn);
    case 3:
        return WithDestination<3>(j, fn);
    default:
        return WithDestination<4>(j, fn);
    }
}

// Both surfaces of a call, locked whole: the destination first, then the source. They are unlocked
// in the opposite order when the call ends, however it ends.
class LockedPair {
public:
    LockedPair(Surface& dest, Surface& source) : dest_(dest), source_(source) {
        destLocked_ = platform::Succeeded(dest.Lock(nullptr, destView_));
        if (destLocked_) {
            sourceLocked_ = platform::Succeeded(source.Lock(nullptr, sourceView_));
        }
    }
    ~LockedPair() {
        if (sourceLocked_) {
            source_.Unlock();
        }
        if (destLocked_) {
            dest_.Unlock();
        }
    }
    LockedPair(const LockedPair&) = delete;
    LockedPair& operator=(const LockedPair&) = delete;

    bool Ok() const { return destLocked_ && sourceLocked_; }
    const LockedView& Dest() const { return destView_; }
    const LockedView& Source() const { return sourceView_; }

private:
    Surface& dest_;
    Surface& source_;
    LockedView destView_;
    LockedView sourceView_;
    bool destLocked_ = false;
    bool sourceLocked_ = false;
};

// The checks every copy shares: two non-empty surfaces in formats the loops handle, and a non-empty
// source rectangle inside the source surface.
bool CanDraw(const Surface* dest, const Surface* source, const TRect& s) {
    if (dest == nullptr || source == nullptr || dest->Width() <= 0 || dest->Height() <= 0 || source->Width() <= 0 ||
        source->Height() <= 0) {
        return false;
    }
    if (!Supported(dest->Format()) || !Supported(source->Format())) {
        return false;
    }
    return s.Left >= 0 && s.Top >= 0 && s.Right <= source->Width() && s.Bottom <= source->Height() &&
           s.Left < s.Right && s.Top < s.Bottom && s.Right <= MaxSourceEnd && s.Bottom <= MaxSourceEnd;
}

// Locks both surfaces and runs loop(op, job) with the pixel operation chosen for this call.
template <class Loop>
void Run(Surface& dest, Surface& source, bool transparent, bool blended, int32_t alpha, Loop&& loop) {
    LockedPair locks(dest, source);
    if (!locks.Ok()) {
        return;
    }
    const Job job = MakeJob(locks.Dest(), locks.Source(), source.ColorKey(), transparent, blended, alpha);
    WithPixelOp(job, [&](const auto& op) { loop(op, job); });
}

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

bool TurnedGeometry(const Surface& dest, int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s, double cx,
                    double cy, int32_t angle, TurnedArea& a) {
    TurnShape t;
    const bool shaped = fastPaths ? RememberedTurnShape(w, h, s.Width(), s.Height(), cx, cy, angle, t)
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

// The part of one destination row whose source positions fall inside the source rectangle:
// `skip` pixels from minX, then `count` pixels starting at source position (sx, sy).
struct RowRun {
    int64_t skip = 0;
    int64_t count = 0;
    uint32_t sx = 0;
    uint32_t sy = 0;
};

// Division truncating toward zero.
int64_t Div(int64_t n, int64_t d) {
    return n / d;
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

template <class Op> void TurnedRows(const Op& shared, const Job& j, const TurnedArea& area) {
    const Op op = shared;
    const TurnedArea a = area;
    const auto dxx = static_cast<uint32_t>(a.dxx), dyx = static_cast<uint32_t>(a.dyx);
    const bool fast = fastPaths;
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
    if (fastPaths && ((area.dxx == 0 && area.dyy == 0) || (area.dyx == 0 && area.dxy == 0))) {
        Run(*dest, *source, transparent, blended, alpha,
            [&](const auto& op, const Job& job) { QuarterRows(op, job, area); });
        return;
    }
    Run(*dest, *source, transparent, blended, alpha,
        [&](const auto& op, const Job& job) { TurnedRows(op, job, area); });
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
    if (fastPaths && area.stepX == 0x10000 && area.stepY == 0x10000) {
        Run(*dest, *source, transparent, true, alpha,
            [&](const auto& op, const Job& job) { UnscaledRows(op, job, area); });
        return;
    }
    Run(*dest, *source, transparent, true, alpha, [&](const auto& op, const Job& job) { ScaledRows(op, job, area); });
}

void DrawTurned(Surface* dest, int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s, Surface* source, double cx,
                double cy, bool transparent, int32_t angle) {
    Turned(dest, x, y, w, h, s, source, cx, cy, transparent, angle, false, 255);
}

void DrawTurnedBlended(Surface* dest, int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s, Surface* source,
                       double cx, double cy, bool transparent, int32_t angle, int32_t alpha) {
    Turned(dest, x, y, w, h, s, source, cx, cy, transparent, angle, true, alpha);
}

void UseFastPaths(bool on) {
    fastPaths = on;
}

} // namespace dxrender
