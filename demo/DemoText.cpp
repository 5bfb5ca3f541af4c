#include "demo/DemoText.h"

#include <charconv>
#include <cstdio>

namespace demotext {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Splits "a,b,c" into exactly `count` integers within the given bounds.
bool ParseList(std::string_view text, int count, const long long (*bounds)[2], int* out) {
    for (int i = 0; i < count; ++i) {
        const std::size_t comma = i + 1 < count ? text.find(',') : std::string_view::npos;
        if (i + 1 < count && comma == std::string_view::npos) {
            return false;
        }
        const auto value = ParseInteger(text.substr(0, comma), bounds[i][0], bounds[i][1]);
        if (!value) {
            return false;
        }
        out[i] = static_cast<int>(*value);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return true;
}

} // namespace

std::string Escape(std::string_view text) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == '%' || c == '#' || c == 0x7f) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

std::string FormatTime(const platform::TimeOfDay& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", time.Hours, time.Minutes, time.Seconds, time.Milliseconds);
    return text;
}

std::optional<platform::TimeOfDay> ParseTime(std::string_view text) {
    if (text.size() != 12 || text[2] != ':' || text[5] != ':' || text[8] != '.') {
        return std::nullopt;
    }
    const auto hours = ParseInteger(text.substr(0, 2), 0, 23);
    const auto minutes = ParseInteger(text.substr(3, 2), 0, 59);
    const auto seconds = ParseInteger(text.substr(6, 2), 0, 59);
    const auto millis = ParseInteger(text.substr(9, 3), 0, 999);
    if (!hours || !minutes || !seconds || !millis) {
        return std::nullopt;
    }
    return platform::TimeOfDay{static_cast<int>(*hours), static_cast<int>(*minutes), static_cast<int>(*seconds),
                               static_cast<int>(*millis)};
}

std::string FormatHash(uint64_t hash) {
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::optional<uint64_t> ParseHash(std::string_view text) {
    if (text.size() != 16) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (const char c : text) {
        const int digit = HexValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value << 4 | static_cast<uint64_t>(digit);
    }
    return value;
}

std::optional<long long> ParseInteger(std::string_view text, long long low, long long high) {
    long long value = 0;
    const char* end = text.data() + text.size();
    // from_chars takes a leading '-' but no '+'; an empty text fails.
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::string FormatInput(const DemoInput& input) {
    using Kind = DemoInput::Kind;
    const std::string a = std::to_string(input.A), b = std::to_string(input.B), c = std::to_string(input.C);
    switch (input.What) {
    case Kind::KeyDown:
        return "k+" + a;
    case Kind::KeyUp:
        return "k-" + a;
    case Kind::MouseMove:
        return "m" + a + "," + b;
    case Kind::MouseDown:
        return "d" + a + "," + b + "," + c;
    case Kind::MouseUp:
        return "u" + a + "," + b + "," + c;
    case Kind::FocusGained:
        return "fin";
    case Kind::FocusLost:
        return "fout";
    case Kind::Expose:
        return "x";
    case Kind::Quit:
        return "q";
    case Kind::Foreground:
        return input.A != 0 ? "a1" : "a0";
    }
    return "?";
}

std::optional<DemoInput> ParseInput(std::string_view token) {
    using Kind = DemoInput::Kind;
    static const long long kKey[][2] = {{0, 255}};
    static const long long kPoint[][2] = {{-kMaxCoordinate, kMaxCoordinate}, {-kMaxCoordinate, kMaxCoordinate}};
    static const long long kClick[][2] = {
        {-kMaxCoordinate, kMaxCoordinate}, {-kMaxCoordinate, kMaxCoordinate}, {1, kMaxButton}};
    DemoInput input;
    int values[3] = {0, 0, 0};
    if (token == "a0" || token == "a1") {
        input.What = Kind::Foreground;
        input.A = token == "a1" ? 1 : 0;
        return input;
    }
    if (token == "fin" || token == "fout" || token == "x" || token == "q") {
        input.What = token == "fin"    ? Kind::FocusGained
                     : token == "fout" ? Kind::FocusLost
                     : token == "x"    ? Kind::Expose
                                       : Kind::Quit;
        return input;
    }
    if (token.size() >= 3 && token[0] == 'k' && (token[1] == '+' || token[1] == '-')) {
        if (!ParseList(token.substr(2), 1, kKey, values)) {
            return std::nullopt;
        }
        input.What = token[1] == '+' ? Kind::KeyDown : Kind::KeyUp;
    } else if (token.size() >= 2 && token[0] == 'm') {
        if (!ParseList(token.substr(1), 2, kPoint, values)) {
            return std::nullopt;
        }
        input.What = Kind::MouseMove;
    } else if (token.size() >= 2 && (token[0] == 'd' || token[0] == 'u')) {
        if (!ParseList(token.substr(1), 3, kClick, values)) {
            return std::nullopt;
        }
        input.What = token[0] == 'd' ? Kind::MouseDown : Kind::MouseUp;
    } else {
        return std::nullopt;
    }
    input.A = values[0];
    input.B = values[1];
    input.C = values[2];
    return input;
}

} // namespace demotext
