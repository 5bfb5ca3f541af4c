#include "platform/sdl/FontLocator.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>

namespace platform {

namespace {
std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
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
        const std::string lower = Lower(name);
        int weight = bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
        Pattern pattern(FcPatternCreate());
        if (lower == "system" || lower.empty()) {
            // The classic system font is a bold sans.
            FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
            weight = FC_WEIGHT_BOLD;
        } else {
            FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
            if (lower.find("black") != std::string::npos || lower.find("heavy") != std::string::npos) {
                // A family we may not have: the heaviest sans there is stands in for it.
                FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
                weight = FC_WEIGHT_BLACK;
            }
        }
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
    return "warning: no usable font for " + missing +
           " (fontconfig knows no scalable font); texts will not be shown: install fonts-dejavu-core";
}

} // namespace platform
