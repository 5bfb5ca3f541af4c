#include "server/PlayerName.h"

#include <cstdint>

namespace {

// The length of the UTF-8 sequence starting at `text[i]` when it is a well-formed, printable
// character; 0 otherwise.
std::size_t PrintableAt(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x20 || lead == 0x7f) {
        return 0;
    }
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    uint32_t code = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        code = lead & 0x1f;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        code = lead & 0x0f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xc0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(i + k) & 0x3f);
    }
    // Overlong forms, surrogates, past the last character, and the C1 controls.
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff || (code >= 0x80 && code <= 0x9f)) {
        return 0;
    }
    return length;
}

} // namespace

bool PlayerName::Clean(std::string_view given, std::optional<std::string>& name, std::string& reason) {
    const std::size_t first = given.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        name.reset();
        return true;
    }
    const std::string_view trimmed = given.substr(first, given.find_last_not_of(' ') - first + 1);
    std::size_t characters = 0;
    for (std::size_t i = 0; i < trimmed.size(); ++characters) {
        const std::size_t length = PrintableAt(trimmed, i);
        if (length == 0) {
            reason = "the name may hold printable characters only";
            return false;
        }
        i += length;
    }
    if (characters > kMaxCharacters) {
        reason = "the name is longer than " + std::to_string(kMaxCharacters) + " characters";
        return false;
    }
    name = std::string(trimmed);
    return true;
}
