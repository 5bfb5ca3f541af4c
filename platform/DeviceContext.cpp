#include "platform/DeviceContext.h"

#include "platform/Surface.h"
#include "platform/TextRenderer.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {
void Store(Surface& s, int x, int y, uint32_t raw) {
    const int bpp = s.Format().BytesPerPixel();
    uint8_t* p = s.Bits() + static_cast<std::ptrdiff_t>(y) * s.Pitch() + x * bpp;
    for (int i = 0; i < bpp; ++i) {
        p[i] = static_cast<uint8_t>(raw >> (8 * i));
    }
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
    const PixelFormat& format = surface_.Format();
    const int64_t sw = srcRect.Width(), sh = srcRect.Height();
    const int64_t dw = static_cast<int64_t>(dst.Right) - dst.Left, dh = static_cast<int64_t>(dst.Bottom) - dst.Top;
    for (int y = y0; y < y1; ++y) {
        int sy = srcRect.Top + static_cast<int>((static_cast<int64_t>(y) - dst.Top) * sh / dh);
        for (int x = x0; x < x1; ++x) {
            int sx = srcRect.Left + static_cast<int>((static_cast<int64_t>(x) - dst.Left) * sw / dw);
            Store(surface_, x, y, format.FromRgb(src.At(sx, sy)));
        }
    }
}

} // namespace platform
