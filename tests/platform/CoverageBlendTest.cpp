#include "platform/CoverageBlend.h"

#include "platform/DisplayDevice.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/TextImageCache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

namespace {

// The 565 loop against the general one: random coverage (with many 0 and 255), colours, screens
// and boxes that start inside the image.
TEST(CoverageBlend, Rgb565EqualsGeneral) {
    platform::HeadlessPlatform platform;
    auto device = platform.CreateDisplayDevice();
    device->SetDisplayMode(640, 480, 16);
    std::mt19937 rng(3);
    for (int round = 0; round < 200; ++round) {
        platform::CoverageImage image;
        image.Width = 1 + static_cast<int>(rng() % 40);
        image.Height = 1 + static_cast<int>(rng() % 20);
        for (int i = 0; i < image.Width * image.Height; ++i) {
            const uint32_t pick = rng() % 4;
            image.Alpha.push_back(pick == 0 ? 0 : pick == 1 ? 255 : static_cast<uint8_t>(rng()));
        }
        std::unique_ptr<platform::Surface> general, fast;
        device->CreateSurface({48, 24, false, false}, general);
        device->CreateSurface({48, 24, false, false}, fast);
        for (int i = 0; i < general->Pitch() * 24; ++i) {
            general->Bits()[i] = static_cast<uint8_t>(rng());
        }
        std::memcpy(fast->Bits(), general->Bits(), static_cast<std::size_t>(general->Pitch()) * 24);
        const int srcX = static_cast<int>(rng() % static_cast<uint32_t>(image.Width));
        const int srcY = static_cast<int>(rng() % static_cast<uint32_t>(image.Height));
        const TRect box =
            Bounds(static_cast<int>(rng() % 8), static_cast<int>(rng() % 4), image.Width - srcX, image.Height - srcY);
        const platform::Rgb color{static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()),
                                  static_cast<uint8_t>(rng())};
        platform::coverage::BlendGeneral(*general, image, box, srcX, srcY, color);
        platform::coverage::Blend(*fast, image, box, srcX, srcY, color);
        ASSERT_EQ(0, std::memcmp(general->Bits(), fast->Bits(), static_cast<std::size_t>(general->Pitch()) * 24))
            << "round " << round;
    }
}

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
