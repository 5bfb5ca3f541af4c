#include "platform/pixels/TextRenderer.h"

#include "platform/pixels/Surface.h"
#include "platform/pixels/SurfaceRegistry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace platform;

namespace {
constexpr uint16_t kMarker = 0x1234;
const Rgb kWhite{255, 255, 255};
const std::string kRussian = "Нажмите Esc для выхода";

// A surface of the given depth filled with a marker value that no text colour produces.
struct Canvas {
    explicit Canvas(int width = 320, int height = 80, int bits = 16)
        : surface(std::make_shared<SurfaceRegistry>(), width, height, PixelFormat::ForBitCount(bits), false, false) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                Set(x, y, kMarker);
            }
        }
    }
    uint32_t At(int x, int y) const {
        const int bpp = surface.Format().BytesPerPixel();
        const uint8_t* p = surface.Bits() + static_cast<std::ptrdiff_t>(y) * surface.Pitch() + x * bpp;
        uint32_t v = 0;
        for (int i = 0; i < bpp; ++i) {
            v |= static_cast<uint32_t>(p[i]) << (8 * i);
        }
        return v;
    }
    void Set(int x, int y, uint32_t v) {
        const int bpp = surface.Format().BytesPerPixel();
        uint8_t* p = surface.Bits() + static_cast<std::ptrdiff_t>(y) * surface.Pitch() + x * bpp;
        for (int i = 0; i < bpp; ++i) {
            p[i] = static_cast<uint8_t>(v >> (8 * i));
        }
    }
    uint32_t Marker() const { return kMarker & ((surface.Format().BytesPerPixel() == 1) ? 0xFF : 0xFFFF); }
    int Count(uint32_t value) const {
        int n = 0;
        for (int y = 0; y < surface.Height(); ++y) {
            for (int x = 0; x < surface.Width(); ++x) {
                n += At(x, y) == value;
            }
        }
        return n;
    }
    int Changed() const { return surface.Width() * surface.Height() - Count(Marker()); }
    // Rows between the first and the last that hold anything but the marker.
    int InkHeight() const {
        int first = -1, last = -1;
        for (int y = 0; y < surface.Height(); ++y) {
            for (int x = 0; x < surface.Width(); ++x) {
                if (At(x, y) != Marker()) {
                    first = first < 0 ? y : first;
                    last = y;
                    break;
                }
            }
        }
        return first < 0 ? 0 : last - first + 1;
    }

    Surface surface;
};

FontSpec Font(const std::string& name, int height) {
    FontSpec f;
    f.Name = name;
    f.Height = height;
    return f;
}

TextRenderer& Renderer() {
    return TextRenderer::Instance();
}
} // namespace

TEST(TextRenderer, Draw_PutsTheFontColourInsideTheTextBoxAndNothingOutside) {
    Canvas c;
    const FontSpec font = Font("System", 17);
    const TextSize size = Renderer().Measure("Vorkalith 1.00a", font);
    ASSERT_GT(size.Width, 0);
    ASSERT_GE(size.Height, 17);
    Renderer().Draw(c.surface, 10, 5, "Vorkalith 1.00a", font, kWhite, nullptr);

    EXPECT_GT(c.Count(0xFFFF), 20); // solid white stems
    for (int y = 0; y < c.surface.Height(); ++y) {
        for (int x = 0; x < c.surface.Width(); ++x) {
            const bool inside = x >= 10 && x < 10 + size.Width && y >= 5 && y < 5 + size.Height;
            if (!inside) {
                ASSERT_EQ(c.At(x, y), kMarker) << x << "," << y;
            }
        }
    }
}

TEST(TextRenderer, Draw_RussianTextProducesGlyphs) {
    Canvas c;
    Renderer().Draw(c.surface, 2, 2, "Уровень", Font("Arial black", 20), kWhite, nullptr);
    EXPECT_GT(c.Count(0xFFFF), 30);
    EXPECT_GT(Renderer().Measure("Уровень", Font("Arial black", 20)).Width, 40);
}

TEST(TextRenderer, Draw_TransparentBackgroundLeavesTheGapsBetweenLetters) {
    Canvas c;
    const FontSpec font = Font("System", 17);
    Renderer().Draw(c.surface, 0, 0, "I I", font, kWhite, nullptr);
    const TextSize size = Renderer().Measure("I I", font);
    // The space between the two letters and the row above the capitals keep the marker.
    EXPECT_EQ(c.At(size.Width / 2, size.Height / 2), kMarker);
    EXPECT_EQ(c.At(size.Width / 2, 0), kMarker);
}

