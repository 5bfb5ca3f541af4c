#include "platform/headless/HeadlessPlatform.h"
#include "platform/pixels/DisplayDevice.h"
#include "platform/pixels/KeyedRows.h"
#include "platform/pixels/PixelAccess.h"
#include "platform/pixels/Surface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

using platform::Surface;

uint32_t Mask(int bpp) {
    return bpp == 4 ? 0xFFFFFFFFu : (1u << (8 * bpp)) - 1;
}

class Blitter : public ::testing::Test {
protected:
    Blitter() : device(platform.CreateDisplayDevice()) {}

    std::unique_ptr<Surface> Make(int w, int h) {
        std::unique_ptr<Surface> s;
        device->CreateSurface({w, h, false, false}, s);
        return s;
    }

    void Randomise(Surface& s) {
        uint8_t* bits = s.Bits();
        for (int i = 0; i < s.Pitch() * s.Height(); ++i) {
            bits[i] = static_cast<uint8_t>(rng());
        }
    }

    std::vector<uint8_t> Bytes(const Surface& s) { return {s.Bits(), s.Bits() + s.Pitch() * s.Height()}; }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

    std::mt19937 rng{3};
    platform::HeadlessPlatform platform;
    std::unique_ptr<platform::DisplayDevice> device;
};

// Fills of values whose bytes are alike (black, white) and of other values, over whole surfaces and
// parts of them, with and without padding after each row, against a pixel-by-pixel fill that
// leaves the padding alone.
TEST_F(Blitter, FillEqualsAPixelLoop) {
    for (int bits : {8, 16, 24, 32}) {
        device->SetDisplayMode(640, 480, bits);
        for (int round = 0; round < 200; ++round) {
            auto s = Make(Pick(1, 40), Pick(1, 12));
            Randomise(*s);
            const int bpp = s->Format().BytesPerPixel();
            const uint32_t byte = static_cast<uint32_t>(Pick(0, 255));
            const uint32_t raw = round % 2 == 0 ? byte * 0x01010101u : static_cast<uint32_t>(rng());
            const bool whole = round % 3 == 0;
            const int left = whole ? 0 : Pick(0, s->Width() - 1), top = whole ? 0 : Pick(0, s->Height() - 1);
            const TRect area{left, top, whole ? s->Width() : Pick(left + 1, s->Width()),
                             whole ? s->Height() : Pick(top + 1, s->Height())};
            std::vector<uint8_t> expected = Bytes(*s);
            for (int y = area.Top; y < area.Bottom; ++y) {
                for (int x = area.Left; x < area.Right; ++x) {
                    uint8_t* p = expected.data() + y * s->Pitch() + x * bpp;
                    platform::WithPixelSize(bpp, [&](auto size) { platform::Px<decltype(size)::value>::Set(p, raw); });
                }
            }
            ASSERT_EQ(s->Fill(whole ? nullptr : &area, raw), platform::Result::Ok);
            SCOPED_TRACE(testing::Message()
                         << bits << " bits, " << s->Width() << "x" << s->Height() << " value " << (raw & Mask(bpp)));
            ASSERT_EQ(Bytes(*s), expected);
        }
    }
}

// Keyed and plain copies of speckled pictures, pictures of one run per row and pictures without key
// pixels, whole and in part, against the reference loop: three times each, so that the first
// copy selects, the second builds the picture's runs and the third copies through them.
TEST_F(Blitter, CopiesEqualTheReferenceWhateverThePicture) {
    for (int bits : {8, 16, 24, 32}) {
        device->SetDisplayMode(640, 480, bits);
        for (int round = 0; round < 150; ++round) {
            auto source = Make(Pick(1, 50), Pick(1, 12));
            auto dest = Make(60, 16);
            const int bpp = source->Format().BytesPerPixel();
            const uint32_t key = static_cast<uint32_t>(rng()) & Mask(bpp);
            const int shape = round % 3;
            uint8_t* pixels = source->Bits();
            for (int y = 0; y < source->Height(); ++y) {
                const int begin = Pick(0, source->Width() / 2), end = Pick(begin, source->Width());
                for (int x = 0; x < source->Width(); ++x) {
                    uint32_t v = static_cast<uint32_t>(rng()) & Mask(bpp);
                    v = v == key ? v ^ 1 : v;
                    const bool isKey = shape == 0 ? Pick(0, 2) == 0 : shape == 1 && (x < begin || x >= end);
                    const uint32_t pixel = isKey ? key : v;
                    std::memcpy(pixels + y * source->Pitch() + x * bpp, &pixel, static_cast<std::size_t>(bpp));
                }
            }
            source->SetColorKey(key);
            const bool whole = round % 2 == 0;
            const int left = whole ? 0 : Pick(0, source->Width() - 1), top = whole ? 0 : Pick(0, source->Height() - 1);
            const TRect r{left, top, whole ? source->Width() : Pick(left + 1, source->Width()),
                          whole ? source->Height() : Pick(top + 1, source->Height())};
            const bool keyed = round % 5 != 0;
            const int x = Pick(0, 60 - r.Width()), y = Pick(0, 16 - r.Height());
            for (int copy = 0; copy < 3; ++copy) {
                Randomise(*dest);
                std::vector<uint8_t> expected = Bytes(*dest);
                const platform::keyed::ConstRows from{
                    std::as_const(*source).Bits() + r.Top * source->Pitch() + r.Left * bpp, source->Pitch()};
                uint8_t* to = expected.data() + y * dest->Pitch() + x * bpp;
                if (keyed) {
                    platform::keyed::CopyReference(bpp, {to, dest->Pitch()}, from, r.Width(), r.Height(), key);
                } else {
                    for (int row = 0; row < r.Height(); ++row) {
                        std::memcpy(to + row * dest->Pitch(), from.bits + row * from.pitch,
                                    static_cast<std::size_t>(r.Width() * bpp));
                    }
                }
                ASSERT_EQ(dest->BltFast(x, y, *source, r, keyed), platform::Result::Ok);
                SCOPED_TRACE(testing::Message() << bits << " bits, round " << round << " copy " << copy);
                ASSERT_EQ(Bytes(*dest), expected);
            }
        }
    }
}

} // namespace
