#include "platform/pixels/DeviceContext.h"

#include "platform/pixels/Surface.h"
#include "platform/pixels/TextRenderer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace platform {

namespace {
void Store(Surface& s, int x, int y, uint32_t raw) {
    const int bpp = s.Format().BytesPerPixel();
    uint8_t* p = s.Bits() + static_cast<std::ptrdiff_t>(y) * s.Pitch() + x * bpp;
    for (int i = 0; i < bpp; ++i) {
        p[i] = static_cast<uint8_t>(raw >> (8 * i));
    }
}
// One channel of the surface's format packed from an 8-bit value as PixelFormat::FromRgb packs it,
// with its shifts worked out once rather than for every pixel.
struct ChannelPack {
    uint32_t mask = 0;
    int right = 0;
    int low = 0;
    uint32_t Pack(uint8_t v) const { return (static_cast<uint32_t>(v >> right) << low) & mask; }
};

ChannelPack PackOf(uint32_t mask) {
    if (mask == 0) {
        return {};
    }
    return ChannelPack{mask, 8 - std::popcount(mask), std::countr_zero(mask)};
}

// The rows y0..y1 of a scaled picture from column x0 on, each pixel packed by `pack`.
template <int Bpp = 0, class Pack>
void Rows(Surface& surface, int x0, int y0, int y1, const TRect& dst, const RgbImage& src, const TRect& srcRect,
          const std::vector<int>& columns, Pack pack) {
    const int bpp = Bpp != 0 ? Bpp : surface.Format().BytesPerPixel();
    const int64_t sh = srcRect.Height(), dh = static_cast<int64_t>(dst.Bottom) - dst.Top;
    uint8_t* bits = surface.Bits();
    for (int y = y0; y < y1; ++y) {
        const int sy = srcRect.Top + static_cast<int>((static_cast<int64_t>(y) - dst.Top) * sh / dh);
        const Rgb* from = src.Pixels.data() + static_cast<std::ptrdiff_t>(sy) * src.Width;
        uint8_t* p = bits + static_cast<std::ptrdiff_t>(y) * surface.Pitch() + static_cast<std::ptrdiff_t>(x0) * bpp;
        for (std::size_t i = 0; i < columns.size(); ++i, p += bpp) {
            const uint32_t raw = pack(from[columns[i]]);
            for (int k = 0; k < bpp; ++k) {
                p[k] = static_cast<uint8_t>(raw >> (8 * k));
            }
        }
    }
}

bool PackableByShifts(const PixelFormat& f) {
    for (uint32_t mask : {f.RedMask, f.GreenMask, f.BlueMask}) {
        if (std::popcount(mask) > 8) {
            return false;
        }
    }
    return true;
}
} // namespace

DeviceContext::~DeviceContext() {
    surface_.ReleaseDC();
    surface_.Changed();
}

void DeviceContext::TextOut(int x, int y, std::string_view utf8, const FontSpec& font, Rgb color,
                            const Rgb* background) {
    TextRenderer::Instance().Draw(surface_, x, y, utf8, font, color, background);
}

TextSize DeviceContext::TextExtent(std::string_view utf8, const FontSpec& font) {
    return TextRenderer::Instance().Measure(utf8, font);
}

void DeviceContext::SetPixel(int x, int y, Rgb color) {
    if (x < 0 || y < 0 || x >= surface_.Width() || y >= surface_.Height()) {
        return;
    }
    Store(surface_, x, y, surface_.Format().FromRgb(color));
}

void DeviceContext::StretchBlt(const TRect& dst, const RgbImage& src, const TRect& srcRect) {
    if (dst.IsEmpty() || srcRect.IsEmpty() || srcRect.Left < 0 || srcRect.Top < 0 || srcRect.Right > src.Width ||
        srcRect.Bottom > src.Height) {
        return;
    }
    const int x0 = std::max(dst.Left, 0), x1 = std::min(dst.Right, surface_.Width());
    const int y0 = std::max(dst.Top, 0), y1 = std::min(dst.Bottom, surface_.Height());
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    const PixelFormat& format = surface_.Format();
    const int64_t sw = srcRect.Width();
    const int64_t dw = static_cast<int64_t>(dst.Right) - dst.Left;
    // The source column of every destination column, worked out once for all rows.
    std::vector<int> columns(static_cast<std::size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x) {
        columns[static_cast<std::size_t>(x - x0)] =
            srcRect.Left + static_cast<int>((static_cast<int64_t>(x) - dst.Left) * sw / dw);
    }
    const ChannelPack r = PackOf(format.RedMask), g = PackOf(format.GreenMask), b = PackOf(format.BlueMask);
    const auto pack = [&](Rgb c) { return r.Pack(c.r) | g.Pack(c.g) | b.Pack(c.b); };
    if (!PackableByShifts(format)) {
        return Rows(surface_, x0, y0, y1, dst, src, srcRect, columns, [&](Rgb c) { return format.FromRgb(c); });
    }
    switch (format.BytesPerPixel()) {
    case 1:
        return Rows<1>(surface_, x0, y0, y1, dst, src, srcRect, columns, pack);
    case 2:
        return Rows<2>(surface_, x0, y0, y1, dst, src, srcRect, columns, pack);
    case 3:
        return Rows<3>(surface_, x0, y0, y1, dst, src, srcRect, columns, pack);
    default:
        return Rows<4>(surface_, x0, y0, y1, dst, src, srcRect, columns, pack);
    }
}

} // namespace platform
