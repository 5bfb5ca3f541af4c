#include "display/RenderOp.h"

#include <array>
#include <bit>
#include <cstddef>
#include <utility>

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

// The channels of a format, and whether none has more than 8 bits.
struct FormatChannels {
    Channels channels;
    bool narrow = true;
};

FormatChannels WorkOutChannels(const PixelFormat& f) {
    FormatChannels out;
    if (f.Indexed) {
        out.channels = {MakeChannel(f.BitCount >= 32 ? 0xFFFFFFFFu : (1u << f.BitCount) - 1), {}, {}, {}};
    } else {
        out.channels = {MakeChannel(f.RedMask), MakeChannel(f.GreenMask), MakeChannel(f.BlueMask),
                        MakeChannel(f.AlphaMask)};
    }
    for (const Channel& c : out.channels) {
        out.narrow = out.narrow && std::popcount(c.mask) <= 8;
    }
    return out;
}

// Counting mask bits for both formats costs a small copy as much as a row of its pixels: the
// display's own formats, which nearly every copy uses, are worked out once and looked up.
FormatChannels ChannelsOf(const PixelFormat& f) {
    static const std::array<std::pair<PixelFormat, FormatChannels>, 4> display = [] {
        std::array<std::pair<PixelFormat, FormatChannels>, 4> table{};
        const std::array<int, 4> bitCounts{8, 16, 24, 32};
        for (std::size_t i = 0; i < table.size(); ++i) {
            const PixelFormat format = PixelFormat::ForBitCount(bitCounts[i]);
            table[i] = {format, WorkOutChannels(format)};
        }
        return table;
    }();
    for (const auto& [format, channels] : display) {
        if (format == f) {
            return channels;
        }
    }
    return WorkOutChannels(f);
}

bool IsRgb565(const PixelFormat& f) {
    return f.BitCount == 16 && !f.Indexed && f.RedMask == 0xF800 && f.GreenMask == 0x07E0 && f.BlueMask == 0x001F &&
           f.AlphaMask == 0;
}

uint32_t BytesMask(int bytes) {
    return bytes >= 4 ? 0xFFFFFFFFu : (1u << (bytes * 8)) - 1;
}

} // namespace

Job MakeJob(const LockedView& dst, const LockedView& src, uint32_t colorKey, bool transparent, bool blended,
            int32_t alpha) {
    Job j;
    j.srcBits = src.Bits;
    j.srcPitch = src.Pitch;
    j.dstBits = dst.Bits;
    j.dstPitch = dst.Pitch;
    j.srcBytes = src.Format.BytesPerPixel();
    j.dstBytes = dst.Format.BytesPerPixel();
    const FormatChannels from = ChannelsOf(src.Format), to = ChannelsOf(dst.Format);
    j.src = from.channels;
    j.dst = to.channels;
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
    // Identical formats whose channels have at most 8 bits convert every pixel to itself (less any
    // bits outside the channels), so such a copy needs no channel work.
    j.sameFormat = src.Format == dst.Format && to.narrow;
    j.rgb565 = IsRgb565(src.Format) && IsRgb565(dst.Format);
    return j;
}

} // namespace dxrender
