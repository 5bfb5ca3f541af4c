#include "platform/pixels/TextRenderer.h"

#include "platform/files/RegularFile.h"
#include "platform/files/ResourceLimits.h"
#include "platform/pixels/Surface.h"
#include "platform/sdl/FontLocator.h"
#include "platform/text/GlyphBlender.h"
#include "platform/text/TextImageCache.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace platform {

namespace {
struct FontKey {
    std::string Path;
    int Index = 0;
    int Height = 0;
    int Style = 0;
    // Ordered by tie rather than a defaulted three-way comparison, which needs the string's own
    // three-way comparison that not every standard library offers.
    bool operator<(const FontKey& other) const {
        return std::tie(Path, Index, Height, Style) < std::tie(other.Path, other.Index, other.Height, other.Style);
    }
};

struct FontCloser {
    void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};
struct SurfaceFreer {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

// The coverage of a rendered ARGB image: its alpha channel, which does not depend on the colour.
CoverageImage CoverageOf(const SDL_Surface& glyphs) {
    CoverageImage image;
    image.Width = glyphs.w;
    image.Height = glyphs.h;
    image.Alpha.resize(static_cast<std::size_t>(glyphs.w) * static_cast<std::size_t>(glyphs.h));
    for (int y = 0; y < glyphs.h; ++y) {
        const auto* s = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(glyphs.pixels) +
                                                          static_cast<std::ptrdiff_t>(y) * glyphs.pitch);
        uint8_t* d = image.Alpha.data() + static_cast<std::ptrdiff_t>(y) * glyphs.w;
        for (int x = 0; x < glyphs.w; ++x) {
            d[x] = static_cast<uint8_t>(s[x] >> 24);
        }
    }
    return image;
}

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
        std::string key;
        TTF_Font* font = Open(spec, &key);
        if (font == nullptr) {
            return;
        }
        key.append(utf8);
        const CoverageImage* image = images_.Find(key);
        if (image == nullptr) {
            const std::string text(utf8);
            std::unique_ptr<SDL_Surface, SurfaceFreer> glyphs(
                TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255}));
            if (!glyphs || glyphs->format->BytesPerPixel != 4 || SDL_MUSTLOCK(glyphs.get())) {
                return;
            }
            image = &images_.Add(key, CoverageOf(*glyphs));
        }
        BlendGlyphs(target, x, y, AsGlyphCoverage(*image), color, background);
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
    // The open font for spec; `cacheName`, when given, receives a name for its file, size and style, to
    // which the text is appended to name a cached text image.
    TTF_Font* Open(const FontSpec& spec, std::string* cacheName = nullptr) {
        if (!ready_ || spec.Height <= 0 || spec.Height > kMaxFontHeight) {
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
                    fileBytes_.clear();
                }
                it = fonts_.emplace(std::move(key), OpenFile(*file, spec.Height, style)).first;
            }
            if (it->second.Font) {
                if (cacheName != nullptr) {
                    *cacheName = it->first.Path + '\n' + std::to_string(it->first.Index) + ' ' +
                                 std::to_string(it->first.Height) + ' ' + std::to_string(it->first.Style) + '\0';
                }
                return it->second.Font.get();
            }
        }
        return nullptr;
    }

    // A font and the file bytes it reads from, which SDL_ttf needs for as long as the font is open.
    struct OpenFont {
        std::shared_ptr<const std::vector<uint8_t>> Bytes;
        std::unique_ptr<TTF_Font, FontCloser> Font;
    };

    // The font file is read through RegularFile, so that a FIFO or a device put in a font's
    // place is refused instead of blocking; one file's bytes serve all its sizes and styles.
    OpenFont OpenFile(const FontFile& file, int height, int style) {
        OpenFont open;
        auto known = fileBytes_.find(file.Path);
        if (known != fileBytes_.end()) {
            open.Bytes = known->second;
        } else if (auto bytes = RegularFile::ReadAll(file.Path, kMaxFontFileBytes)) {
            open.Bytes = std::make_shared<const std::vector<uint8_t>>(std::move(*bytes));
            fileBytes_.emplace(file.Path, open.Bytes);
        } else {
            return open;
        }
        SDL_RWops* source = SDL_RWFromConstMem(open.Bytes->data(), static_cast<int>(open.Bytes->size()));
        if (source == nullptr) {
            return open;
        }
        open.Font.reset(TTF_OpenFontIndexRW(source, 1, height, file.Index));
        if (open.Font) {
            TTF_SetFontStyle(open.Font.get(), style);
            TTF_SetFontHinting(open.Font.get(), TTF_HINTING_NORMAL);
        }
        return open;
    }

    bool ready_;
    FontLocator locator_;
    std::map<std::string, std::shared_ptr<const std::vector<uint8_t>>> fileBytes_;
    std::map<FontKey, OpenFont> fonts_;
    TextImageCache images_;
};
} // namespace

TextRenderer& TextRenderer::Instance() {
    static TtfTextRenderer renderer;
    return renderer;
}

} // namespace platform
