#pragma once

#include "platform/pixels/DeviceContext.h"

#include <memory>
#include <string_view>

namespace platform {

class Surface;

// Draws text in installed fonts: a font name is resolved to a font file through fontconfig
// and glyphs are rendered antialiased at the requested character height. With no usable
// font the calls draw nothing and measure zero; nothing fails.
class TextRenderer {
public:
    static TextRenderer& Instance();
    virtual ~TextRenderer() = default;

    // Draws into `target`'s pixels with the top-left corner of the first character cell at (x, y).
    virtual void Draw(Surface& target, int x, int y, std::string_view utf8, const FontSpec& font, Rgb color,
                      const Rgb* background) = 0;
    virtual TextSize Measure(std::string_view utf8, const FontSpec& font) = 0;
};

} // namespace platform
