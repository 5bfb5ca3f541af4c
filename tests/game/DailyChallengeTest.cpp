#include "game/DailyChallenge.h"

#include <gtest/gtest.h>

namespace {
uint32_t SeedMs(const UtcDate& date) {
    return DailyChallenge::MillisecondsOf(DailyChallenge::SeedOf(date));
}
} // namespace

// Daily demos and leaderboards rely on the seed of a date staying what it was.
TEST(DailyChallenge, TheSeedOfADateIsFixed) {
    const platform::TimeOfDay seed = DailyChallenge::SeedOf({2024, 5, 1});
    EXPECT_EQ(seed.Hours, 18);
    EXPECT_EQ(seed.Minutes, 44);
    EXPECT_EQ(seed.Seconds, 13);
    EXPECT_EQ(seed.Milliseconds, 69);
    EXPECT_NE(SeedMs({2024, 5, 2}), SeedMs({2024, 5, 1}));
    EXPECT_NE(SeedMs({2025, 5, 1}), SeedMs({2024, 5, 1}));
    EXPECT_LT(SeedMs({9999, 12, 31}), DailyChallenge::kDayMilliseconds);
}

TEST(DailyChallenge, DatesReadOnlyAsTheCalendarHasThem) {
    for (const char* good : {"2024-02-29", "0001-01-01", "9999-12-31", "2000-02-29"}) {
        const auto date = DailyChallenge::ParseDate(good);
        ASSERT_TRUE(date) << good;
        EXPECT_EQ(DailyChallenge::FormatDate(*date), good);
    }
    for (const char* bad : {"2023-02-29", "1900-02-29", "2024-13-01", "2024-00-10", "2024-04-31", "2024-5-1",
                            "2024-05-01x", " 2024-05-01", "0000-01-01", "+024-05-01", "2024/05/01", ""}) {
        EXPECT_FALSE(DailyChallenge::ParseDate(bad)) << bad;
    }
}
