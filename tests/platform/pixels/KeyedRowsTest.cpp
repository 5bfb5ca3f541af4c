#include "platform/pixels/KeyedRows.h"

#include "platform/headless/HeadlessPlatform.h"
#include "platform/pixels/DeviceContext.h"
#include "platform/pixels/DisplayDevice.h"
#include "platform/pixels/OpaqueRuns.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

using namespace platform::keyed;

// A picture of w x h pixels of bpp bytes, rows padded to a pitch of their own.
struct Picture {
    int w, h, bpp, pitch;
    std::vector<uint8_t> bits;
    Picture(int width, int height, int bytes)
        : w(width), h(height), bpp(bytes), pitch(width * bytes + 5), bits(static_cast<std::size_t>(pitch) * height) {}
    uint8_t* At(int x, int y) { return bits.data() + y * pitch + x * bpp; }
    void Set(int x, int y, uint32_t v) { std::memcpy(At(x, y), &v, static_cast<std::size_t>(bpp)); }
};

uint32_t Mask(int bpp) {
    return bpp == 4 ? 0xFFFFFFFFu : (1u << (8 * bpp)) - 1;
}

// Key pixels scattered at the given share, in runs of random length as a sprite has them.
Picture RandomPicture(std::mt19937& rng, int w, int h, int bpp, uint32_t key, int keyPercent) {
    Picture p(w, h, bpp);
    std::uniform_int_distribution<uint32_t> any;
    std::uniform_int_distribution<int> percent(0, 99), runLength(1, 12);
    for (int y = 0; y < h; ++y) {
        int x = 0;
        while (x < w) {
            const bool isKey = percent(rng) < keyPercent;
            for (int n = runLength(rng); n > 0 && x < w; --n, ++x) {
                uint32_t v = any(rng) & Mask(bpp);
                p.Set(x, y, isKey ? key : (v == key ? v ^ 1 : v));
            }
        }
    }
    return p;
}

// A picture without holes: each row one run of opaque pixels (or none) between key pixels, as a
// round sprite has; with `full`, every run fills its row and no pixel is the key.
Picture SolidPicture(std::mt19937& rng, int w, int h, int bpp, uint32_t key, bool full) {
    Picture p(w, h, bpp);
    std::uniform_int_distribution<uint32_t> any;
    for (int y = 0; y < h; ++y) {
        int begin = std::uniform_int_distribution<int>(0, w)(rng);
        int end = std::uniform_int_distribution<int>(0, w)(rng);
        if (begin > end) {
            std::swap(begin, end);
        }
        if (full) {
            begin = 0;
            end = w;
        }
        for (int x = 0; x < w; ++x) {
            uint32_t v = any(rng) & Mask(bpp);
            p.Set(x, y, x < begin || x >= end ? key : (v == key ? v ^ 1 : v));
        }
    }
    return p;
}

