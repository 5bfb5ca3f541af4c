#include "sprite/BackgroundSprite.h"
#include "sprite/ImageSprite.h"
#include "tests/sprite/SpriteFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <vector>

// A play-like scene built as the game builds it (221 sprites, all children of the root, in
// the game's order), drawn on the headless display and compared with a picture painted
// here pixel by pixel, bottom to top, from the documented drawing rules.
namespace {

using platform::Rgb;
using Painter = std::function<Rgb(int x, int y)>;
using colours::Raw;

constexpr int kW = 640;
constexpr int kH = 480;

// Pictures; black is transparent.
Rgb Pointer(int x, int y) {
    return x <= y / 2 ? colours::White : colours::Black;
}
Rgb Menu(int x, int y) {
    return Rgb{static_cast<uint8_t>(x / 10 * 16), static_cast<uint8_t>(y / 10 * 16), 88};
}
Rgb Disc(int x, int y, Rgb c) {
    return (x - 15) * (x - 15) + (y - 15) * (y - 15) <= 144 ? c : colours::Black;
}
Rgb Mine(int x, int y) {
    return std::abs(x - 15) + std::abs(y - 15) <= 12 ? Rgb{248, 128, 0} : colours::Black;
}
// Pattern 0, floor: a grey checker with holes through which the backdrop shows; pattern 1, wall.
Rgb Tile(int x, int y) {
    if (x < 30) {
        return (x / 3 + y / 3) % 2 == 0 ? Rgb{64, 64, 64} : colours::Black;
    }
    return (x == 30 || y == 0 || x == 59 || y == 29) ? colours::White : Rgb{160, 80, 40};
}
Rgb Backdrop(int x, int y) {
    return Rgb{static_cast<uint8_t>(x % 32 * 8), 0, static_cast<uint8_t>(y % 32 * 8)};
}

constexpr std::array<Rgb, 5> kTail{Rgb{248, 0, 0}, Rgb{0, 252, 0}, Rgb{0, 0, 248}, Rgb{248, 252, 0}, Rgb{248, 0, 248}};

bool IsWall(int c, int r) {
    return c == 0 || r == 0 || c == 20 || r == 14 || (c == 7 && r >= 3 && r <= 10);
}

struct Pic {
    Painter Colour;
    TPictureCollectionItem* Item;
};

// The expected back buffer.
class Expected {
public:
    std::vector<uint32_t> Pixels = std::vector<uint32_t>(static_cast<std::size_t>(kW) * kH, 0);

    uint32_t& At(int x, int y) { return Pixels[static_cast<std::size_t>(y) * kW + x]; }

    // A keyed 1:1 copy of the w by h part at (sx, sy) of a picture, its corner at (x, y), clipped.
    void Copy(const Pic& p, int x, int y, int w, int h, int sx = 0) {
        for (int j = std::max(0, -y); j < h && y + j < kH; ++j) {
            for (int i = std::max(0, -x); i < w && x + i < kW; ++i) {
                const Rgb c = p.Colour(sx + i, j);
                if (!(c == colours::Black)) {
                    At(x + i, y + j) = Raw(c);
                }
            }
        }
    }
    void Copy(const Pic& p, const TSprite& s, int w, int h) {
        Copy(p, static_cast<int>(s.X), static_cast<int>(s.Y), w, h);
    }
    // A 1:1 blend over a box inside the surface.
    void Blend(const Pic& p, int x, int y, int w, int h, int alpha) {
        for (int j = 0; j < h; ++j) {
            for (int i = 0; i < w; ++i) {
                At(x + i, y + j) = Blend565(Raw(p.Colour(i, j)), At(x + i, y + j), alpha);
            }
        }
    }
    // A 30 by 30 picture turned a quarter clockwise in its box at (x, y), blended: destination
    // (x + 1 + i, y + j) shows source (j, 29 - i); source row 0 and the box's column 0 drop out.
    void QuarterTurnBlend(const Pic& p, int x, int y, int alpha) {
        for (int j = 0; j < 30; ++j) {
            for (int i = 0; i < 29; ++i) {
                uint32_t& d = At(x + 1 + i, y + j);
                d = Blend565(Raw(p.Colour(j, 29 - i)), d, alpha);
            }
        }
    }
};

class SceneTest : public SpriteFixture {
protected:
    explicit SceneTest(bool displayLast = false) : SpriteFixture(displayLast) { Build(); }

