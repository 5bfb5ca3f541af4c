#include "platform/pixels/TextRenderer.h"

#include "platform/text/FontFace.h"
#include "platform/text/GlyphBlender.h"
#include "platform/text/TextImageCache.h"
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
// its coverage. A string drawn again (the frame rate, every frame) is taken from the cache of
// coverage images instead of the canvas, whose pixels are slow to read back. Without a canvas
// (outside a page) nothing is drawn and the size is zero.
class CanvasTextRenderer : public TextRenderer {
public:
    void Draw(Surface& target, int x, int y, std::string_view utf8, const FontSpec& spec, Rgb color,
              const Rgb* background) override {
        if (utf8.empty() || spec.Height <= 0 || spec.Height > kMaxHeight) {
            return;
        }
        const std::string font = CssFont(spec);
        const std::string key = Key(font, spec, utf8);
        const CoverageImage* image = images_.Find(key);
        if (image == nullptr) {
            CoverageImage rendered;
            if (!Render(std::string(utf8), font, spec, rendered)) {
                return;
            }
            image = &images_.Add(key, std::move(rendered));
        }
        BlendGlyphs(target, x, y, AsGlyphCoverage(*image), color, background);
    }

    TextSize Measure(std::string_view utf8, const FontSpec& spec) override {
        if (spec.Height <= 0 || spec.Height > kMaxHeight) {
            return {};
        }
        const std::string font = CssFont(spec);
        if (const CoverageImage* image = images_.Find(Key(font, spec, utf8)); image != nullptr) {
            return TextSize{image->Width, image->Height};
        }
        int width = 0, height = 0, ascent = 0;
        if (!page::MeasureText(std::string(utf8), font, spec.Height, width, height, ascent)) {
            return {};
        }
        return TextSize{width, height};
    }

private:
    // The font, the lines drawn through the text, and the text itself name a coverage image.
    static std::string Key(const std::string& font, const FontSpec& spec, std::string_view utf8) {
        std::string key = font;
        key += spec.Underline ? "\nU" : "\n-";
        key += spec.StrikeOut ? "S\n" : "-\n";
        key.append(utf8);
        return key;
    }

    // The text's coverage, the alpha of the canvas's RGBA pixels.
    bool Render(const std::string& text, const std::string& font, const FontSpec& spec, CoverageImage& image) {
        int width = 0, height = 0, ascent = 0;
        if (!page::MeasureText(text, font, spec.Height, width, height, ascent) || width <= 0 || height <= 0) {
            return false;
        }
        pixels_.assign(static_cast<std::size_t>(width) * height * 4, 0);
        if (!page::RenderText(text, font, ascent, spec.Underline, spec.StrikeOut, pixels_.data(), width, height)) {
            return false;
        }
        image.Width = width;
        image.Height = height;
        image.Alpha.resize(static_cast<std::size_t>(width) * height);
        for (std::size_t i = 0; i < image.Alpha.size(); ++i) {
            image.Alpha[i] = pixels_[i * 4 + 3];
        }
        return true;
    }

    std::vector<uint8_t> pixels_;
    TextImageCache images_;
};
} // namespace

TextRenderer& TextRenderer::Instance() {
    static CanvasTextRenderer renderer;
    return renderer;
}

} // namespace platform
