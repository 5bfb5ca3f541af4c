#pragma once

#include "demo/Demo.h"

#include <optional>
#include <string>
#include <string_view>

// The text forms shared by the demo reader and writer: escaped names, times, hashes and the
// one-token inputs of a frame line.
namespace demotext {

// Bytes that would break a space-separated line (controls, space, '%', '#', DEL) become %XX.
std::string Escape(std::string_view text);
// The reverse of Escape; nothing for a '%' not followed by two hex digits.
std::optional<std::string> Unescape(std::string_view text);

// HH:MM:SS.mmm
std::string FormatTime(const platform::TimeOfDay& time);
std::optional<platform::TimeOfDay> ParseTime(std::string_view text);

// 16 lower-case hex digits.
std::string FormatHash(uint64_t hash);
std::optional<uint64_t> ParseHash(std::string_view text);

// A decimal integer in [low, high], nothing else in the text.
std::optional<long long> ParseInteger(std::string_view text, long long low, long long high);

// One input as one token: k+CODE k-CODE mX,Y dX,Y,B uX,Y,B fin fout x q a0 a1.
std::string FormatInput(const DemoInput& input);
std::optional<DemoInput> ParseInput(std::string_view token);

// The largest mouse coordinate and button number a demo may carry.
inline constexpr int kMaxCoordinate = 1000000;
inline constexpr int kMaxButton = 32;

} // namespace demotext
