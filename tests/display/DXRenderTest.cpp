#include "display/DXRender.h"

#include "platform/headless/HeadlessPlatform.h"
#include "platform/pixels/DisplayDevice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace {

using platform::Surface;

constexpr uint32_t Background = 0xFFFF;

// A headless display whose mode decides the format of the surfaces made on it.
class Display {
public:
    explicit Display(int bitCount = 16) : device_(platform_.CreateDisplayDevice()) { Mode(bitCount); }

    void Mode(int bitCount) { device_->SetDisplayMode(640, 480, bitCount); }

    std::unique_ptr<Surface> Make(int w, int h, uint32_t fill = 0) {
        std::unique_ptr<Surface> s;
        device_->CreateSurface({w, h, false, true}, s);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                Set(*s, x, y, fill);
            }
        }
        return s;
    }

    static uint32_t Get(const Surface& s, int x, int y) {
        uint32_t v = 0;
        std::memcpy(&v, s.Bits() + y * s.Pitch() + x * s.Format().BytesPerPixel(), s.Format().BytesPerPixel());
        return v;
    }

    static void Set(Surface& s, int x, int y, uint32_t v) {
        std::memcpy(s.Bits() + y * s.Pitch() + x * s.Format().BytesPerPixel(), &v, s.Format().BytesPerPixel());
    }

private:
    platform::HeadlessPlatform platform_;
    std::unique_ptr<platform::DisplayDevice> device_;
};

// A 30 x 30 pattern in which every pixel has its own value: y * 30 + x + 1.
uint32_t PatternValue(int x, int y) {
    return static_cast<uint32_t>(y * 30 + x + 1);
}

std::unique_ptr<Surface> MakePattern(Display& display) {
    auto s = display.Make(30, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            Display::Set(*s, x, y, PatternValue(x, y));
        }
    }
    return s;
}

// Checks every pixel of dest: the source pixel `shown` names, or the untouched background.
using Mapping = std::function<std::optional<std::pair<int, int>>(int x, int y)>;

