#include "app/edit/Overlay.h"

#include "display/DirectDrawSurface.h"
#include "platform/pixels/PixelAccess.h"

#include <algorithm>
#include <cstdlib>

namespace overlay {

namespace {

TRect Clipped(const TDirectDrawSurface& surface, TRect area) {
    area.Left = std::max(area.Left, 0);
    area.Top = std::max(area.Top, 0);
    area.Right = std::min(area.Right, surface.Width());
    area.Bottom = std::min(area.Bottom, surface.Height());
    return area;
}

// Calls `row(pointer to the first pixel, pixel count, y)` for each row of the clipped area, with
// the pixel size chosen once for the whole area.
template <class RowFunction> void ForRows(TDirectDrawSurface& surface, TRect area, RowFunction row) {
    area = Clipped(surface, area);
    platform::LockedView view;
    if (area.IsEmpty() || !surface.LockBits(nullptr, view)) {
        return;
    }
    platform::WithPixelSize(view.Format.BytesPerPixel(), [&](auto size) {
        constexpr int kBytes = decltype(size)::value;
        for (int y = area.Top; y < area.Bottom; ++y) {
            row.template operator()<kBytes>(view.Bits + static_cast<std::ptrdiff_t>(y) * view.Pitch +
                                                area.Left * kBytes,
                                            area.Width(), y, area.Left, view.Format);
        }
    });
    surface.UnlockBits();
}

} // namespace

void Fill(TDirectDrawSurface& surface, TRect area, platform::Rgb colour) {
    area = Clipped(surface, area);
    platform::Surface* target = surface.ISurface();
    if (area.IsEmpty() || !target) {
        return;
    }
    target->Fill(&area, target->Format().FromRgb(colour));
}

void Frame(TDirectDrawSurface& surface, TRect area, platform::Rgb colour, int thickness) {
    Fill(surface, TRect{area.Left, area.Top, area.Right, area.Top + thickness}, colour);
    Fill(surface, TRect{area.Left, area.Bottom - thickness, area.Right, area.Bottom}, colour);
    Fill(surface, TRect{area.Left, area.Top + thickness, area.Left + thickness, area.Bottom - thickness}, colour);
    Fill(surface, TRect{area.Right - thickness, area.Top + thickness, area.Right, area.Bottom - thickness}, colour);
}

void Hatch(TDirectDrawSurface& surface, TRect area, platform::Rgb colour) {
    ForRows(surface, area, [&]<int Bytes>(uint8_t* pixels, int count, int y, int x0, const platform::PixelFormat& f) {
        const uint32_t raw = f.FromRgb(colour);
        // The first pixel of the row on a stripe, then every fourth.
        int first = (4 - (x0 + y) % 4) % 4;
        for (int i = first; i < count; i += 4) {
            platform::Px<Bytes>::Set(pixels + i * Bytes, raw);
        }
    });
}

void Darken(TDirectDrawSurface& surface, TRect area) {
    ForRows(surface, area, [&]<int Bytes>(uint8_t* pixels, int count, int, int, const platform::PixelFormat& f) {
        if (f.Indexed) {
            std::fill(pixels, pixels + count * Bytes, uint8_t{0});
            return;
        }
        // Halving shifts each channel down one bit; the bit that falls into the channel below is masked off.
        const uint32_t keep =
            ((f.RedMask >> 1) & f.RedMask) | ((f.GreenMask >> 1) & f.GreenMask) | ((f.BlueMask >> 1) & f.BlueMask);
        for (int i = 0; i < count; ++i) {
            uint8_t* p = pixels + i * Bytes;
            platform::Px<Bytes>::Set(p, (platform::Px<Bytes>::Get(p) >> 1) & keep);
        }
    });
}

void Dots(TDirectDrawSurface& surface, int x0, int y0, int x1, int y1, int size, int step, platform::Rgb colour) {
    const int length = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int at = 0; at <= length; at += step) {
        const int x = length == 0 ? x0 : x0 + (x1 - x0) * at / length;
        const int y = length == 0 ? y0 : y0 + (y1 - y0) * at / length;
        Fill(surface, Bounds(x - size / 2, y - size / 2, size, size), colour);
    }
}

void Arrow(TDirectDrawSurface& surface, int x, int y, int direction, int size, platform::Rgb colour) {
    // Row by row from the tip: a span growing by one pixel on each side, as wide as the head is long.
    const auto span = [&](int along, int half, platform::Rgb c) {
        switch (direction) {
        case 1:
            Fill(surface, TRect{x - half, y + along, x + half + 1, y + along + 1}, c);
            break;
        case 2:
            Fill(surface, TRect{x - along, y - half, x - along + 1, y + half + 1}, c);
            break;
        case 3:
            Fill(surface, TRect{x - half, y - along, x + half + 1, y - along + 1}, c);
            break;
        case 4:
            Fill(surface, TRect{x + along, y - half, x + along + 1, y + half + 1}, c);
            break;
        default:
            break;
        }
    };
    for (int along = 0; along <= size + 1; ++along) {
        span(along, along * 2 / 3 + 1, platform::Rgb{0, 0, 0});
    }
    for (int along = 1; along <= size; ++along) {
        span(along, along * 2 / 3 - 1 + (along > 1 ? 0 : 1), colour);
    }
}

} // namespace overlay
