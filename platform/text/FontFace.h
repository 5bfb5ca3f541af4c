#pragma once

#include <string>

namespace platform {

// The face a requested font name stands for, decided the same way by every back-end's text:
// "System" (or no name) is a bold sans; a name that asks for a black or heavy face gets the
// heaviest weight, with the default sans standing in when that family is missing.
struct FontFace {
    std::string Family;       // a family name, or "sans-serif" for the default sans
    bool SansStandIn = false; // the default sans is to stand in when Family is missing
    int Weight = 400;         // 100..900: 400 regular, 700 bold, 900 black
    bool Italic = false;
};

FontFace ResolveFontFace(const std::string& name, bool bold, bool italic);

} // namespace platform
