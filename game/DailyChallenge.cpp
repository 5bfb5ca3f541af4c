#include "game/DailyChallenge.h"

#include <chrono>
#include <cstdio>

namespace {

platform::TimeOfDay TimeOfDayOf(uint32_t ms) {
    return platform::TimeOfDay{static_cast<int>(ms / 3'600'000), static_cast<int>(ms / 60'000 % 60),
                               static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

platform::TimeOfDay DailyChallenge::SeedOf(const UtcDate& date) {
    uint32_t hash = 2166136261u;
    for (const char c : FormatDate(date)) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    }
    return TimeOfDayOf(hash % kDayMilliseconds);
}

std::string DailyChallenge::FormatDate(const UtcDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year, date.Month, date.Day);
    return text;
}

std::optional<UtcDate> DailyChallenge::ParseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!IsDigit(text[i])) {
            return std::nullopt;
        }
    }
    auto number = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const UtcDate date{number(0, 4), number(5, 2), number(8, 2)};
    using namespace std::chrono;
    const year_month_day day{year(date.Year), month(static_cast<unsigned>(date.Month)),
                             std::chrono::day(static_cast<unsigned>(date.Day))};
    if (date.Year < 1 || !day.ok()) {
        return std::nullopt;
    }
    return date;
}

UtcDate DailyChallenge::Today(platform::TimeOfDay& timeOfDay) {
    using namespace std::chrono;
    const auto now = time_point_cast<milliseconds>(system_clock::now());
    const sys_days midnight = floor<days>(now);
    const year_month_day day(midnight);
    timeOfDay = TimeOfDayOf(static_cast<uint32_t>((now - midnight).count()));
    return UtcDate{static_cast<int>(day.year()), static_cast<int>(static_cast<unsigned>(day.month())),
                   static_cast<int>(static_cast<unsigned>(day.day()))};
}

uint32_t DailyChallenge::MillisecondsOf(const platform::TimeOfDay& time) {
    return static_cast<uint32_t>(((time.Hours * 60 + time.Minutes) * 60 + time.Seconds) * 1000 + time.Milliseconds);
}
