#include "demo/JsonText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace jsontext {

std::string Number(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
#if defined(__cpp_lib_to_chars)
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
#else
    return ShortestNumber(value);
#endif
}

std::string ShortestNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    // The fewest significant digits that read back exactly (17 always do), in scientific form.
    char scientific[40];
    int digits = 1;
    for (; digits < 17; ++digits) {
        std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, value);
        if (std::strtod(scientific, nullptr) == value) {
            break;
        }
    }
    std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, value);
    const int exponent = std::atoi(std::strchr(scientific, 'e') + 1);
    // The fixed form with as many decimals as those digits need; a whole number is printed
    // exactly, as to_chars does. The longest (1.8e308) has 309 digits.
    char fixed[400];
    std::snprintf(fixed, sizeof fixed, "%.*f", std::max(0, digits - 1 - exponent), value);
    const std::string a(fixed), b(scientific);
    return a.size() <= b.size() ? a : b;
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

Object& Object::Add(const char* key, const std::string& value) {
    text_ += text_.size() > 1 ? ",\"" : "\"";
    text_ += key;
    text_ += "\":";
    text_ += value;
    return *this;
}

} // namespace jsontext
