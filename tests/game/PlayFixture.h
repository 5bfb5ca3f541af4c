#pragma once

#include "ScratchFolder.h"
#include "display/DXImageList.h"
#include "display/DirectDrawSurface.h"
#include "game/GameFixture.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/ImageSprite.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Key-code positions of the keys the game reads.
namespace key {
constexpr int Esc = 1, Up = 200, Left = 203, Right = 205, Down = 208;
}

// The bytes of a level file: 22 x 16 cell codes stored column by column.
class LevelFile {
public:
    LevelFile& Set(int column, int row, uint8_t code) {
        bytes_[static_cast<std::size_t>(column * 16 + row)] = static_cast<char>(code);
        return *this;
    }
    // Every cell of the 21 x 15 field a wall except the given ones.
    static LevelFile AllWallsBut(std::initializer_list<std::pair<int, int>> floor) {
        LevelFile file;
        for (int c = 0; c < 21; ++c) {
            for (int r = 0; r < 15; ++r) {
                file.Set(c, r, 1);
            }
        }
        for (auto [c, r] : floor) {
            file.Set(c, r, 0);
        }
        return file;
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_ = std::string(352, '\0');
};

// The game started in a scratch folder that holds its level files.
class PlayFixture : public GameFixture {
protected:
    TGame& W() { return form->World; }

    // Starts the program with the given file as level 1. Slow-flip mode keeps frames from
    // presenting themselves, which saves the headless screen's conversion of every frame; the
    // rules do not depend on it.
    void StartWith(const LevelFile& level) {
        folder.Write("1.vrk", level.Bytes());
        Start({"-sf"});
    }
    // Holds a button over the menu's start item for one frame and lets go: play begins.
    void StartGame() {
        using Type = platform::Event::Type;
        Mouse(Type::MouseMove, 300, 230);
        Mouse(Type::MouseDown, 300, 230);
        RunFrames(1);
        Mouse(Type::MouseUp, 300, 230);
        ASSERT_EQ(W().GameState, 1);
    }
    void ParkOrbs() {
        for (int i = 1; i <= 10; ++i) {
            W().Orbs[i]->X = -2000;
        }
    }
    // Play without surprises: the orbs parked, the ship standing opaque at (x, y) with no heading.
    void QuietPlay(double x, double y) {
        StartGame();
        ParkOrbs();
        W().ShipSprite->X = x;
        W().ShipSprite->Y = y;
        W().Heading = 0;
        W().Fade = 0.0;
    }
    void Press(std::initializer_list<int> codes) {
        for (int code : codes) {
            platform.PressKey(code);
        }
    }
    void ReleaseAll() { platform.Keys = {}; }

    // The raw pixels of the back buffer, row by row.
    std::vector<uint32_t> BackPixels() {
        TDirectDrawSurface& back = *form->DXDraw->BackBuffer();
        platform::LockedView view;
        std::vector<uint32_t> pixels;
        if (!back.LockBits(nullptr, view)) {
            return pixels;
        }
        const int bpp = view.Format.BytesPerPixel();
        pixels.reserve(static_cast<std::size_t>(view.Width * view.Height));
        for (int y = 0; y < view.Height; ++y) {
            const uint8_t* row = view.Bits + static_cast<std::ptrdiff_t>(y) * view.Pitch;
            for (int x = 0; x < view.Width; ++x) {
                uint32_t value = 0;
                for (int i = 0; i < bpp; ++i) {
                    value |= static_cast<uint32_t>(row[x * bpp + i]) << (8 * i);
                }
                pixels.push_back(value);
            }
        }
        back.UnlockBits();
        return pixels;
    }

    ScratchFolder folder;
};
