#pragma once

#include "platform/app/Platform.h"

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A day of the calendar in coordinated universal time.
struct UtcDate {
    int Year = 1970;
    int Month = 1;
    int Day = 1;

    auto operator<=>(const UtcDate&) const = default;
};

// The daily challenge: a session whose random generator is seeded from the UTC date instead of
// the time of day, so that everyone who starts one on the same date meets the same orbs.
class DailyChallenge {
public:
    // The time of day the game is given as its seed: the 32-bit FNV-1a hash of the date written
    // YYYY-MM-DD, modulo 86,400,000, taken as milliseconds since midnight.
    static platform::TimeOfDay SeedOf(const UtcDate& date);

    // YYYY-MM-DD.
    static std::string FormatDate(const UtcDate& date);
    // A date of the calendar written YYYY-MM-DD (years 0001 to 9999); nothing for any other text.
    static std::optional<UtcDate> ParseDate(std::string_view text);

    // The UTC date and time of day now, read from the system clock at one instant.
    static UtcDate Today(platform::TimeOfDay& timeOfDay);

    // Milliseconds since midnight of a time of day.
    static uint32_t MillisecondsOf(const platform::TimeOfDay& time);
    static constexpr uint32_t kDayMilliseconds = 86'400'000;
};
