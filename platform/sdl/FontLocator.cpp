#include "platform/sdl/FontLocator.h"

#include "platform/base/FillText.h"
#include "platform/base/Translate.h"
#include "platform/text/FontFace.h"

#include <fontconfig/fontconfig.h>

namespace platform {

namespace {
int FontconfigWeight(int weight) {
    if (weight >= 900) {
        return FC_WEIGHT_BLACK;
    }
    return weight >= 700 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
}

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;
} // namespace

struct FontLocator::Config {
    FcConfig* Handle = nullptr;
    ~Config() {
        if (Handle != nullptr) {
            FcConfigDestroy(Handle);
        }
    }
};

FontLocator::FontLocator() : config_(std::make_unique<Config>()) {
    // A configuration of our own, so that nothing else's use of fontconfig is disturbed.
    config_->Handle = FcInitLoadConfigAndFonts();
}

FontLocator::~FontLocator() = default;

std::optional<FontFile> FontLocator::Find(const std::string& name, bool bold, bool italic) {
    const auto key = std::make_tuple(name, bold, italic);
    if (auto it = cache_.find(key); it != cache_.end()) {
        return it->second;
    }
    std::optional<FontFile> found;
    if (config_->Handle != nullptr) {
        const FontFace face = ResolveFontFace(name, bold, italic);
        Pattern pattern(FcPatternCreate());
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(face.Family.c_str()));
        if (face.SansStandIn) {
            FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
        }
        const int weight = FontconfigWeight(face.Weight);
        FcPatternAddInteger(pattern.get(), FC_WEIGHT, weight);
        FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
        // The program's texts are Russian: among equals, prefer faces that have Cyrillic.
        FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ru"));
        FcConfigSubstitute(config_->Handle, pattern.get(), FcMatchPattern);
        FcDefaultSubstitute(pattern.get());

        FcResult result = FcResultNoMatch;
        Pattern match(FcFontMatch(config_->Handle, pattern.get(), &result));
        FcChar8* file = nullptr;
        if (match && FcPatternGetString(match.get(), FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
            FontFile f;
            f.Path = reinterpret_cast<const char*>(file);
            FcPatternGetInteger(match.get(), FC_INDEX, 0, &f.Index);
            int gotWeight = FC_WEIGHT_REGULAR, gotSlant = FC_SLANT_ROMAN;
            FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &gotWeight);
            FcPatternGetInteger(match.get(), FC_SLANT, 0, &gotSlant);
            f.SyntheticBold = weight >= FC_WEIGHT_BOLD && gotWeight < FC_WEIGHT_DEMIBOLD;
            f.SyntheticItalic = italic && gotSlant == FC_SLANT_ROMAN;
            found = f;
        }
    }
    cache_.emplace(key, found);
    return found;
}

} // namespace platform

namespace platform {

std::string FontLocator::MissingFontsWarning(const std::vector<std::string>& families) {
    std::string missing;
    for (const std::string& family : families) {
        if (!Find(family, false, false)) {
            missing += (missing.empty() ? "\"" : ", \"") + family + "\"";
        }
    }
    if (missing.empty()) {
        return {};
    }
    return Fill(Tr("warning: no usable font for {} (fontconfig knows no scalable font); texts will not be shown: "
                   "install fonts-dejavu-core"),
                {missing});
}

} // namespace platform
