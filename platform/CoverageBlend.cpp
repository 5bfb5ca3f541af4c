#include "platform/CoverageBlend.h"

#include "platform/Surface.h"
#include "platform/TextImageCache.h"

namespace platform::coverage {

namespace {

template <int Bpp> uint32_t Load(const uint8_t* p) {
    uint32_t v = 0;
    for (int i = 0; i < Bpp; ++i) {
        v |= static_cast<uint32_t>(p[i]) << (8 * i);
    }
    return v;
}

template <int Bpp> void Store(uint8_t* p, uint32_t v) {
    for (int i = 0; i < Bpp; ++i) {
        p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

uint32_t Mix(uint32_t fg, uint32_t bg, uint32_t a) {
    return (fg * a + bg * (255 - a) + 127) / 255;
}

template <int Bpp>
void GeneralRows(Surface& target, const CoverageImage& glyphs, const TRect& box, int srcX, int srcY, Rgb color) {
    const PixelFormat& format = target.Format();
    const uint32_t solid = format.FromRgb(color);
    for (int row = 0; row < box.Height(); ++row) {
        const uint8_t* s = glyphs.Alpha.data() + static_cast<std::ptrdiff_t>(srcY + row) * glyphs.Width + srcX;
        uint8_t* d = target.Bits() + static_cast<std::ptrdiff_t>(box.Top + row) * target.Pitch() + box.Left * Bpp;
        for (int i = 0; i < box.Width(); ++i, d += Bpp) {
            const uint32_t a = s[i];
            if (a == 0) {
                continue;
            }
            if (a == 255) {
                Store<Bpp>(d, solid);
                continue;
            }
            const Rgb under = format.ToRgb(Load<Bpp>(d));
            Store<Bpp>(d, format.FromRgb(Rgb{static_cast<uint8_t>(Mix(color.r, under.r, a)),
                                             static_cast<uint8_t>(Mix(color.g, under.g, a)),
                                             static_cast<uint8_t>(Mix(color.b, under.b, a))}));
        }
    }
}

// 565 with its channel shifts as constants: read widened by replication, mixed, narrowed by truncation.
void Rows565(Surface& target, const CoverageImage& glyphs, const TRect& box, int srcX, int srcY, Rgb color) {
    const uint32_t fr = color.r, fg = color.g, fb = color.b;
    const auto solid = static_cast<uint16_t>(((fr >> 3) << 11) | ((fg >> 2) << 5) | (fb >> 3));
    const int width = box.Width();
    uint8_t* base = target.Bits();
    for (int row = 0; row < box.Height(); ++row) {
        const uint8_t* s = glyphs.Alpha.data() + static_cast<std::ptrdiff_t>(srcY + row) * glyphs.Width + srcX;
        uint8_t* d = base + static_cast<std::ptrdiff_t>(box.Top + row) * target.Pitch() + box.Left * 2;
        for (int i = 0; i < width; ++i) {
            const uint32_t a = s[i];
            if (a == 0) {
                continue;
            }
            uint16_t out = solid;
            if (a != 255) {
                const uint32_t q = Load<2>(d + 2 * i);
                const uint32_t r5 = q >> 11, g6 = (q >> 5) & 63, b5 = q & 31;
                const uint32_t r = Mix(fr, (r5 << 3) | (r5 >> 2), a);
                const uint32_t g = Mix(fg, (g6 << 2) | (g6 >> 4), a);
                const uint32_t b = Mix(fb, (b5 << 3) | (b5 >> 2), a);
                out = static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
            }
            Store<2>(d + 2 * i, out);
        }
    }
}

bool Is565(const PixelFormat& f) {
    return f.BitCount == 16 && !f.Indexed && f.RedMask == 0xF800 && f.GreenMask == 0x07E0 && f.BlueMask == 0x001F;
}

} // namespace

void BlendGeneral(Surface& target, const CoverageImage& glyphs, const TRect& box, int srcX, int srcY, Rgb color) {
    switch (target.Format().BytesPerPixel()) {
    case 1:
        return GeneralRows<1>(target, glyphs, box, srcX, srcY, color);
    case 2:
        return GeneralRows<2>(target, glyphs, box, srcX, srcY, color);
    case 3:
        return GeneralRows<3>(target, glyphs, box, srcX, srcY, color);
    case 4:
        return GeneralRows<4>(target, glyphs, box, srcX, srcY, color);
    default:
        return;
    }
}

void Blend(Surface& target, const CoverageImage& glyphs, const TRect& box, int srcX, int srcY, Rgb color) {
    if (Is565(target.Format())) {
        return Rows565(target, glyphs, box, srcX, srcY, color);
    }
    BlendGeneral(target, glyphs, box, srcX, srcY, color);
}

} // namespace platform::coverage
