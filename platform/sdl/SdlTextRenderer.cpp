#include "platform/TextRenderer.h"

#include "platform/RegularFile.h"
#include "platform/ResourceLimits.h"
#include "platform/Surface.h"
#include "platform/sdl/FontLocator.h"

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

// The text's box, already clipped to the target: `box` on the target, starting at (srcX, srcY)
// of the rendered glyph image.
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

// Lays the glyph coverage (the alpha of the rendered ARGB image) over the target's pixels.
template <int Bpp> void BlendGlyphs(Surface& target, const SDL_Surface& glyphs, const Placement& at, Rgb color) {
    const PixelFormat& format = target.Format();
    const uint32_t solid = format.FromRgb(color);
    const int width = at.Box.Width();
    for (int row = 0; row < at.Box.Height(); ++row) {
        const auto* s = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(glyphs.pixels) +
                                                          static_cast<std::ptrdiff_t>(at.SrcY + row) * glyphs.pitch) +
                        at.SrcX;
        uint8_t* d = target.Bits() + static_cast<std::ptrdiff_t>(at.Box.Top + row) * target.Pitch() + at.Box.Left * Bpp;
        for (int i = 0; i < width; ++i, d += Bpp) {
            const uint32_t a = s[i] >> 24;
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

template <int Bpp>
void Compose(Surface& target, const SDL_Surface& glyphs, const Placement& at, Rgb color, const Rgb* background) {
    if (background != nullptr) {
        FillBox<Bpp>(target, at.Box, target.Format().FromRgb(*background));
    }
    BlendGlyphs<Bpp>(target, glyphs, at, color);
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
        Placement at;
        at.Box = TRect{std::max(x, 0), std::max(y, 0),
                       static_cast<int32_t>(std::min<int64_t>(int64_t{x} + glyphs->w, target.Width())),
                       static_cast<int32_t>(std::min<int64_t>(int64_t{y} + glyphs->h, target.Height()))};
        if (at.Box.IsEmpty()) {
            return;
        }
        at.SrcX = at.Box.Left - x;
        at.SrcY = at.Box.Top - y;
        switch (target.Format().BytesPerPixel()) {
        case 1:
            Compose<1>(target, *glyphs, at, color, background);
            break;
        case 2:
            Compose<2>(target, *glyphs, at, color, background);
            break;
        case 3:
            Compose<3>(target, *glyphs, at, color, background);
            break;
        case 4:
            Compose<4>(target, *glyphs, at, color, background);
            break;
        default:
            break;
        }
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
};
} // namespace

TextRenderer& TextRenderer::Instance() {
    static TtfTextRenderer renderer;
    return renderer;
}

} // namespace platform
