#pragma once

#include "display/Blend565.h"

#include "platform/pixels/PixelAccess.h"
#include "platform/pixels/PixelFormat.h"
#include "platform/pixels/Surface.h"

#include <array>
#include <cstdint>

// The pixel operation a processor-drawn copy runs for each covered destination pixel, specialised
// once per call for the source format, the destination format, the blend mode and the keying.
namespace dxrender {

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

// Red, green, blue and alpha; an indexed format has its index as the first channel and no others.
using Channels = std::array<Channel, 4>;

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

// True for the pixel sizes the loops handle: 8, 16, 24 and 32 bits.
inline bool Supported(const platform::PixelFormat& f) {
    return f.BitCount == 8 || f.BitCount == 16 || f.BitCount == 24 || f.BitCount == 32;
}

// The job of one copy from the locked source onto the locked destination.
Job MakeJob(const platform::LockedView& dst, const platform::LockedView& src, uint32_t colorKey, bool transparent,
            bool blended, int32_t alpha);

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
        const uint32_t p = platform::Px<SB>::Get(sp);
        if constexpr (M == Mode::Copy) {
            if (!Keyed || (p & j.keyMask) != j.key) {
                platform::Px<DB>::Set(dp, Convert(p));
            }
        } else {
            // The destination pixel is read anyway: a keyed one is written back unchanged, so the
            // blend needs no branch.
            const uint32_t q = platform::Px<DB>::Get(dp);
            const uint32_t v = Blend(p, q);
            platform::Px<DB>::Set(dp, Keyed && (p & j.keyMask) == j.key ? q : v);
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

} // namespace dxrender
