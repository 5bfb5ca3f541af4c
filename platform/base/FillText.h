#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// A text with each "{}" replaced by the next value, in order; placeholders without a value stay.
// A translated text keeps its values apart from its words, so a translation may move them.
std::string Fill(std::string_view pattern, std::initializer_list<std::string> values);
