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

} // namespace jsontext
