#include "app/edit/TextEntry.h"

#include <string_view>

namespace {

// Characters of the key positions 2 to 53, without and with Shift; a space for none.
constexpr std::string_view kPlain = "1234567890-= \tqwertyuiop[]  asdfghjkl;'` \\zxcvbnm,./";
constexpr std::string_view kShifted = "!@#$%^&*()_+ \tQWERTYUIOP{}  ASDFGHJKL:\"~ |ZXCVBNM<>?";
constexpr int kFirst = 2;

} // namespace

char TextEntry::CharacterOf(int code, bool shift) {
    if (code == key::Space) {
        return ' ';
    }
    if (code < kFirst || code >= kFirst + static_cast<int>(kPlain.size())) {
        return 0;
    }
    const char c = (shift ? kShifted : kPlain)[static_cast<std::size_t>(code - kFirst)];
    return c == ' ' || c == '\t' ? 0 : c;
}

bool TextEntry::Type(const KeyEdges& keys) {
    bool changed = false;
    if (keys.Repeated(key::Backspace) && !Text.empty()) {
        Text.pop_back();
        changed = true;
    }
    if (keys.Control()) {
        return changed;
    }
    for (int code = 1; code < 256; ++code) {
        const char c = keys.Repeated(code) ? CharacterOf(code, keys.Shift()) : 0;
        if (c != 0 && Text.size() < kMaxLength) {
            Text += c;
            changed = true;
        }
    }
    return changed;
}
