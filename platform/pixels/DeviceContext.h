#pragma once

#include "platform/base/Rect.h"
#include "platform/pixels/PixelFormat.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Surface;

// A picture held as 8-bit red, green and blue, rows top to bottom.
struct RgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<Rgb> Pixels;
    Rgb At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

struct FontSpec {
    std::string Name;
    int Height = 0; // character height in pixels
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
};

struct TextSize {
    int Width = 0;
    int Height = 0;
};

// The 2D drawing layer on one surface: text and picture output. Handed out by
// Surface::GetDC; destroying it hands the surface back.
class DeviceContext {
public:
    explicit DeviceContext(Surface& surface) : surface_(surface) {}
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    Surface& Target() { return surface_; }

    // Draws `utf8` with the top-left corner of its first character cell at (x, y), in `color`;
    // with a background colour the text's cells are filled first, without one nothing is drawn behind.
    void TextOut(int x, int y, std::string_view utf8, const FontSpec& font, Rgb color, const Rgb* background);
    TextSize TextExtent(std::string_view utf8, const FontSpec& font);
    void SetPixel(int x, int y, Rgb color);
    // Copies `srcRect` of `src` into `dst`, scaling by nearest pixel when the sizes differ; clipped to the surface.
    void StretchBlt(const TRect& dst, const RgbImage& src, const TRect& srcRect);

private:
    Surface& surface_;
};

} // namespace platform
