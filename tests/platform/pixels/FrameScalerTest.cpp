#include "platform/pixels/FrameScaler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

using platform::FrameScaler;
using platform::OutputFormat;
using platform::PixelFormat;

// Each output pixel of the view worked out on its own: the source pixel under it by nearest
// neighbour, through the formats' own conversions.
std::vector<uint8_t> Reference(const PixelFormat& in, const std::vector<uint8_t>& src, int srcW, int srcH, int pitch,
                               const OutputFormat& out, int outW, int outH, const TRect& view,
                               std::vector<uint8_t> output) {
    const int bpp = in.BytesPerPixel();
    for (int y = view.Top; y < view.Bottom; ++y) {
        for (int x = view.Left; x < view.Right; ++x) {
            const int sx = static_cast<int>(int64_t{x - view.Left} * srcW / view.Width());
            const int sy = static_cast<int>(int64_t{y - view.Top} * srcH / view.Height());
            uint32_t raw = 0;
            std::memcpy(&raw, src.data() + sy * pitch + sx * bpp, static_cast<std::size_t>(bpp));
            const uint32_t v = out.Pack(in.ToRgb(raw));
            std::memcpy(output.data() + (static_cast<std::size_t>(y) * outW + x) * out.Bytes, &v,
                        static_cast<std::size_t>(out.Bytes));
        }
    }
    (void)outH;
    return output;
}

// Random frames of every depth scaled up, down and unevenly into views of 4- and 2-byte outputs.
TEST(FrameScaler, EqualsPixelByPixelScaling) {
    std::mt19937 rng(17);
    const OutputFormat xrgb{4, 16, 8, 0, 0, 0, 0};
    const OutputFormat rgb565{2, 11, 5, 0, 3, 2, 3};
    const int depths[] = {16, 32, 8, 24};
    FrameScaler scaler;
    for (int round = 0; round < 120; ++round) {
        const PixelFormat in = PixelFormat::ForBitCount(depths[round % 4]);
        const OutputFormat& out = round % 3 == 0 ? rgb565 : xrgb;
        const int srcW = 1 + static_cast<int>(rng() % 50), srcH = 1 + static_cast<int>(rng() % 40);
        const int pitch = srcW * in.BytesPerPixel() + 3;
        std::vector<uint8_t> src(static_cast<std::size_t>(pitch) * srcH);
        for (uint8_t& b : src) {
            b = static_cast<uint8_t>(rng());
        }
        const int outW = 1 + static_cast<int>(rng() % 120), outH = 1 + static_cast<int>(rng() % 90);
        const int left = static_cast<int>(rng() % static_cast<uint32_t>(outW));
        const int top = static_cast<int>(rng() % static_cast<uint32_t>(outH));
        const TRect view{left, top, left + 1 + static_cast<int>(rng() % static_cast<uint32_t>(outW - left)),
                         top + 1 + static_cast<int>(rng() % static_cast<uint32_t>(outH - top))};
        std::vector<uint8_t> output(static_cast<std::size_t>(outW) * outH * out.Bytes, 0x5A);
        const std::vector<uint8_t> want = Reference(in, src, srcW, srcH, pitch, out, outW, outH, view, output);
        ASSERT_TRUE(scaler.Prepare(in, srcW, srcH, out, view));
        scaler.Scale(src.data(), pitch, output.data(), outW * out.Bytes);
        ASSERT_EQ(output, want) << "round " << round << " depth " << depths[round % 4] << " " << srcW << "x" << srcH
                                << " into " << view.Width() << "x" << view.Height();
    }
}

TEST(FrameScaler, RefusesOutputsOfThreeBytesAndEmptyViews) {
    FrameScaler scaler;
    const PixelFormat in = PixelFormat::ForBitCount(16);
    EXPECT_FALSE(scaler.Prepare(in, 640, 480, OutputFormat{3, 16, 8, 0, 0, 0, 0}, TRect{0, 0, 10, 10}));
    EXPECT_FALSE(scaler.Prepare(in, 640, 480, OutputFormat{}, TRect{0, 0, 0, 10}));
    EXPECT_TRUE(scaler.Prepare(in, 640, 480, OutputFormat{}, TRect{0, 0, 10, 10}));
}

} // namespace
