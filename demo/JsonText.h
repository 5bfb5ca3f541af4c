#pragma once

#include <string>
#include <string_view>

// Pieces of JSON text: numbers that read back exactly and quoted strings.
namespace jsontext {

// The shortest decimal form that reads back as the same double; null for NaN and infinities.
std::string Number(double value);
// The same text as Number without std::to_chars, which some standard libraries lack for floating
// point (the web build's): the fewest digits that read back as `value`, fixed or scientific,
// whichever is shorter.
std::string ShortestNumber(double value);
// A JSON string: quotes, backslashes and control characters escaped, UTF-8 passed through.
std::string Quote(std::string_view text);

// A JSON object built from "key":value pairs in the order they are added; values are JSON text
// already (numbers as Number writes them, strings through Quote).
class Object {
public:
    Object& Add(const char* key, const std::string& value);
    Object& Add(const char* key, long long value) { return Add(key, std::to_string(value)); }
    std::string Text() const { return text_ + "}"; }

private:
    std::string text_ = "{";
};

} // namespace jsontext
