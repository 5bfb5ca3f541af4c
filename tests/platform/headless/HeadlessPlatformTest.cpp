#include "platform/headless/HeadlessPlatform.h"

#include "platform/pixels/DisplayDevice.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The screen is kept raw at every show and converted to colours only when read; a read after a
// later show must see that show, not the conversion made before it.
TEST(HeadlessPlatform, ScreenImageFollowsTheLatestShow) {
    platform::HeadlessPlatform platform;
    auto device = platform.CreateDisplayDevice();
    ASSERT_EQ(device->SetDisplayMode(320, 200, 16), platform::Result::Ok);
    std::unique_ptr<platform::Surface> primary;
    ASSERT_EQ(device->CreateSurface({0, 0, true, false}, primary), platform::Result::Ok);
    primary->Fill(nullptr, 0xF800);
    ASSERT_EQ(platform.ScreenBits.size(), 320u * 200u * 2u);
    EXPECT_EQ(platform.ScreenImage().At(319, 199), (platform::Rgb{255, 0, 0}));
    const TRect corner{300, 190, 320, 200};
    primary->Fill(&corner, 0x001F);
    EXPECT_EQ(platform.ScreenImage().At(319, 199), (platform::Rgb{0, 0, 255}));
    EXPECT_EQ(platform.ScreenImage().At(0, 0), (platform::Rgb{255, 0, 0}));
    EXPECT_EQ(platform.ScreenImage().Width, 320);
    EXPECT_EQ(platform.ScreenImage().Height, 200);
}

TEST(HeadlessPlatform, ScreenImageOfA32BitScreen) {
    platform::HeadlessPlatform platform;
    auto device = platform.CreateDisplayDevice();
    ASSERT_EQ(device->SetDisplayMode(640, 480, 32), platform::Result::Ok);
    std::unique_ptr<platform::Surface> primary;
    ASSERT_EQ(device->CreateSurface({0, 0, true, false}, primary), platform::Result::Ok);
    primary->Fill(nullptr, 0x123456);
    EXPECT_EQ(platform.ScreenImage().At(5, 7), (platform::Rgb{0x12, 0x34, 0x56}));
}

} // namespace
