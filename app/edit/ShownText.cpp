#include "app/edit/ShownText.h"

#include <cstdint>

namespace {

// The length of the valid UTF-8 character starting at text[at], or 0 when none starts there.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    std::size_t length = 0;
    uint32_t lowest = 0;
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    uint32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < lowest || code > 0x10FFFF || surrogate ? 0 : length;
}

// Copies the text, handing every control character and every byte outside a valid character to
// `replace`.
template <class Replace> std::string Cleaned(std::string_view text, Replace replace) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length = CharacterLength(text, at);
        const auto lead = static_cast<uint8_t>(text[at]);
        if (length == 0 || lead < 0x20 || lead == 0x7F) {
            replace(out, lead);
            ++at;
            continue;
        }
        out.append(text.substr(at, length));
        at += length;
    }
    return out;
}

} // namespace

std::string ForScreen(std::string_view text) {
    return Cleaned(text, [](std::string& out, uint8_t) { out += '?'; });
}

std::string ForTerminal(std::string_view text) {
    return Cleaned(text, [](std::string& out, uint8_t byte) {
        static constexpr char kHex[] = "0123456789abcdef";
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    });
}

std::string Tail(std::string_view text, std::size_t count) {
    std::size_t at = text.size();
    for (std::size_t kept = 0; at > 0 && kept < count; ++kept) {
        // Back to the first byte of the character before.
        do {
            --at;
        } while (at > 0 && (static_cast<uint8_t>(text[at]) & 0xC0) == 0x80);
    }
    return at == 0 ? std::string(text) : "…" + std::string(text.substr(at));
}
