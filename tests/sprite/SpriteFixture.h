#pragma once

#include "display/DIB.h"
#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "display/DirectDrawSurface.h"
#include "platform/app/Application.h"
#include "platform/app/Form.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/pixels/PixelFormat.h"
#include "sprite/DXSpriteEngine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Colours exact in 5-6-5, so that a picture's pixels come back unchanged from the back buffer.
namespace colours {
// The raw 16-bit value of a colour.
inline uint32_t Raw(platform::Rgb c) {
    return platform::PixelFormat{}.FromRgb(c);
}
inline constexpr platform::Rgb Red{248, 0, 0};
inline constexpr platform::Rgb Green{0, 252, 0};
inline constexpr platform::Rgb Blue{0, 0, 248};
inline constexpr platform::Rgb White{248, 252, 248};
inline constexpr platform::Rgb Black{0, 0, 0};
// Different for every (x, y) with x, y < 32, never black: red x, green y, full blue.
inline platform::Rgb Position(int x, int y) {
    return platform::Rgb{static_cast<uint8_t>(x * 8), static_cast<uint8_t>(y * 4), 248};
}
} // namespace colours

// A headless form set up as the game's: a 640x480 16-bit full-screen display, an image
// list and the sprite-engine component following it. Show() initialises the display, which
// builds the pictures and hands the back buffer to the engine. With `displayLast` the
// display is made after the others, so the form destroys it first.
class SpriteFixture : public ::testing::Test {
protected:
    explicit SpriteFixture(bool displayLast = false) {
        platform.EchoErrors = false;
        form = &app.AddForm(std::make_unique<TForm>(app));
        if (!displayLast) {
            MakeDisplay();
        }
        images = &CreateComponent<TDXImageList>(*form);
        spriteEngine = &CreateComponent<TDXSpriteEngine>(*form);
        if (displayLast) {
            MakeDisplay();
        }
        images->SetDXDraw(draw);
        spriteEngine->SetDXDraw(draw);
    }

    void MakeDisplay() {
        draw = &CreateComponent<TDXDraw>(*form);
        draw->Display.SetBitCount(16);
        draw->SetOptions(0x348D);
        draw->SetParent(form);
        draw->SetAlign(TAlign::alClient);
    }

    void Show() {
        form->Show();
        ASSERT_TRUE(draw->IsInitialized());
    }

    TSpriteEngine& Engine() { return spriteEngine->Engine(); }
    TDirectDrawSurface& Back() { return *draw->BackBuffer(); }

    static uint32_t Raw(platform::Rgb c) { return colours::Raw(c); }

    // A picture item of w by h pixels coloured by `paint`, cut into pw by ph patterns (0: whole),
    // black transparent. Built at once when the display is already initialised.
    TPictureCollectionItem& AddPicture(int w, int h, const std::function<platform::Rgb(int x, int y)>& paint,
                                       int pw = 0, int ph = 0) {
        platform::RgbImage image;
        image.Width = w;
        image.Height = h;
        image.Pixels.resize(static_cast<std::size_t>(w) * h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                image.Pixels[static_cast<std::size_t>(y) * w + x] = paint(x, y);
            }
        }
        TPicture picture;
        picture.SetGraphic(std::make_unique<TDIB>(std::move(image)));
        TPictureCollectionItem& item = images->Items().Add();
        item.SetPicture(picture);
        item.PatternWidth = pw;
        item.PatternHeight = ph;
        if (draw->IsInitialized()) {
            item.BuildPatterns();
        }
        return item;
    }

    TPictureCollectionItem& AddSolid(int w, int h, platform::Rgb c) {
        return AddPicture(w, h, [c](int, int) { return c; });
    }

    // Every pixel of the back buffer, row by row.
    std::vector<uint32_t> Screen() {
        TDirectDrawSurface& back = Back();
        std::vector<uint32_t> pixels(static_cast<std::size_t>(back.Width()) * back.Height());
        platform::LockedView view;
        if (!back.LockBits(nullptr, view)) {
            ADD_FAILURE() << "back buffer cannot be locked";
            return pixels;
        }
        for (int y = 0; y < back.Height(); ++y) {
            const auto* row =
                reinterpret_cast<const uint16_t*>(view.Bits + static_cast<std::ptrdiff_t>(y) * view.Pitch);
            for (int x = 0; x < back.Width(); ++x) {
                pixels[static_cast<std::size_t>(y) * back.Width() + x] = row[x];
            }
        }
        back.UnlockBits();
        return pixels;
    }

    platform::HeadlessPlatform platform;
    TApplication app{platform};
    TForm* form = nullptr;
    TDXDraw* draw = nullptr;
    TDXImageList* images = nullptr;
    TDXSpriteEngine* spriteEngine = nullptr;
};

// The documented opacity blend on 16-bit 5-6-5 pixels: red and green (s·a + d·(255 - a)) >> 8,
// blue d + (((s - d)·a) >> 8) rounding down, on channels widened to 8 bits.
inline uint32_t Blend565(uint32_t src, uint32_t dst, int a) {
    auto red = [](uint32_t p) { return static_cast<int>((p & 0xF800) >> 8); };
    auto green = [](uint32_t p) { return static_cast<int>((p & 0x07E0) >> 3); };
    auto blue = [](uint32_t p) { return static_cast<int>((p & 0x001F) << 3); };
    const int r = (red(src) * a + red(dst) * (255 - a)) >> 8;
    const int g = (green(src) * a + green(dst) * (255 - a)) >> 8;
    const int b = blue(dst) + (((blue(src) - blue(dst)) * a) >> 8);
    return (static_cast<uint32_t>(r) << 8 & 0xF800) | (static_cast<uint32_t>(g) << 3 & 0x07E0) |
           (static_cast<uint32_t>(b) >> 3 & 0x001F);
}