// Every fast keyed copy against the pixel-by-pixel one, on random pictures, areas and keys of
// every pixel size, including rows narrower than one vector and areas that start inside runs:
// speckled pictures, pictures of one run per row, and pictures without key pixels, copied whole or
// in part.
TEST(KeyedRows, FastCopiesEqualTheReference) {
    std::mt19937 rng(11);
    for (int round = 0; round < 1200; ++round) {
        const int bpp = 1 + round % 4;
        const int shape = round / 400;
        std::uniform_int_distribution<int> size(1, 70);
        const int w = size(rng), h = 1 + size(rng) % 20;
        const uint32_t key = std::uniform_int_distribution<uint32_t>()(rng) & Mask(bpp);
        const int keyPercent = std::array<int, 5>{0, 30, 60, 90, 100}[static_cast<std::size_t>(round / 4 % 5)];
        Picture source =
            shape == 0 ? RandomPicture(rng, w, h, bpp, key, keyPercent) : SolidPicture(rng, w, h, bpp, key, shape == 2);
        std::uniform_int_distribution<int> leftOf(0, w - 1), topOf(0, h - 1);
        const bool whole = round % 3 == 0;
        const int left = whole ? 0 : leftOf(rng), top = topOf(rng);
        const int cw = whole ? w : std::uniform_int_distribution<int>(1, w - left)(rng);
        const int ch = std::uniform_int_distribution<int>(1, h - top)(rng);
        Picture expected = RandomPicture(rng, cw + 3, ch, bpp, key ^ 1, 0);
        Picture select = expected, scalar = expected, runs = expected, portable = expected;
        const ConstRows from{source.At(left, top), source.pitch};
        CopyReference(bpp, {expected.At(1, 0), expected.pitch}, from, cw, ch, key);
        CopySelect(bpp, {select.At(1, 0), select.pitch}, from, cw, ch, key);
        CopySelectScalar(bpp, {scalar.At(1, 0), scalar.pitch}, from, cw, ch, key);
        platform::OpaqueRuns opaque;
        opaque.Build(source.bits.data(), source.pitch, w, h, bpp, key);
        CopyRuns(bpp, {runs.At(1, 0), runs.pitch}, {source.bits.data(), source.pitch}, opaque, left, top, cw, ch);
        CopyRunsPortable(bpp, {portable.At(1, 0), portable.pitch}, {source.bits.data(), source.pitch}, opaque, left,
                         top, cw, ch);
        SCOPED_TRACE(testing::Message() << "round " << round << " bpp " << bpp << " " << cw << "x" << ch);
        EXPECT_EQ(select.bits, expected.bits);
        EXPECT_EQ(scalar.bits, expected.bits);
        EXPECT_EQ(runs.bits, expected.bits);
        EXPECT_EQ(portable.bits, expected.bits);
    }
}

TEST(OpaqueRuns, FindsRunsAndJudgesThemWorthwhile) {
    Picture p(6, 2, 2);
    const uint16_t row0[6] = {0, 5, 5, 0, 0, 7};
    const uint16_t row1[6] = {0, 0, 0, 0, 0, 0};
    std::memcpy(p.At(0, 0), row0, sizeof row0);
    std::memcpy(p.At(0, 1), row1, sizeof row1);
    platform::OpaqueRuns runs;
    runs.Build(p.bits.data(), p.pitch, 6, 2, 2, 0);
    ASSERT_EQ(runs.Row(0).size(), 2u);
    EXPECT_EQ(runs.Row(0)[0].Begin, 1);
    EXPECT_EQ(runs.Row(0)[0].End, 3);
    EXPECT_EQ(runs.Row(0)[1].Begin, 5);
    EXPECT_EQ(runs.Row(0)[1].End, 6);
    EXPECT_TRUE(runs.Row(1).empty());
    // Two runs in twelve pixels are too short to pay for themselves; one run across a wide row pays.
    EXPECT_FALSE(runs.Worthwhile());
    Picture wide(32, 1, 2);
    std::memset(wide.bits.data(), 0x11, wide.bits.size());
    runs.Build(wide.bits.data(), wide.pitch, 32, 1, 2, 0);
    ASSERT_EQ(runs.Row(0).size(), 1u);
    EXPECT_EQ(runs.Row(0)[0].End, 32);
    EXPECT_TRUE(runs.Worthwhile());
}

// Rows of at most one run are kept one run to a row, empty rows as empty runs; a picture of full
// rows only has no key pixels. A row of two runs, or a short one, spoils either.
TEST(OpaqueRuns, KnowsRowsOfOneRunAndPicturesWithoutKeyPixels) {
    Picture p(4, 3, 2);
    const uint16_t rows[3][4] = {{0, 5, 5, 0}, {0, 0, 0, 0}, {6, 6, 6, 6}};
    for (int y = 0; y < 3; ++y) {
        std::memcpy(p.At(0, y), rows[y], sizeof rows[y]);
    }
    platform::OpaqueRuns runs;
    runs.Build(p.bits.data(), p.pitch, 4, 3, 2, 0);
    ASSERT_EQ(runs.SingleRuns().size(), 3u);
    EXPECT_EQ(runs.SingleRuns()[0].Begin, 1);
    EXPECT_EQ(runs.SingleRuns()[0].End, 3);
    EXPECT_EQ(runs.SingleRuns()[1].Begin, runs.SingleRuns()[1].End);
    EXPECT_EQ(runs.SingleRuns()[2].End, 4);
    EXPECT_FALSE(runs.Opaque());

    runs.Build(p.At(0, 2), p.pitch, 4, 1, 2, 0);
    EXPECT_TRUE(runs.Opaque());
    runs.Build(p.At(0, 2), p.pitch, 4, 1, 2, 6);
    EXPECT_FALSE(runs.Opaque());
    EXPECT_EQ(runs.SingleRuns().size(), 1u);

    const uint16_t two[4] = {5, 0, 5, 5};
    std::memcpy(p.At(0, 1), two, sizeof two);
    runs.Build(p.bits.data(), p.pitch, 4, 3, 2, 0);
    EXPECT_TRUE(runs.SingleRuns().empty());
    EXPECT_FALSE(runs.Opaque());
}

