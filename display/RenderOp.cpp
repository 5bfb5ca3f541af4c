#include "display/RenderOp.h"

#include <bit>

namespace dxrender {

namespace {

using platform::LockedView;
using platform::PixelFormat;

Channel MakeChannel(uint32_t mask) {
    if (mask == 0) {
        return {};
    }
    const int sh = std::countr_zero(mask) + std::popcount(mask) - 8;
    return sh >= 0 ? Channel{mask, sh, 0} : Channel{mask, 0, -sh};
}

Channels ChannelsOf(const PixelFormat& f) {
    if (f.Indexed) {
        return {MakeChannel(f.BitCount >= 32 ? 0xFFFFFFFFu : (1u << f.BitCount) - 1), {}, {}, {}};
    }
    return {MakeChannel(f.RedMask), MakeChannel(f.GreenMask), MakeChannel(f.BlueMask), MakeChannel(f.AlphaMask)};
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

uint32_t BytesMask(int bytes) {
    return bytes >= 4 ? 0xFFFFFFFFu : (1u << (bytes * 8)) - 1;
}

} // namespace

bool Supported(const PixelFormat& f) {
    return f.BitCount == 8 || f.BitCount == 16 || f.BitCount == 24 || f.BitCount == 32;
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

} // namespace dxrender
