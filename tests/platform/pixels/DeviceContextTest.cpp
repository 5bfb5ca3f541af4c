#include "platform/pixels/DeviceContext.h"

#include "platform/headless/HeadlessPlatform.h"
#include "platform/pixels/DisplayDevice.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <random>
#include <utility>

namespace {

// Pictures drawn through a device context against each pixel worked out on its own through the
// format's FromRgb, at every depth, scaled up and down and clipped at the surface's edges.
TEST(DeviceContext, StretchBltPacksEachPixelAsFromRgb) {
    platform::HeadlessPlatform platform;
    auto device = platform.CreateDisplayDevice();
    std::mt19937 rng(23);
    for (int round = 0; round < 80; ++round) {
        ASSERT_EQ(device->SetDisplayMode(640, 480, std::array<int, 4>{8, 16, 24, 32}[round % 4]), platform::Result::Ok);
        platform::RgbImage image;
        image.Width = 1 + static_cast<int>(rng() % 20);
        image.Height = 1 + static_cast<int>(rng() % 20);
        for (int i = 0; i < image.Width * image.Height; ++i) {
            image.Pixels.push_back(
                platform::Rgb{static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng())});
        }
        std::unique_ptr<platform::Surface> surface;
        ASSERT_EQ(device->CreateSurface({24, 16, false, false}, surface), platform::Result::Ok);
        const TRect dst = Bounds(static_cast<int>(rng() % 30) - 8, static_cast<int>(rng() % 20) - 5,
                                 1 + static_cast<int>(rng() % 30), 1 + static_cast<int>(rng() % 20));
        const TRect src{0, 0, image.Width, image.Height};
        {
            std::unique_ptr<platform::DeviceContext> dc;
            ASSERT_EQ(surface->GetDC(dc), platform::Result::Ok);
            dc->StretchBlt(dst, image, src);
        }
        const platform::PixelFormat& format = surface->Format();
        const int bpp = format.BytesPerPixel();
        for (int y = std::max(dst.Top, 0); y < std::min(dst.Bottom, 16); ++y) {
            for (int x = std::max(dst.Left, 0); x < std::min(dst.Right, 24); ++x) {
                const int sx = static_cast<int>(int64_t{x - dst.Left} * image.Width / dst.Width());
                const int sy = static_cast<int>(int64_t{y - dst.Top} * image.Height / dst.Height());
                uint32_t raw = 0;
                std::memcpy(&raw, std::as_const(*surface).Bits() + y * surface->Pitch() + x * bpp,
                            static_cast<std::size_t>(bpp));
                ASSERT_EQ(raw, format.FromRgb(image.At(sx, sy))) << "round " << round << " at " << x << "," << y;
            }
        }
    }
}

} // namespace
