// Cost of one frame of the game's scene on the headless 640 x 480 16-bit display: the back
// buffer cleared and the whole sprite tree drawn (221 sprites, culled, keyed, blended and
// turned copies and two tile maps). Items are frames.
#include "display/DIB.h"
#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "display/DirectDrawSurface.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/HeadlessPlatform.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/DXSpriteEngine.h"
#include "sprite/ImageSprite.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

using platform::Rgb;

// A keyed disc of one colour on black, as the orbs, segments and mines are.
Rgb Disc(int x, int y, Rgb c) {
    return (x - 15) * (x - 15) + (y - 15) * (y - 15) <= 144 ? c : Rgb{};
}

class GameScene {
public:
    GameScene() {
        platform.EchoErrors = false;
        form = &app.AddForm(std::make_unique<TForm>(app));
        draw = &CreateComponent<TDXDraw>(*form);
        draw->Display.SetBitCount(16);
        draw->SetOptions(0x348D);
        draw->SetParent(form);
        draw->SetAlign(TAlign::alClient);
        images = &CreateComponent<TDXImageList>(*form);
        images->SetDXDraw(draw);
        spriteEngine = &CreateComponent<TDXSpriteEngine>(*form);
        spriteEngine->SetDXDraw(draw);
        Build();
        form->Show();
    }

    // The play screen: title, menu and about parked, the field, backdrop, orbs, tail and mines shown.
    void Play() {
        title->X = -2000;
        for (std::size_t i = 0; i < 5; ++i) {
            orbs[i]->X = 60 + 90.0 * i;
            orbs[i]->Y = 60 + 30.0 * i;
        }
        for (std::size_t i = 0; i < 100; ++i) {
            segments[i]->X = 300 - 5.0 * static_cast<double>(i);
            segments[i]->Y = 225;
        }
        for (std::size_t i = 0; i < 30; ++i) {
            mines[i]->X = 30.0 * static_cast<double>(i % 20);
            mines[i]->Y = 30.0 * static_cast<double>(i / 2);
        }
        statusBar->Y = 450;
        orbs[10]->Y = 450;
    }

    void Frame() {
        draw->BackBuffer()->FillWith(0);
        spriteEngine->Draw();
        backdrop->X -= 1;
        ship->Angle = (ship->Angle + 64) % 256;
    }

    TDXSpriteEngine* spriteEngine = nullptr;

private:
    TPictureCollectionItem* Add(int w, int h, const std::function<Rgb(int, int)>& paint, int pw = 0, int ph = 0) {
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
        return &item;
    }

    template <class T> T& Sprite(TPictureCollectionItem* image, double x, double y, int32_t w, int32_t h) {
        T& s = spriteEngine->Engine().Add<T>();
        s.Image = image;
        s.X = x;
        s.Y = y;
        s.Width = w;
        s.Height = h;
        return s;
    }

    // The game's sprites in the game's order of creation.
    void Build() {
        auto gradient = [](int x, int y) { return Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 96}; };
        TPictureCollectionItem* orb = Add(30, 30, [](int x, int y) { return Disc(x, y, Rgb{248, 200, 0}); });
        TPictureCollectionItem* mine = Add(30, 30, [](int x, int y) { return Disc(x, y, Rgb{248, 128, 0}); });
        TPictureCollectionItem* tiles = Add(60, 30, gradient, 30, 30);

        Sprite<TImageSprite>(Add(30, 30,
                                 [](int x, int y) {
                                     return x <= y ? Rgb{248, 252, 248} : Rgb{};
                                 }),
                             400, 300, 30, 30);
        Sprite<TImageSprite>(Add(640, 480, gradient), -640, 0, 640, 480);
        Sprite<TImageSpriteEx>(Add(130, 40, gradient), 255, 220, 130, 40).Alpha = 100;
        Sprite<TImageSprite>(Add(130, 160, gradient), 320, 300, 0, 0);
        title = &Sprite<TImageSprite>(Add(640, 480, gradient), 0, 0, 640, 480);
        ship = &Sprite<TImageSpriteEx>(Add(30, 30, gradient), 300, 210, 30, 30);
        ship->Alpha = 200;
        for (int i = 0; i < 11; ++i) {
            orbs.push_back(&Sprite<TImageSprite>(orb, -2000, 0, 30, 30));
        }
        for (int i = 0; i < 100; ++i) {
            segments.push_back(
                &Sprite<TImageSprite>(Add(30, 30,
                                          [i](int x, int y) {
                                              return Disc(x, y, Rgb{static_cast<uint8_t>(i * 2), 252, 0});
                                          }),
                                      -2000, 0, 30, 30));
        }
        orbs[10]->X = 10;
        orbs[10]->Y = 600;
        for (int i = 0; i < 100; ++i) {
            mines.push_back(&Sprite<TImageSprite>(mine, -2000, 0, 30, 30));
        }
        TBackgroundSprite& field = spriteEngine->Engine().Add<TBackgroundSprite>();
        field.Image = tiles;
        field.Resize(21, 15);
        for (int r = 0; r < 15; ++r) {
            for (int c = 0; c < 21; ++c) {
                field.SetCells(c, r, (c == 0 || r == 0 || c == 20 || r == 14) ? 1 : 0);
            }
        }
        Sprite<TImageSprite>(Add(10, 450, [](int, int) { return Rgb{8, 8, 8}; }), 630, 0, 10, 450);
        backdrop = &spriteEngine->Engine().Add<TBackgroundSprite>();
        backdrop->Image = Add(630, 450, gradient);
        backdrop->Resize(500, 1);
        statusBar = &Sprite<TImageSprite>(Add(640, 30, gradient), 0, 600, 640, 30);
    }

    platform::HeadlessPlatform platform;
    TApplication app{platform};
    TForm* form = nullptr;
    TDXDraw* draw = nullptr;
    TDXImageList* images = nullptr;
    TImageSprite* title = nullptr;
    TImageSprite* statusBar = nullptr;
    TImageSpriteEx* ship = nullptr;
    TBackgroundSprite* backdrop = nullptr;
    std::vector<TImageSprite*> orbs, segments, mines;
};

// The menu: the full-screen title, the menu picture, the blended highlight bar and the pointer.
void BM_MenuFrame(benchmark::State& state) {
    GameScene scene;
    for (auto _ : state) {
        scene.Frame();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
    state.counters["drawn"] = scene.spriteEngine->Engine().DrawnCount();
}
BENCHMARK(BM_MenuFrame)->Unit(benchmark::kMicrosecond);

// Play: the 21 x 15 field over the scrolling backdrop, a hundred tail segments, thirty mines,
// the turned and blended ship, gauge and status bar.
void BM_PlayFrame(benchmark::State& state) {
    GameScene scene;
    scene.Play();
    for (auto _ : state) {
        scene.Frame();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
    state.counters["drawn"] = scene.spriteEngine->Engine().DrawnCount();
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