void ExpectShows(const Surface& dest, const Mapping& shown) {
    int wrong = 0;
    for (int y = 0; y < dest.Height(); ++y) {
        for (int x = 0; x < dest.Width(); ++x) {
            const auto src = shown(x, y);
            const uint32_t want = src ? PatternValue(src->first, src->second) : Background;
            const uint32_t got = Display::Get(dest, x, y);
            if (got != want && ++wrong <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << got << ", expected " << want;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

std::optional<std::pair<int, int>> Inside(int x, int y, int left, int top, int right, int bottom, int sx, int sy) {
    if (x >= left && x < right && y >= top && y < bottom) {
        return std::pair{sx, sy};
    }
    return std::nullopt;
}

class DXRenderTest : public ::testing::Test {
protected:
    Display display;
};

TEST_F(DXRenderTest, DrawBlended_FullOpacityCopiesLikeAPlainCopy) {
    auto src = MakePattern(display);
    for (int32_t alpha : {255, 1000}) {
        auto dest = display.Make(40, 40, Background);
        dxrender::DrawBlended(dest.get(), Bounds(5, 5, 30, 30), src.get(), TRect{0, 0, 30, 30}, false, alpha);
        ExpectShows(*dest, [](int x, int y) { return Inside(x, y, 5, 5, 35, 35, x - 5, y - 5); });
    }
}

TEST_F(DXRenderTest, DrawBlended_NonPositiveAlphaChangesNothing) {
    auto src = MakePattern(display);
    auto dest = display.Make(40, 40, Background);
    dxrender::DrawBlended(dest.get(), Bounds(0, 0, 30, 30), src.get(), TRect{0, 0, 30, 30}, false, 0);
    dxrender::DrawBlended(dest.get(), Bounds(0, 0, 30, 30), src.get(), TRect{0, 0, 30, 30}, false, -5);
    ExpectShows(*dest, [](int, int) { return std::nullopt; });
}

TEST_F(DXRenderTest, DrawBlended_Alpha100OverBlackAndWhiteIn16Bits) {
    // Source red and blue 31 (248 in 8 bits), green 0.
    auto src = display.Make(1, 1, 0xF81F);
    auto black = display.Make(1, 1, 0x0000);
    auto white = display.Make(1, 1, 0xFFFF);
    dxrender::DrawBlended(black.get(), Bounds(0, 0, 1, 1), src.get(), TRect{0, 0, 1, 1}, false, 100);
    dxrender::DrawBlended(white.get(), Bounds(0, 0, 1, 1), src.get(), TRect{0, 0, 1, 1}, false, 100);
    // Over black: (248 * 100) >> 8 = 96 for red and blue, 12 in 5 bits.
    EXPECT_EQ(Display::Get(*black, 0, 0), (12u << 11) | 12u);
    // Over white: red (24800 + 38440) >> 8 = 247 -> 30, blue 248 + 0 -> 31, green (252 * 155) >> 8 = 152 -> 38.
    EXPECT_EQ(Display::Get(*white, 0, 0), (30u << 11) | (38u << 5) | 31u);
}

TEST_F(DXRenderTest, DrawBlended_RedGreenAndBlueRoundDifferentlyIn32Bits) {
    display.Mode(32);
    auto src = display.Make(1, 1, 0xF8F8F8);
    auto dest = display.Make(1, 1, 0xF8F8F8);
    dxrender::DrawBlended(dest.get(), Bounds(0, 0, 1, 1), src.get(), TRect{0, 0, 1, 1}, false, 100);
    EXPECT_EQ(Display::Get(*dest, 0, 0), 0xF7F7F8u);
}

TEST_F(DXRenderTest, DrawBlended_ScalingUpByTwoUsesEachSourceColumnTwice) {
    auto src = MakePattern(display);
    auto dest = display.Make(12, 4, Background);
    dxrender::DrawBlended(dest.get(), Bounds(1, 1, 8, 2), src.get(), TRect{2, 3, 6, 4}, false, 255);
    ExpectShows(*dest, [](int x, int y) { return Inside(x, y, 1, 1, 9, 3, 2 + (x - 1) / 2, 3); });
}

TEST_F(DXRenderTest, DrawBlended_ClipsAtTheRightAndBottomEdges) {
    auto src = MakePattern(display);
    auto dest = display.Make(40, 40, Background);
    dxrender::DrawBlended(dest.get(), Bounds(25, 32, 30, 30), src.get(), TRect{0, 0, 30, 30}, false, 255);
    ExpectShows(*dest, [](int x, int y) { return Inside(x, y, 25, 32, 40, 40, x - 25, y - 32); });
}

TEST_F(DXRenderTest, DrawBlended_StartLeftOfZeroSkipsSkipTimesStepOfTheSource) {
    auto src = MakePattern(display);
    auto dest = display.Make(8, 1, Background);
    // Four source columns onto eight: step 0.5, so skipping 3 starts at source column 1.5.
    dxrender::DrawBlended(dest.get(), TRect{-3, 0, 5, 1}, src.get(), TRect{0, 0, 4, 1}, false, 255);
    const int expected[] = {1, 2, 2, 3, 3};
    ExpectShows(*dest, [&](int x, int y) { return Inside(x, y, 0, 0, 5, 1, x < 5 ? expected[x] : 0, 0); });
}

TEST_F(DXRenderTest, DrawBlended_BadArgumentsDrawNothing) {
    auto src = MakePattern(display);
    auto dest = display.Make(40, 40, Background);
    for (const TRect& s : {TRect{-1, 0, 10, 10}, TRect{0, -1, 10, 10}, TRect{0, 0, 31, 10}, TRect{0, 0, 10, 31},
                           TRect{5, 0, 5, 10}, TRect{0, 6, 10, 5}}) {
        dxrender::DrawBlended(dest.get(), Bounds(0, 0, 10, 10), src.get(), s, false, 255);
    }
    dxrender::DrawBlended(dest.get(), TRect{10, 0, 5, 10}, src.get(), TRect{0, 0, 10, 10}, false, 255);
    dxrender::DrawBlended(dest.get(), Bounds(40, 0, 10, 10), src.get(), TRect{0, 0, 10, 10}, false, 255);
    dxrender::DrawBlended(dest.get(), Bounds(-10, 0, 10, 10), src.get(), TRect{0, 0, 10, 10}, false, 255);
    dxrender::DrawBlended(dest.get(), Bounds(0, 0, 10, 10), nullptr, TRect{0, 0, 10, 10}, false, 255);
    dxrender::DrawBlended(nullptr, Bounds(0, 0, 10, 10), src.get(), TRect{0, 0, 10, 10}, false, 255);
    ExpectShows(*dest, [](int, int) { return std::nullopt; });
}

TEST_F(DXRenderTest, Locks_HeldOnlyForTheCallAndAFailedLockDrawsNothing) {
    auto src = MakePattern(display);
    auto dest = display.Make(40, 40, Background);

    // A surface cannot be locked twice, so a copy onto itself draws nothing; it is left unlocked.
    dxrender::DrawBlended(src.get(), Bounds(1, 0, 10, 10), src.get(), TRect{0, 0, 10, 10}, false, 100);
    dxrender::DrawTurned(src.get(), 15, 15, 30, 30, TRect{0, 0, 30, 30}, src.get(), 0.5, 0.5, false, 64);
    EXPECT_FALSE(src->IsLocked());
    EXPECT_EQ(Display::Get(*src, 1, 0), PatternValue(1, 0));

    // A destination or source locked by someone else stays locked and unchanged.
    platform::LockedView view;
    ASSERT_EQ(dest->Lock(nullptr, view), platform::Result::Ok);
    dxrender::DrawBlended(dest.get(), Bounds(0, 0, 30, 30), src.get(), TRect{0, 0, 30, 30}, false, 255);
    EXPECT_TRUE(dest->IsLocked());
    EXPECT_FALSE(src->IsLocked());
    dest->Unlock();
    ASSERT_EQ(src->Lock(nullptr, view), platform::Result::Ok);
    dxrender::DrawTurned(dest.get(), 15, 15, 30, 30, TRect{0, 0, 30, 30}, src.get(), 0.5, 0.5, false, 0);
    EXPECT_TRUE(src->IsLocked());
    EXPECT_FALSE(dest->IsLocked());
    src->Unlock();
    ExpectShows(*dest, [](int, int) { return std::nullopt; });

    // After a successful copy both are unlocked again.
    dxrender::DrawTurnedBlended(dest.get(), 15, 15, 30, 30, TRect{0, 0, 30, 30}, src.get(), 0.5, 0.5, false, 3, 100);
    EXPECT_FALSE(src->IsLocked());
    EXPECT_FALSE(dest->IsLocked());
}

TEST_F(DXRenderTest, Keying_KeyedPixelsLeaveTheDestinationUnchangedInEveryMode) {
    auto src = MakePattern(display);
    const uint32_t key = PatternValue(15, 15);
    src->SetColorKey(key);
    // Every pixel of the middle 10 x 10 is the key, so it may show nowhere.
    for (int y = 10; y < 20; ++y) {
        for (int x = 10; x < 20; ++x) {
            Display::Set(*src, x, y, key);
        }
    }
    const std::function<void(Surface*)> draws[] = {
        [&](Surface* d) {
            dxrender::DrawBlended(d, Bounds(0, 0, 30, 30), src.get(), {0, 0, 30, 30}, true, 255);
        },
        [&](Surface* d) {
            dxrender::DrawBlended(d, Bounds(0, 0, 30, 30), src.get(), {0, 0, 30, 30}, true, 100);
        },
        [&](Surface* d) {
            dxrender::DrawTurned(d, 15, 15, 30, 30, {0, 0, 30, 30}, src.get(), 0.5, 0.5, true, 128);
        },
        [&](Surface* d) {
            dxrender::DrawTurnedBlended(d, 15, 15, 30, 30, {0, 0, 30, 30}, src.get(), 0.5, 0.5, true, 128, 100);
        },
    };
    for (const auto& draw : draws) {
        auto dest = display.Make(30, 30, Background);
        draw(dest.get());
        int changed = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                EXPECT_NE(Display::Get(*dest, x, y), key);
                changed += Display::Get(*dest, x, y) != Background;
            }
        }
        // The unkeyed rest is drawn (upside down, the first row and column drop out).
        EXPECT_GE(changed, 900 - 100 - 60);
        EXPECT_EQ(Display::Get(*dest, 15, 15), Background);
    }
}

class DXRenderTurnTest : public DXRenderTest {
protected:
    // The 30 x 30 pattern turned about its middle onto (115, 75): its box is columns 100..129, rows 60..89.
    std::unique_ptr<Surface> Turn(int32_t angle) {
        auto src = MakePattern(display);
        auto dest = display.Make(200, 150, Background);
        dxrender::DrawTurned(dest.get(), 115, 75, 30, 30, TRect{0, 0, 30, 30}, src.get(), 0.5, 0.5, false, angle);
        return dest;
    }
};

TEST_F(DXRenderTurnTest, DrawTurned_Angle0CopiesThePatternUnturnedIntoTheBox) {
    ExpectShows(*Turn(0), [](int x, int y) { return Inside(x, y, 100, 60, 130, 90, x - 100, y - 60); });
}

TEST_F(DXRenderTurnTest, DrawTurned_Angle64TurnsTheTopToTheRight) {
    // Column 100 stays unchanged and source row 0 drops out: (101, 60) shows (0, 29), (129, 89) shows (29, 1).
    const Mapping quarter = [](int x, int y) { return Inside(x, y, 101, 60, 130, 90, y - 60, 130 - x); };
    ExpectShows(*Turn(64), quarter);
    // Angles are taken modulo 256.
    ExpectShows(*Turn(64 + 256), quarter);
    ExpectShows(*Turn(-192), quarter);
}

TEST_F(DXRenderTurnTest, DrawTurned_Angle128TurnsThePictureUpsideDown) {
    // Column 100 and row 60 stay unchanged; (101, 61) shows (29, 29) and (129, 89) shows (1, 1).
    ExpectShows(*Turn(128), [](int x, int y) { return Inside(x, y, 101, 61, 130, 90, 130 - x, 90 - y); });
}

TEST_F(DXRenderTurnTest, DrawTurned_Angle192TurnsTheTopToTheLeft) {
    // Row 60 stays unchanged and source column 0 drops out: (100, 89) shows (1, 0), (129, 61) shows (29, 29).
    ExpectShows(*Turn(192), [](int x, int y) { return Inside(x, y, 100, 61, 130, 90, 90 - y, x - 100); });
}

TEST_F(DXRenderTurnTest, DrawTurned_ScalesTheSourceRectangleToTheBox) {
    auto src = MakePattern(display);
    auto dest = display.Make(40, 20, Background);
    // Source columns 4..7 of row 2 drawn 8 wide and 2 high with its middle at (10, 5): box 6..13, 4..5.
    dxrender::DrawTurned(dest.get(), 10, 5, 8, 2, TRect{4, 2, 8, 3}, src.get(), 0.5, 0.5, false, 0);
    ExpectShows(*dest, [](int x, int y) { return Inside(x, y, 6, 4, 14, 6, 4 + (x - 6) / 2, 2); });
}

TEST_F(DXRenderTurnTest, DrawTurned_ClipsABoxPartlyLeftOfAndAboveTheDestination) {
    auto src = MakePattern(display);
    auto dest = display.Make(40, 40, Background);
    // Box columns -10..19, rows -5..24.
    dxrender::DrawTurned(dest.get(), 5, 10, 30, 30, TRect{0, 0, 30, 30}, src.get(), 0.5, 0.5, false, 0);
    ExpectShows(*dest, [](int x, int y) { return Inside(x, y, 0, 0, 20, 25, x + 10, y + 5); });

    // The same upside down: destination (x, y) shows source (20 - x, 25 - y), as the unclipped picture would.
    auto turned = display.Make(40, 40, Background);
    dxrender::DrawTurned(turned.get(), 5, 10, 30, 30, TRect{0, 0, 30, 30}, src.get(), 0.5, 0.5, false, 128);
    ExpectShows(*turned, [](int x, int y) { return Inside(x, y, 0, 0, 20, 25, 20 - x, 25 - y); });
}

TEST_F(DXRenderTurnTest, DrawTurned_BoxEntirelyOutsideOrBadArgumentsDrawNothing) {
    auto src = MakePattern(display);
    auto dest = display.Make(40, 40, Background);
    const TRect all{0, 0, 30, 30};
    // Box -15 + 15 = 0 is the first position entirely off on the left at angle 0.
    dxrender::DrawTurned(dest.get(), -15, 20, 30, 30, all, src.get(), 0.5, 0.5, false, 0);
    for (int32_t angle : {0, 37, 64, 128}) {
        dxrender::DrawTurned(dest.get(), -25, 20, 30, 30, all, src.get(), 0.5, 0.5, false, angle);
        dxrender::DrawTurned(dest.get(), 20, -25, 30, 30, all, src.get(), 0.5, 0.5, false, angle);
        dxrender::DrawTurned(dest.get(), 65, 20, 30, 30, all, src.get(), 0.5, 0.5, false, angle);
        dxrender::DrawTurned(dest.get(), 20, 65, 30, 30, all, src.get(), 0.5, 0.5, false, angle);
    }
    dxrender::DrawTurned(dest.get(), 20, 20, 0, 30, all, src.get(), 0.5, 0.5, false, 0);
    dxrender::DrawTurned(dest.get(), 20, 20, 30, 0, all, src.get(), 0.5, 0.5, false, 0);
    dxrender::DrawTurned(dest.get(), 20, 20, 30, 30, TRect{0, 0, 31, 30}, src.get(), 0.5, 0.5, false, 0);
    dxrender::DrawTurned(dest.get(), 20, 20, 30, 30, all, src.get(), std::nan(""), 0.5, false, 0);
    dxrender::DrawTurned(dest.get(), 20, 20, 30, 30, all, src.get(), 1e300, 0.5, false, 0);
    dxrender::DrawTurnedBlended(dest.get(), 20, 20, 30, 30, all, src.get(), 0.5, 0.5, false, 0, 0);
    ExpectShows(*dest, [](int, int) { return std::nullopt; });
}

TEST_F(DXRenderTurnTest, DrawTurned_NeverReadsOutsideTheSourceRectangle) {
    // Turning an inner rectangle of a framed source must never show the frame.
    auto src = display.Make(40, 40, 0x1234);
    auto dest = display.Make(120, 120, Background);
    const TRect inner{5, 5, 35, 35};
    for (int y = 5; y < 35; ++y) {
        for (int x = 5; x < 35; ++x) {
            Display::Set(*src, x, y, 0x0001);
        }
    }
    for (int32_t angle = 0; angle < 256; ++angle) {
        dxrender::DrawTurned(dest.get(), 60, 60, 50, 37, inner, src.get(), 0.3, 0.7, false, angle);
        dxrender::DrawTurned(dest.get(), 2, 118, 50, 37, inner, src.get(), 0.5, 0.5, false, angle);
    }
    // Turning points outside the picture and mirrored sizes at the quarter turns, where one step is zero.
    for (int32_t angle : {0, 64, 128, 192}) {
        for (double c : {-0.86, -0.25, 1.3}) {
            for (int32_t w : {49, -36}) {
                dxrender::DrawTurned(dest.get(), 60, 60, w, 34, inner, src.get(), c, 1 - c, false, angle);
                dxrender::DrawTurned(dest.get(), 60, 60, 34, w, inner, src.get(), 1 - c, c, false, angle);
            }
        }
    }
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 120; ++x) {
            ASSERT_NE(Display::Get(*dest, x, y), 0x1234u) << x << ", " << y;
        }
    }
}

