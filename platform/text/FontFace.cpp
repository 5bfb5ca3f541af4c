#include "platform/text/FontFace.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {
std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}
} // namespace

FontFace ResolveFontFace(const std::string& name, bool bold, bool italic) {
    FontFace face;
    face.Italic = italic;
    face.Weight = bold ? 700 : 400;
    const std::string lower = Lower(name);
    if (lower == "system" || lower.empty()) {
        // The classic system font is a bold sans.
        face.Family = "sans-serif";
        face.Weight = 700;
        return face;
    }
    face.Family = name;
    if (lower.find("black") != std::string::npos || lower.find("heavy") != std::string::npos) {
        // A family we may not have: the heaviest sans there is stands in for it.
        face.SansStandIn = true;
        face.Weight = 900;
    }
    return face;
}

} // namespace platform
