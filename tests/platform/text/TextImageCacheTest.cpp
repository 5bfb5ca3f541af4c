#include "platform/text/TextImageCache.h"

#include <gtest/gtest.h>

#include <string>

namespace {

platform::CoverageImage Image(int w, int h) {
    return platform::CoverageImage{w, h, std::vector<uint8_t>(static_cast<std::size_t>(w) * h, 7)};
}

TEST(TextImageCache, DropsTheLeastRecentlyUsedWhenFull) {
    platform::TextImageCache cache;
    for (std::size_t i = 0; i < platform::TextImageCache::kEntries; ++i) {
        cache.Add("text " + std::to_string(i), Image(2, 2));
    }
    // "text 0" is used again, so "text 1" is now the oldest.
    ASSERT_NE(cache.Find("text 0"), nullptr);
    cache.Add("new", Image(3, 1));
    EXPECT_EQ(cache.Size(), platform::TextImageCache::kEntries);
    EXPECT_NE(cache.Find("text 0"), nullptr);
    EXPECT_EQ(cache.Find("text 1"), nullptr);
    ASSERT_NE(cache.Find("new"), nullptr);
    EXPECT_EQ(cache.Find("new")->Width, 3);
}

TEST(TextImageCache, KeepsNoHugeImageButStillHandsItBack) {
    platform::TextImageCache cache;
    const platform::CoverageImage& kept = cache.Add("huge", Image(2048, 1024));
    EXPECT_EQ(kept.Width, 2048);
    EXPECT_EQ(cache.Find("huge"), nullptr);
    EXPECT_EQ(cache.Size(), 0u);
}

TEST(TextImageCache, ReplacesAnImageAddedAgainUnderItsKey) {
    platform::TextImageCache cache;
    cache.Add("a", Image(1, 1));
    cache.Add("a", Image(5, 1));
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_EQ(cache.Find("a")->Width, 5);
}

} // namespace