    Pic Add(int w, int h, Painter colour, int pw = 0, int ph = 0) {
        TPictureCollectionItem& item = AddPicture(w, h, colour, pw, ph);
        return Pic{std::move(colour), &item};
    }

    template <class T> T& Sprite(const Pic& picture, double x, double y, int32_t w, int32_t h) {
        T& s = Engine().Add<T>();
        s.Image = picture.Item;
        s.X = x;
        s.Y = y;
        s.Width = w;
        s.Height = h;
        return s;
    }

    void Build() {
        pointer = Add(30, 30, Pointer);
        highlight = Add(130, 40, [](int, int) { return colours::Green; });
        menu = Add(130, 160, Menu);
        ship = Add(30, 30, colours::Position);
        orb = Add(30, 30, [](int x, int y) { return Disc(x, y, Rgb{248, 200, 0}); });
        for (std::size_t i = 0; i < 5; ++i) {
            tail[i] = Add(30, 30, [i](int x, int y) { return Disc(x, y, kTail[i]); });
        }
        mine = Add(30, 30, Mine);
        tiles = Add(60, 30, Tile, 30, 30);
        gauge = Add(10, 450, [](int, int) { return Rgb{8, 8, 8}; });
        backdrop = Add(630, 450, Backdrop);
        statusBar = Add(640, 30, [](int x, int) { return Rgb{0, static_cast<uint8_t>(x % 2 ? 64 : 128), 96}; });
        const Pic fullScreen = Add(640, 480, [](int, int) { return colours::Blue; });

        // Created in the game's order: the first created is drawn last, on top.
        pointerSprite = &Sprite<TImageSprite>(pointer, 400, 300, 30, 30);
        Sprite<TImageSprite>(fullScreen, -640, 0, 640, 480); // about, parked left
        TImageSpriteEx& bar = Sprite<TImageSpriteEx>(highlight, 255, 260, 130, 40);
        bar.Alpha = 100;
        Sprite<TImageSprite>(menu, 320, 300, 0, 0);
        Sprite<TImageSprite>(fullScreen, -2000, 0, 640, 480); // title, parked
        TImageSpriteEx& shipSprite = Sprite<TImageSpriteEx>(ship, 300, 210, 30, 30);
        shipSprite.Angle = 64;
        shipSprite.Alpha = 128;
        for (int i = 0; i < 11; ++i) {
            orbs.push_back(&Sprite<TImageSprite>(orb, -2000, 0, 30, 30));
        }
        for (std::size_t i = 0; i < 100; ++i) {
            segments.push_back(&Sprite<TImageSprite>(tail[i % 5], -2000, 0, 30, 30));
        }
        orbs[10]->X = 10; // the status bar's orb icon
        orbs[10]->Y = 450;
        for (int i = 0; i < 100; ++i) {
            mines.push_back(&Sprite<TImageSprite>(mine, -2000, 0, 30, 30));
        }
        TBackgroundSprite& field = Engine().Add<TBackgroundSprite>();
        field.Image = tiles.Item;
        field.Resize(21, 15);
        for (int r = 0; r < 15; ++r) {
            for (int c = 0; c < 21; ++c) {
                field.SetCells(c, r, IsWall(c, r) ? 1 : 0);
            }
        }
        Sprite<TImageSprite>(gauge, 630, 0, 10, 450);
        backdropSprite = &Engine().Add<TBackgroundSprite>();
        backdropSprite->Image = backdrop.Item;
        backdropSprite->Resize(500, 1);
        backdropSprite->X = -1000.75;
        Sprite<TImageSprite>(statusBar, 0, 450, 640, 30);

        // Play: five orbs, a tail of twenty, ten mines, some partly off the edges.
        for (std::size_t i = 0; i < 5; ++i) {
            orbs[i]->X = 60 + 90.0 * i;
            orbs[i]->Y = 60 + 30.0 * i;
        }
        for (std::size_t i = 0; i < 20; ++i) {
            segments[i]->X = 300 - 17.0 * i;
            segments[i]->Y = 225 + static_cast<double>(i % 3);
        }
        for (std::size_t i = 0; i < 10; ++i) {
            mines[i]->X = 60 + 62.0 * i;
            mines[i]->Y = -15 + 45.0 * i;
        }
    }

