#include "platform/text/GlyphBlender.h"

#include "platform/base/Rect.h"
#include "platform/pixels/Surface.h"

#include <algorithm>
#include <cstddef>

namespace platform {

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

uint8_t Mix(uint8_t fg, uint8_t bg, uint32_t a) {
    return static_cast<uint8_t>((fg * a + bg * (255 - a) + 127) / 255);
}

// The text's box, already clipped to the target: `Box` on the target, starting at (SrcX, SrcY)
// of the glyph image.
struct Placement {
    TRect Box;
    int SrcX = 0;
    int SrcY = 0;
};

template <int Bpp> void FillBox(Surface& target, const TRect& box, uint32_t raw) {
    for (int y = box.Top; y < box.Bottom; ++y) {
        uint8_t* d = target.Bits() + static_cast<std::ptrdiff_t>(y) * target.Pitch() + box.Left * Bpp;
        for (int x = box.Left; x < box.Right; ++x, d += Bpp) {
            Store<Bpp>(d, raw);
        }
    }
}

template <int Bpp> void Blend(Surface& target, const GlyphCoverage& glyphs, const Placement& at, Rgb color) {
    const PixelFormat& format = target.Format();
    const uint32_t solid = format.FromRgb(color);
    const int width = at.Box.Width();
    for (int row = 0; row < at.Box.Height(); ++row) {
        const uint8_t* s = glyphs.Alpha + static_cast<std::ptrdiff_t>(at.SrcY + row) * glyphs.Pitch +
                           static_cast<std::ptrdiff_t>(at.SrcX) * glyphs.Step;
        uint8_t* d = target.Bits() + static_cast<std::ptrdiff_t>(at.Box.Top + row) * target.Pitch() + at.Box.Left * Bpp;
        for (int i = 0; i < width; ++i, d += Bpp, s += glyphs.Step) {
            const uint32_t a = *s;
            if (a == 0) {
                continue;
            }
            if (a == 255) {
                Store<Bpp>(d, solid);
                continue;
            }
            const Rgb under = format.ToRgb(Load<Bpp>(d));
            Store<Bpp>(
                d, format.FromRgb(Rgb{Mix(color.r, under.r, a), Mix(color.g, under.g, a), Mix(color.b, under.b, a)}));
        }
    }
}

// The 16-bit 565 format with its channel shifts as constants: each pixel read widened by
// replication, mixed, and narrowed by truncation, as ToRgb and FromRgb do.
void Blend565(Surface& target, const GlyphCoverage& glyphs, const Placement& at, Rgb color) {
    const uint32_t fr = color.r, fg = color.g, fb = color.b;
    const auto solid = static_cast<uint16_t>(((fr >> 3) << 11) | ((fg >> 2) << 5) | (fb >> 3));
    const int width = at.Box.Width();
    uint8_t* base = target.Bits();
    for (int row = 0; row < at.Box.Height(); ++row) {
        const uint8_t* s = glyphs.Alpha + static_cast<std::ptrdiff_t>(at.SrcY + row) * glyphs.Pitch +
                           static_cast<std::ptrdiff_t>(at.SrcX) * glyphs.Step;
        uint8_t* d = base + static_cast<std::ptrdiff_t>(at.Box.Top + row) * target.Pitch() + at.Box.Left * 2;
        for (int i = 0; i < width; ++i, d += 2, s += glyphs.Step) {
            const uint32_t a = *s;
            if (a == 0) {
                continue;
            }
            uint32_t out = solid;
            if (a != 255) {
                const uint32_t q = Load<2>(d);
                const uint32_t r5 = q >> 11, g6 = (q >> 5) & 63, b5 = q & 31;
                const uint32_t r = Mix(static_cast<uint8_t>(fr), static_cast<uint8_t>((r5 << 3) | (r5 >> 2)), a);
                const uint32_t g = Mix(static_cast<uint8_t>(fg), static_cast<uint8_t>((g6 << 2) | (g6 >> 4)), a);
                const uint32_t b = Mix(static_cast<uint8_t>(fb), static_cast<uint8_t>((b5 << 3) | (b5 >> 2)), a);
                out = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
            }
            Store<2>(d, out);
        }
    }
}

bool Is565(const PixelFormat& f) {
    return f.BitCount == 16 && !f.Indexed && f.RedMask == 0xF800 && f.GreenMask == 0x07E0 && f.BlueMask == 0x001F;
}

template <int Bpp>
void Compose(Surface& target, const GlyphCoverage& glyphs, const Placement& at, Rgb color, const Rgb* background,
             bool general) {
    if (background != nullptr) {
        FillBox<Bpp>(target, at.Box, target.Format().FromRgb(*background));
    }
    if constexpr (Bpp == 2) {
        if (!general && Is565(target.Format())) {
            return Blend565(target, glyphs, at, color);
        }
    }
    Blend<Bpp>(target, glyphs, at, color);
}

void Lay(Surface& target, int x, int y, const GlyphCoverage& glyphs, Rgb color, const Rgb* background, bool general) {
    if (glyphs.Alpha == nullptr || glyphs.Width <= 0 || glyphs.Height <= 0 || target.Bits() == nullptr) {
        return;
    }
    Placement at;
    at.Box = TRect{std::max(x, 0), std::max(y, 0),
                   static_cast<int32_t>(std::min<int64_t>(int64_t{x} + glyphs.Width, target.Width())),
                   static_cast<int32_t>(std::min<int64_t>(int64_t{y} + glyphs.Height, target.Height()))};
    if (at.Box.IsEmpty()) {
        return;
    }
    at.SrcX = at.Box.Left - x;
    at.SrcY = at.Box.Top - y;
    switch (target.Format().BytesPerPixel()) {
    case 1:
        Compose<1>(target, glyphs, at, color, background, general);
        break;
    case 2:
        Compose<2>(target, glyphs, at, color, background, general);
        break;
    case 3:
        Compose<3>(target, glyphs, at, color, background, general);
        break;
    case 4:
        Compose<4>(target, glyphs, at, color, background, general);
        break;
    default:
        break;
    }
}
} // namespace

void BlendGlyphs(Surface& target, int x, int y, const GlyphCoverage& glyphs, Rgb color, const Rgb* background) {
    Lay(target, x, y, glyphs, color, background, false);
}

void BlendGlyphsGeneral(Surface& target, int x, int y, const GlyphCoverage& glyphs, Rgb color, const Rgb* background) {
    Lay(target, x, y, glyphs, color, background, true);
}

} // namespace platform