TEST(TextRenderer, Draw_BackgroundFillsExactlyTheTextBox) {
    Canvas c;
    const FontSpec font = Font("System", 17);
    const Rgb blue{0, 0, 255};
    Renderer().Draw(c.surface, 20, 10, "I I", font, kWhite, &blue);
    const TextSize size = Renderer().Measure("I I", font);
    EXPECT_EQ(c.At(20, 10), 0x001Fu);
    EXPECT_EQ(c.At(20 + size.Width - 1, 10 + size.Height - 1), 0x001Fu);
    EXPECT_EQ(c.At(20 + size.Width / 2, 10 + size.Height / 2), 0x001Fu);
    EXPECT_EQ(c.At(19, 10), kMarker);
    EXPECT_EQ(c.At(20 + size.Width, 10), kMarker);
    EXPECT_EQ(c.At(20, 10 + size.Height), kMarker);
    EXPECT_GT(c.Count(0xFFFF), 10);
    EXPECT_EQ(c.Changed(), size.Width * size.Height);
}

TEST(TextRenderer, Height_IsTheCharacterHeightInPixels) {
    // A capital's ink is about three quarters of the character height, whatever the font.
    for (int height : {13, 17, 34}) {
        Canvas c(200, 80);
        Renderer().Draw(c.surface, 0, 0, "H", Font("System", height), kWhite, nullptr);
        EXPECT_GE(c.InkHeight(), height * 6 / 10) << height;
        EXPECT_LE(c.InkHeight(), height * 8 / 10 + 1) << height;
        const TextSize size = Renderer().Measure("H", Font("System", height));
        EXPECT_GE(size.Height, height);
        EXPECT_LE(size.Height, height * 3 / 2);
    }
}

TEST(TextRenderer, Height_TallerFontsGiveTallerText) {
    Canvas small, large;
    Renderer().Draw(small.surface, 0, 0, kRussian, Font("System", 13), kWhite, nullptr);
    Renderer().Draw(large.surface, 0, 0, kRussian, Font("System", 26), kWhite, nullptr);
    EXPECT_GT(large.InkHeight(), small.InkHeight() * 3 / 2);
    EXPECT_GT(Renderer().Measure(kRussian, Font("System", 26)).Height,
              Renderer().Measure(kRussian, Font("System", 13)).Height);
}

TEST(TextRenderer, Draw_UnknownFontNameStillDraws) {
    Canvas c;
    Renderer().Draw(c.surface, 0, 0, kRussian, Font("No Such Typeface 4711", 17), kWhite, nullptr);
    EXPECT_GT(c.Count(0xFFFF), 20);
}

TEST(TextRenderer, Draw_IsClippedAtEveryEdge) {
    const FontSpec font = Font("System", 17);
    const TextSize size = Renderer().Measure(kRussian, font);
    Canvas c(60, 12);
    const Rgb red{255, 0, 0};
    Renderer().Draw(c.surface, -30, -8, kRussian, font, kWhite, &red);
    // The box covers the whole small surface; nothing was written past it (the canvas keeps its size).
    EXPECT_GT(size.Width, 90);
    EXPECT_EQ(c.Count(kMarker), 0);

    Canvas away(60, 12);
    Renderer().Draw(away.surface, 60, 0, kRussian, font, kWhite, &red);
    Renderer().Draw(away.surface, -size.Width, 0, kRussian, font, kWhite, &red);
    Renderer().Draw(away.surface, 0, 12, kRussian, font, kWhite, &red);
    EXPECT_EQ(away.Changed(), 0);
}

TEST(TextRenderer, Draw_UsesTheColourInEveryPixelFormat) {
    const Rgb yellow{255, 255, 0};
    for (int bits : {8, 24, 32}) {
        Canvas c(200, 40, bits);
        Renderer().Draw(c.surface, 1, 1, "Энергия", Font("System", 17), yellow, nullptr);
        EXPECT_GT(c.Count(c.surface.Format().FromRgb(yellow)), 20) << bits;
    }
}

TEST(TextRenderer, NothingIsDrawnOrMeasuredWithoutAUsableHeight) {
    Canvas c;
    Renderer().Draw(c.surface, 0, 0, kRussian, Font("System", 0), kWhite, nullptr);
    Renderer().Draw(c.surface, 0, 0, kRussian, Font("System", -17), kWhite, nullptr);
    Renderer().Draw(c.surface, 0, 0, "", Font("System", 17), kWhite, &kWhite);
    EXPECT_EQ(c.Changed(), 0);
    EXPECT_EQ(Renderer().Measure(kRussian, Font("System", 0)).Width, 0);
    EXPECT_EQ(Renderer().Measure(kRussian, Font("System", 0)).Height, 0);
    EXPECT_EQ(Renderer().Measure("", Font("System", 17)).Width, 0);
}
