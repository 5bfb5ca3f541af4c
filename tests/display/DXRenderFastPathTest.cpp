#include "display/DXRender.h"

#include "platform/headless/HeadlessPlatform.h"
#include "platform/pixels/DisplayDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace {

using platform::Surface;

// Turns the fast paths back on however a test ends.
struct FastPathsOn {
    ~FastPathsOn() { dxrender::UseFastPaths(true); }
};

class FastPaths : public ::testing::Test {
protected:
    FastPaths() : device_(platform_.CreateDisplayDevice()) {}

    std::unique_ptr<Surface> Random(int w, int h, uint32_t key, int keyPercent) {
        std::unique_ptr<Surface> s;
        device_->CreateSurface({w, h, false, false}, s);
        const int bpp = s->Format().BytesPerPixel();
        uint8_t* bits = s->Bits();
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const uint32_t v = static_cast<int>(rng_() % 100) < keyPercent ? key : rng_();
                std::memcpy(bits + y * s->Pitch() + x * bpp, &v, static_cast<std::size_t>(bpp));
            }
        }
        s->SetColorKey(key);
        return s;
    }

    // Draws with the general loops and with the fast paths onto two copies of one random destination
    // and expects the same pixels.
    void Compare(int bitCount, int w, int h, const std::function<void(Surface&, Surface&)>& draw) {
        device_->SetDisplayMode(640, 480, bitCount);
        const uint32_t key = rng_() % 4 == 0 ? 0 : rng_();
        auto source = Random(w, h, key, static_cast<int>(rng_() % 80));
        auto general = Random(48, 40, 0, 0);
        std::unique_ptr<Surface> fast;
        device_->CreateSurface({48, 40, false, false}, fast);
        std::memcpy(fast->Bits(), general->Bits(), static_cast<std::size_t>(general->Pitch()) * 40);
        FastPathsOn restore;
        dxrender::UseFastPaths(false);
        draw(*general, *source);
        dxrender::UseFastPaths(true);
        draw(*fast, *source);
        ASSERT_EQ(0, std::memcmp(general->Bits(), fast->Bits(), static_cast<std::size_t>(general->Pitch()) * 40));
    }

    int Pick(int low, int high) { return low + static_cast<int>(rng_() % static_cast<uint32_t>(high - low + 1)); }

    std::mt19937 rng_{2026};
    platform::HeadlessPlatform platform_;
    std::unique_ptr<platform::DisplayDevice> device_;
};

constexpr int BitCounts[] = {16, 32, 24, 8};

// Unscaled blends on the straight rows (and 16-bit lanes) against the stepping loop: random sizes,
// places over every edge, keys, opacities including the copy at 255.
TEST_F(FastPaths, UnscaledBlendEqualsGeneralLoop) {
    for (int round = 0; round < 400; ++round) {
        const int bitCount = BitCounts[round % 4];
        const int w = Pick(1, 40), h = Pick(1, 30);
        const TRect s{Pick(0, w - 1), Pick(0, h - 1), w, h};
        const int x = Pick(-20, 50), y = Pick(-20, 45);
        const int alpha = round % 7 == 0 ? 255 : Pick(1, 254);
        const bool keyed = round % 3 != 0;
        SCOPED_TRACE(testing::Message() << "round " << round << " bits " << bitCount << " alpha " << alpha);
        Compare(bitCount, w, h, [&](Surface& dest, Surface& source) {
            dxrender::DrawBlended(&dest, Bounds(x, y, s.Width(), s.Height()), &source, s, keyed, alpha);
        });
    }
}

// Quarter turns on their own path against the general turned loop, including scaled pictures,
// turning points off the centre (where a row or column drops out at an edge) and blended turns.
TEST_F(FastPaths, QuarterTurnEqualsGeneralLoop) {
    const double points[] = {0.5, 0.0, 1.0, 0.25, 0.37, 0.8333, 0.5000001};
    for (int round = 0; round < 800; ++round) {
        const int bitCount = BitCounts[round % 4];
        const int sw = Pick(1, 33), sh = Pick(1, 33);
        const TRect s{Pick(0, sw - 1), Pick(0, sh - 1), sw, sh};
        const int w = round % 3 == 0 ? Pick(1, 50) : s.Width(), h = round % 3 == 0 ? Pick(1, 50) : s.Height();
        const int angle = 64 * Pick(-5, 5);
        const double cx = points[rng_() % 7], cy = points[rng_() % 7];
        const int x = Pick(-30, 70), y = Pick(-30, 60);
        const bool keyed = round % 2 == 0, blended = round % 5 == 0;
        const int alpha = Pick(1, 254);
        SCOPED_TRACE(testing::Message() << "round " << round << " bits " << bitCount << " angle " << angle << " " << w
                                        << "x" << h << " at " << x << "," << y << " point " << cx << "," << cy);
        Compare(bitCount, sw, sh, [&](Surface& dest, Surface& source) {
            if (blended) {
                dxrender::DrawTurnedBlended(&dest, x, y, w, h, s, &source, cx, cy, keyed, angle, alpha);
            } else {
                dxrender::DrawTurned(&dest, x, y, w, h, s, &source, cx, cy, keyed, angle);
            }
        });
    }
}

// Turns by any angle: the general loop with its row divisions worked out once against the same loop
// dividing row by row, on scaled pictures, every angle step and far places.
TEST_F(FastPaths, AnyTurnEqualsGeneralLoop) {
    for (int round = 0; round < 600; ++round) {
        const int bitCount = BitCounts[round % 4];
        const int sw = Pick(1, 33), sh = Pick(1, 33);
        const TRect s{Pick(0, sw - 1), Pick(0, sh - 1), sw, sh};
        const int w = round % 2 == 0 ? Pick(-40, 60) : s.Width(), h = round % 2 == 0 ? Pick(-40, 60) : s.Height();
        const int angle = Pick(-300, 600);
        const double cx = Pick(-100, 200) / 100.0, cy = Pick(-100, 200) / 100.0;
        const int x = Pick(-40, 90), y = Pick(-40, 80);
        const bool keyed = round % 3 == 0;
        const int alpha = Pick(1, 254);
        SCOPED_TRACE(testing::Message() << "round " << round << " angle " << angle << " " << w << "x" << h);
        Compare(bitCount, sw, sh, [&](Surface& dest, Surface& source) {
            if (round % 4 == 1) {
                dxrender::DrawTurnedBlended(&dest, x, y, w == 0 ? 1 : w, h == 0 ? 1 : h, s, &source, cx, cy, keyed,
                                            angle, alpha);
            } else {
                dxrender::DrawTurned(&dest, x, y, w == 0 ? 1 : w, h == 0 ? 1 : h, s, &source, cx, cy, keyed, angle);
            }
        });
    }
}

} // namespace