// The runs a surface keeps for its keyed copies must follow every change of its pixels and key:
// each change below comes after the runs were built, and the next copy must show it.
class RunCache : public ::testing::Test {
protected:
    RunCache() : device(platform.CreateDisplayDevice()) {
        device->SetDisplayMode(640, 480, 16);
        device->CreateSurface({64, 8, false, false}, source);
        device->CreateSurface({64, 8, false, false}, dest);
        device->CreateSurface({64, 8, false, false}, other);
        Paint(*source, 0x1111);
        Paint(*other, 0x2222);
        source->SetColorKey(0);
    }

    static void Paint(platform::Surface& s, uint16_t v) {
        for (int y = 0; y < s.Height(); ++y) {
            for (int x = 0; x < s.Width(); ++x) {
                const uint16_t p = (x / 4 + y) % 3 == 0 ? 0 : static_cast<uint16_t>(v + x);
                std::memcpy(s.Bits() + y * s.Pitch() + x * 2, &p, 2);
            }
        }
    }

    // Copies source keyed onto a cleared destination and returns what it shows.
    std::vector<uint8_t> Copy() {
        dest->Fill(nullptr, 0xABCD);
        EXPECT_EQ(dest->BltFast(0, 0, *source, TRect{0, 0, 64, 8}, true), platform::Result::Ok);
        return {dest->Bits(), dest->Bits() + dest->Pitch() * dest->Height()};
    }

    // The copy by the reference loop.
    std::vector<uint8_t> Expected() {
        std::vector<uint8_t> out(static_cast<std::size_t>(dest->Pitch()) * dest->Height());
        for (std::size_t i = 0; i < out.size(); i += 2) {
            out[i] = 0xCD;
            out[i + 1] = 0xAB;
        }
        CopyReference(2, {out.data(), dest->Pitch()}, {std::as_const(*source).Bits(), source->Pitch()}, 64, 8,
                      source->ColorKey() & 0xFFFF);
        return out;
    }

    // Builds the runs: the second copy of unchanged pixels keeps them.
    void Prime() {
        Copy();
        Copy();
        ASSERT_NE(source->RunsFor(source->ColorKey() & 0xFFFF), nullptr);
    }

    platform::HeadlessPlatform platform;
    std::unique_ptr<platform::DisplayDevice> device;
    std::unique_ptr<platform::Surface> source, dest, other;
};

TEST_F(RunCache, FollowsEveryChangeOfPixelsOrKey) {
    const std::vector<std::function<void()>> changes{
        [&] {
            platform::LockedView v;
            ASSERT_EQ(source->Lock(nullptr, v), platform::Result::Ok);
            std::memset(v.Bits, 0x33, 6);
            source->Unlock();
        },
        [&] { source->SetColorKey(0x1111 + 5); },
        [&] {
            const TRect r{2, 2, 30, 5};
            source->Fill(&r, 0);
        },
        [&] {
            source->BltFast(0, 0, *other, TRect{0, 0, 64, 8}, false);
        },
        [&] {
            source->BltFast(3, 1, *other, TRect{0, 0, 40, 6}, true);
        },
        [&] {
            std::unique_ptr<platform::DeviceContext> dc;
            ASSERT_EQ(source->GetDC(dc), platform::Result::Ok);
            dc->SetPixel(0, 0, platform::Rgb{255, 255, 255});
        },
        [&] {
            source->MarkLost();
            ASSERT_EQ(source->Restore(), platform::Result::Ok);
        },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "change " << i);
        Prime();
        changes[i]();
        EXPECT_EQ(Copy(), Expected());
        EXPECT_EQ(Copy(), Expected());
    }
}

} // namespace
