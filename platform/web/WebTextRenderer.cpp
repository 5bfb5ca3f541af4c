#include "platform/TextRenderer.h"

#include "platform/FontFace.h"
#include "platform/GlyphBlender.h"
#include "platform/web/PageBridge.h"

#include <string>
#include <vector>

namespace platform {

namespace {
// Heights beyond this are refused rather than rendered into huge glyph images.
constexpr int kMaxHeight = 1024;

// The CSS font of a request, with the same face rules as the desktop's fonts: the family asked
// for (quotes and backslashes dropped from its name), then the default sans.
std::string CssFont(const FontSpec& spec) {
    const FontFace face = ResolveFontFace(spec.Name, spec.Bold, spec.Italic);
    std::string family;
    if (face.Family != "sans-serif") {
        family += '"';
        for (char c : face.Family) {
            if (c != '"' && c != '\\') {
                family += c;
            }
        }
        family += "\", ";
    }
    family += "sans-serif";
    return std::string(face.Italic ? "italic " : "") + std::to_string(face.Weight) + " " + std::to_string(spec.Height) +
           "px " + family;
}

// Text drawn by the page's canvas into an offscreen canvas, then blended into the surface by
// its coverage. Without a canvas (outside a page) nothing is drawn and the size is zero.
class CanvasTextRenderer : public TextRenderer {
public:
    void Draw(Surface& target, int x, int y, std::string_view utf8, const FontSpec& spec, Rgb color,
              const Rgb* background) override {
        if (utf8.empty() || spec.Height <= 0 || spec.Height > kMaxHeight) {
            return;
        }
        const std::string text(utf8);
        const std::string font = CssFont(spec);
        int width = 0, height = 0, ascent = 0;
        if (!page::MeasureText(text, font, spec.Height, width, height, ascent) || width <= 0 || height <= 0) {
            return;
        }
        pixels_.assign(static_cast<std::size_t>(width) * height * 4, 0);
        if (!page::RenderText(text, font, ascent, spec.Underline, spec.StrikeOut, pixels_.data(), width, height)) {
            return;
        }
        // The alpha byte of each RGBA pixel.
        const GlyphCoverage coverage{pixels_.data() + 3, width, height, 4, width * 4};
        BlendGlyphs(target, x, y, coverage, color, background);
    }

    TextSize Measure(std::string_view utf8, const FontSpec& spec) override {
        if (spec.Height <= 0 || spec.Height > kMaxHeight) {
            return {};
        }
        int width = 0, height = 0, ascent = 0;
        if (!page::MeasureText(std::string(utf8), CssFont(spec), spec.Height, width, height, ascent)) {
            return {};
        }
        return TextSize{width, height};
    }

private:
    std::vector<uint8_t> pixels_;
};
} // namespace

TextRenderer& TextRenderer::Instance() {
    static CanvasTextRenderer renderer;
    return renderer;
}

} // namespace platform