TEST_F(DXRenderTurnTest, DrawTurnedBlended_BlendsTheTurnedPixels) {
    auto src = display.Make(30, 30, 0xF81F);
    Display::Set(*src, 29, 29, 0xFFFF);
    auto dest = display.Make(200, 150, 0x0000);
    dxrender::DrawTurnedBlended(dest.get(), 115, 75, 30, 30, TRect{0, 0, 30, 30}, src.get(), 0.5, 0.5, false, 128, 100);
    // (101, 61) shows source (29, 29): every channel 248 or 252 over black.
    EXPECT_EQ(Display::Get(*dest, 101, 61), (12u << 11) | (24u << 5) | 12u);
    EXPECT_EQ(Display::Get(*dest, 120, 80), (12u << 11) | 12u);
    EXPECT_EQ(Display::Get(*dest, 100, 80), 0u);
    // Full opacity copies.
    dxrender::DrawTurnedBlended(dest.get(), 115, 75, 30, 30, TRect{0, 0, 30, 30}, src.get(), 0.5, 0.5, false, 128, 255);
    EXPECT_EQ(Display::Get(*dest, 120, 80), 0xF81Fu);
}

TEST_F(DXRenderTest, Formats_EightBitCopiesTheIndexAndNeverBlends) {
    display.Mode(8);
    auto src = MakePattern(display);
    src->SetColorKey(PatternValue(3, 0));
    auto dest = display.Make(40, 40, 0xFF);
    dxrender::DrawBlended(dest.get(), Bounds(0, 0, 10, 1), src.get(), TRect{0, 0, 10, 1}, true, 100);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(Display::Get(*dest, x, 0), x == 3 ? 0xFFu : PatternValue(x, 0));
    }
    dxrender::DrawTurned(dest.get(), 20, 20, 8, 8, TRect{0, 0, 8, 8}, src.get(), 0.5, 0.5, false, 128);
    // Upside down: box 16..23, 16..23 with the first row and column left out.
    EXPECT_EQ(Display::Get(*dest, 17, 17), PatternValue(7, 7));
    EXPECT_EQ(Display::Get(*dest, 23, 23), PatternValue(1, 1));
    EXPECT_EQ(Display::Get(*dest, 16, 16), 0xFFu);
}

