#include "platform/text/GlyphBlender.h"

#include "platform/headless/HeadlessPlatform.h"
#include "platform/pixels/DisplayDevice.h"

#include "platform/pixels/Surface.h"
#include "platform/pixels/SurfaceRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

using namespace platform;

namespace {
constexpr uint16_t kMarker = 0x1234;
const Rgb kWhite{255, 255, 255};

// A small 16-bit surface filled with a marker no blend of white over black produces.
struct Target {
    explicit Target(int width = 8, int height = 4)
        : surface(std::make_shared<SurfaceRegistry>(), width, height, PixelFormat::ForBitCount(16), false, false) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                Set(x, y, kMarker);
            }
        }
    }
    uint16_t At(int x, int y) const {
        const uint8_t* p = surface.Bits() + static_cast<std::ptrdiff_t>(y) * surface.Pitch() + x * 2;
        return static_cast<uint16_t>(p[0] | (p[1] << 8));
    }
    void Set(int x, int y, uint16_t v) {
        uint8_t* p = surface.Bits() + static_cast<std::ptrdiff_t>(y) * surface.Pitch() + x * 2;
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
    }
    Surface surface;
};

// A glyph image held as RGBA (alpha fourth), as a canvas hands it out.
struct Glyphs {
    Glyphs(int width, int height, std::vector<uint8_t> alpha) : bytes(static_cast<std::size_t>(width) * height * 4) {
        for (std::size_t i = 0; i < alpha.size(); ++i) {
            bytes[i * 4 + 3] = alpha[i];
        }
        coverage = GlyphCoverage{bytes.data() + 3, width, height, 4, width * 4};
    }
    std::vector<uint8_t> bytes;
    GlyphCoverage coverage;
};
// The 565 loop against the general one: random coverage (with many 0 and 255), colours, screens,
// backgrounds and places that clip the text at every edge.
TEST(GlyphBlender, Rgb565EqualsGeneral) {
    platform::HeadlessPlatform platform;
    auto device = platform.CreateDisplayDevice();
    device->SetDisplayMode(640, 480, 16);
    std::mt19937 rng(3);
    for (int round = 0; round < 200; ++round) {
        // Coverage read with a step of two bytes, as from every other byte of an image.
        const int w = 1 + static_cast<int>(rng() % 40), h = 1 + static_cast<int>(rng() % 20);
        std::vector<uint8_t> alpha(static_cast<std::size_t>(w) * h * 2);
        for (uint8_t& a : alpha) {
            const uint32_t pick = rng() % 4;
            a = pick == 0 ? 0 : pick == 1 ? 255 : static_cast<uint8_t>(rng());
        }
        const platform::GlyphCoverage glyphs{alpha.data(), w, h, 2, w * 2};
        std::unique_ptr<platform::Surface> general, fast;
        device->CreateSurface({48, 24, false, false}, general);
        device->CreateSurface({48, 24, false, false}, fast);
        for (int i = 0; i < general->Pitch() * 24; ++i) {
            general->Bits()[i] = static_cast<uint8_t>(rng());
        }
        std::memcpy(fast->Bits(), general->Bits(), static_cast<std::size_t>(general->Pitch()) * 24);
        const int x = static_cast<int>(rng() % 60) - 10, y = static_cast<int>(rng() % 30) - 6;
        const platform::Rgb color{static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()),
                                  static_cast<uint8_t>(rng())};
        const platform::Rgb back{static_cast<uint8_t>(rng()), 0, 255};
        const platform::Rgb* background = round % 5 == 0 ? &back : nullptr;
        platform::BlendGlyphsGeneral(*general, x, y, glyphs, color, background);
        platform::BlendGlyphs(*fast, x, y, glyphs, color, background);
        ASSERT_EQ(0, std::memcmp(general->Bits(), fast->Bits(), static_cast<std::size_t>(general->Pitch()) * 24))
            << "round " << round;
    }
}

} // namespace

TEST(GlyphBlender, NoneFullAndPartialCoverage) {
    Target t;
    t.Set(2, 0, 0); // black under the half-covered pixel
    Glyphs g(3, 1, {0, 255, 128});
    BlendGlyphs(t.surface, 0, 0, g.coverage, kWhite, nullptr);
    EXPECT_EQ(t.At(0, 0), kMarker);
    EXPECT_EQ(t.At(1, 0), 0xFFFF);
    // 128/255 of white over black: 128 in each channel, 16 red, 32 green, 16 blue in 5-6-5.
    EXPECT_EQ(t.At(2, 0), PixelFormat::ForBitCount(16).FromRgb(Rgb{128, 128, 128}));
    EXPECT_EQ(t.At(3, 0), kMarker);
}

TEST(GlyphBlender, BackgroundFillsTheWholeBoxBeforeTheText) {
    Target t;
    const Rgb blue{0, 0, 255};
    Glyphs g(2, 2, {0, 255, 0, 0});
    BlendGlyphs(t.surface, 1, 1, g.coverage, kWhite, &blue);
    EXPECT_EQ(t.At(1, 1), 0x001F);
    EXPECT_EQ(t.At(2, 1), 0xFFFF);
    EXPECT_EQ(t.At(1, 2), 0x001F);
    EXPECT_EQ(t.At(2, 2), 0x001F);
    EXPECT_EQ(t.At(0, 1), kMarker);
    EXPECT_EQ(t.At(3, 1), kMarker);
    EXPECT_EQ(t.At(1, 0), kMarker);
    EXPECT_EQ(t.At(1, 3), kMarker);
}

TEST(GlyphBlender, ClippedAtEveryEdge) {
    // A fully covered 3x3 image placed over each corner and beyond every edge.
    struct Case {
        int x, y, changed;
    } cases[] = {{-1, -1, 4}, {6, -2, 2}, {-2, 2, 2}, {7, 3, 1}, {-3, 0, 0}, {8, 0, 0}, {0, 4, 0}, {0, -3, 0}};
    for (const Case& c : cases) {
        Target t;
        Glyphs g(3, 3, std::vector<uint8_t>(9, 255));
        BlendGlyphs(t.surface, c.x, c.y, g.coverage, kWhite, nullptr);
        int changed = 0;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 8; ++x) {
                changed += t.At(x, y) != kMarker;
            }
        }
        EXPECT_EQ(changed, c.changed) << c.x << "," << c.y;
    }
}

TEST(GlyphBlender, ClippedImageReadsTheRightSourcePixels) {
    Target t;
    // Only the image's bottom-right pixel is covered; placed at (-1, -1) it lands on (0, 0).
    Glyphs g(2, 2, {0, 0, 0, 255});
    BlendGlyphs(t.surface, -1, -1, g.coverage, kWhite, nullptr);
    EXPECT_EQ(t.At(0, 0), 0xFFFF);
    EXPECT_EQ(t.At(1, 0), kMarker);
}

TEST(GlyphBlender, EmptyImagesDrawNothing) {
    Target t;
    const Rgb blue{0, 0, 255};
    Glyphs g(2, 2, {255, 255, 255, 255});
    GlyphCoverage empty = g.coverage;
    empty.Width = 0;
    BlendGlyphs(t.surface, 0, 0, empty, kWhite, &blue);
    empty = g.coverage;
    empty.Alpha = nullptr;
    BlendGlyphs(t.surface, 0, 0, empty, kWhite, &blue);
    EXPECT_EQ(t.At(0, 0), kMarker);
}
