#include "platform/base/ControlEscape.h"

#include <cstdint>

namespace platform {

namespace {

// Length of the well-formed UTF-8 sequence starting at text[i] that is not a C1 control, or 0.
std::size_t PrintableSequence(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    uint32_t low = 0;
    uint32_t code = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        low = 0xa0; // U+0080..U+009F are the C1 controls
        code = lead & 0x1f;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        low = 0x800;
        code = lead & 0x0f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        low = 0x10000;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - i < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xc0) != 0x80) {
            return 0;
        }
        code = code << 6 | (next & 0x3f);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if (code < low || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff) {
        return 0;
    }
    return length;
}

} // namespace

std::string EscapeControls(std::string_view text) {
    static const char* const kHex = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7f) {
            if (c == '\\') {
                out += '\\';
            }
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        if (const std::size_t length = c >= 0x80 ? PrintableSequence(text, i) : 0; length > 0) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 15];
        ++i;
    }
    return out;
}

} // namespace platform