TEST_F(DXRenderTest, Formats_ThirtyTwoBitKeysOnTheLow24BitsAndConvertsTo16Bit) {
    display.Mode(32);
    auto src = display.Make(3, 1);
    Display::Set(*src, 0, 0, 0xAB123456); // the key with other top bits
    Display::Set(*src, 1, 0, 0x00FF8040);
    Display::Set(*src, 2, 0, 0x00123457);
    src->SetColorKey(0x00123456);
    auto wide = display.Make(3, 1, 0x00777777);
    dxrender::DrawBlended(wide.get(), Bounds(0, 0, 3, 1), src.get(), TRect{0, 0, 3, 1}, true, 255);
    EXPECT_EQ(Display::Get(*wide, 0, 0), 0x00777777u);
    EXPECT_EQ(Display::Get(*wide, 1, 0), 0x00FF8040u);
    EXPECT_EQ(Display::Get(*wide, 2, 0), 0x00123457u);

    display.Mode(16);
    auto narrow = display.Make(3, 1, Background);
    dxrender::DrawBlended(narrow.get(), Bounds(0, 0, 3, 1), src.get(), TRect{0, 0, 3, 1}, true, 255);
    EXPECT_EQ(Display::Get(*narrow, 0, 0), Background);
    // Red FF -> 31, green 80 -> 32, blue 40 -> 8.
    EXPECT_EQ(Display::Get(*narrow, 1, 0), (31u << 11) | (32u << 5) | 8u);
    // Blending over white converts too: red (255 * 100 + 248 * 155) >> 8 = 249 -> 31, green
    // (128 * 100 + 252 * 155) >> 8 = 202 -> 50, blue 248 + ((64 - 248) * 100 >> 8) = 176 -> 22.
    auto white = display.Make(3, 1, 0xFFFF);
    dxrender::DrawBlended(white.get(), Bounds(0, 0, 3, 1), src.get(), TRect{0, 0, 3, 1}, true, 100);
    EXPECT_EQ(Display::Get(*white, 0, 0), 0xFFFFu);
    EXPECT_EQ(Display::Get(*white, 1, 0), (31u << 11) | (50u << 5) | 22u);
}

} // namespace
