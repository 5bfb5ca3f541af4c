#include "platform/TextRenderer.h"

#include "platform/GlyphBlender.h"
#include "platform/Surface.h"
#include "platform/sdl/FontLocator.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <compare>
#include <map>
#include <memory>
#include <string>

namespace platform {

namespace {
// Heights beyond this are refused rather than rendered into huge glyph images.
constexpr int kMaxHeight = 1024;
// Open fonts kept at most; the program uses a handful.
constexpr std::size_t kMaxOpenFonts = 64;

struct FontKey {
    std::string Path;
    int Index = 0;
    int Height = 0;
    int Style = 0;
    auto operator<=>(const FontKey&) const = default;
};

struct FontCloser {
    void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};
struct SurfaceFreer {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

// Installed fonts through fontconfig, rendered with SDL_ttf. Point sizes are opened at 72 dots
// per inch, so the point size given to SDL_ttf is the character (em) height in pixels.
class TtfTextRenderer : public TextRenderer {
public:
    TtfTextRenderer() : ready_(TTF_Init() == 0) {}
    ~TtfTextRenderer() override {
        fonts_.clear();
        if (ready_) {
            TTF_Quit();
        }
    }

    void Draw(Surface& target, int x, int y, std::string_view utf8, const FontSpec& spec, Rgb color,
              const Rgb* background) override {
        if (utf8.empty()) {
            return;
        }
        TTF_Font* font = Open(spec);
        if (font == nullptr) {
            return;
        }
        const std::string text(utf8);
        std::unique_ptr<SDL_Surface, SurfaceFreer> glyphs(
            TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{color.r, color.g, color.b, 255}));
        if (!glyphs || glyphs->format->BytesPerPixel != 4 || SDL_MUSTLOCK(glyphs.get())) {
            return;
        }
        GlyphCoverage coverage;
        // The alpha byte of each little-endian ARGB pixel.
        coverage.Alpha = static_cast<const uint8_t*>(glyphs->pixels) + 3;
        coverage.Width = glyphs->w;
        coverage.Height = glyphs->h;
        coverage.Step = 4;
        coverage.Pitch = glyphs->pitch;
        BlendGlyphs(target, x, y, coverage, color, background);
    }

    TextSize Measure(std::string_view utf8, const FontSpec& spec) override {
        TTF_Font* font = Open(spec);
        if (font == nullptr) {
            return {};
        }
        const std::string text(utf8);
        int w = 0, h = 0;
        if (TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) {
            return {};
        }
        return TextSize{w, h};
    }

private:
    TTF_Font* Open(const FontSpec& spec) {
        if (!ready_ || spec.Height <= 0 || spec.Height > kMaxHeight) {
            return nullptr;
        }
        // A matched file that SDL_ttf cannot read gives way to the default sans.
        for (const std::string& name : {spec.Name, std::string("sans-serif")}) {
            std::optional<FontFile> file = locator_.Find(name, spec.Bold, spec.Italic);
            if (!file) {
                continue;
            }
            const int style =
                (file->SyntheticBold ? TTF_STYLE_BOLD : 0) | (file->SyntheticItalic ? TTF_STYLE_ITALIC : 0) |
                (spec.Underline ? TTF_STYLE_UNDERLINE : 0) | (spec.StrikeOut ? TTF_STYLE_STRIKETHROUGH : 0);
            FontKey key{file->Path, file->Index, spec.Height, style};
            auto it = fonts_.find(key);
            if (it == fonts_.end()) {
                if (fonts_.size() >= kMaxOpenFonts) {
                    fonts_.clear();
                }
                TTF_Font* font = TTF_OpenFontIndex(file->Path.c_str(), spec.Height, file->Index);
                if (font != nullptr) {
                    TTF_SetFontStyle(font, style);
                    TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
                }
                it = fonts_.emplace(std::move(key), std::unique_ptr<TTF_Font, FontCloser>(font)).first;
            }
            if (it->second) {
                return it->second.get();
            }
        }
        return nullptr;
    }

    bool ready_;
    FontLocator locator_;
    std::map<FontKey, std::unique_ptr<TTF_Font, FontCloser>> fonts_;
};
} // namespace

TextRenderer& TextRenderer::Instance() {
    static TtfTextRenderer renderer;
    return renderer;
}

} // namespace platform