    // The frame as it must look, painted bottom to top.
    Expected Paint() {
        Expected e;
        e.Copy(statusBar, 0, 450, 640, 30);
        const int backdropX = static_cast<int>(backdropSprite->X);
        for (int c = 0; c < 500; ++c) {
            e.Copy(backdrop, backdropX + 630 * c, 0, 630, 450);
        }
        e.Copy(gauge, 630, 0, 10, 450);
        for (int r = 0; r < 15; ++r) {
            for (int c = 0; c < 21; ++c) {
                e.Copy(tiles, 30 * c, 30 * r, 30, 30, IsWall(c, r) ? 30 : 0);
            }
        }
        for (auto it = mines.rbegin(); it != mines.rend(); ++it) {
            e.Copy(mine, **it, 30, 30);
        }
        for (std::size_t i = 100; i-- > 0;) {
            e.Copy(tail[i % 5], *segments[i], 30, 30);
        }
        for (auto it = orbs.rbegin(); it != orbs.rend(); ++it) {
            e.Copy(orb, **it, 30, 30);
        }
        e.QuarterTurnBlend(ship, 300, 210, 128);
        // The menu picture is centred on (320, 300); the highlight bar blends over its second entry.
        e.Copy(menu, 255, 220, 130, 160);
        e.Blend(highlight, 255, 260, 130, 40, 100);
        e.Copy(pointer, *pointerSprite, 30, 30);
        return e;
    }

    // Draws a frame and counts the pixels that differ from the painting, reporting the first few.
    int DrawAndCompare() {
        Back().FillWith(0);
        spriteEngine->Draw();
        const std::vector<uint32_t> actual = Screen();
        const std::vector<uint32_t> expected = Paint().Pixels;
        int count = 0;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (actual[i] != expected[i] && ++count <= 5) {
                ADD_FAILURE() << "pixel (" << i % kW << ", " << i / kW << "): " << std::hex << actual[i]
                              << " instead of " << expected[i];
            }
        }
        return count;
    }

    Pic pointer, highlight, menu, ship, orb, mine, tiles, gauge, backdrop, statusBar;
    std::array<Pic, 5> tail;
    TImageSprite* pointerSprite = nullptr;
    TBackgroundSprite* backdropSprite = nullptr;
    std::vector<TImageSprite*> orbs, segments, mines;
};

TEST_F(SceneTest, FramesOfPlayMatchThePaintedPicture) {
    EXPECT_EQ(Engine().SpriteCount(), 221);
    Show();
    EXPECT_EQ(DrawAndCompare(), 0);
    // Pointer, highlight, menu, ship, five orbs and the icon, twenty segments, ten mines, two
    // maps, gauge and status bar; the parked sprites and the full-screen pictures are culled.
    EXPECT_EQ(Engine().DrawnCount(), 44);

    // The next frame: the backdrop scrolled on by more than a screen, the pointer moved.
    backdropSprite->X -= 700;
    pointerSprite->X = 620;
    pointerSprite->Y = -10;
    EXPECT_EQ(DrawAndCompare(), 0);
    EXPECT_EQ(Engine().DrawnCount(), 44);
}

class SceneDisplayLastTest : public SceneTest {
protected:
    SceneDisplayLastTest() : SceneTest(true) {}
};

// Run under the sanitizers: the form destroys the display first (it was made last); the
// engine lets go of it while it still exists, then the image list, the engine and its
// sprites go without touching it.
TEST_F(SceneDisplayLastTest, DisplayDestroyedBeforeTheEngine) {
    Show();
    spriteEngine->Draw();
    EXPECT_EQ(Engine().DrawnCount(), 44);
    form->DestroyComponents();
}

TEST_F(SceneTest, EngineOutlivesADestroyedDisplay) {
    // A display with an owner of its own goes away; its notices detach the engine.
    TComponent& holder = CreateComponent<TComponent>(*form);
    TDXDraw& other = CreateComponent<TDXDraw>(holder);
    other.SetParent(form);
    spriteEngine->SetDXDraw(&other);
    other.Initialize();
    ASSERT_TRUE(other.IsInitialized());
    EXPECT_EQ(Engine().Surface(), other.BackBuffer());
    holder.DestroyComponents();
    EXPECT_EQ(spriteEngine->DXDraw(), nullptr);
    EXPECT_EQ(Engine().Surface(), nullptr);
    spriteEngine->Draw();
    EXPECT_EQ(Engine().SpriteCount(), 221);
}

} // namespace
