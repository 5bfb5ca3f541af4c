#include "PlayFixture.h"
#include "game/Random.h"
#include "sprite/DXSpriteEngine.h"
#include "sprite/SpriteEngine.h"

#include <array>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

using WorldTest = PlayFixture;

TEST_F(WorldTest, ColourSequencesAreFixedAndLaterDrawsFollowTheClock) {
    const std::array<int, 10> colours = {0, 0, 4, 1, 1, 3, 1, 0, 1, 2};
    const std::array<int, 10> pulses = {37, 4, 3, 2, 5, 39, 40, 19, 30, 21};
    folder.Write("1.vrk", LevelFile().Bytes());
    // 13:45:07.123 and 02:00:00.999 UTC.
    for (uint64_t ms : {49507123ull, 7200999ull}) {
        platform.NowMicros = ms * 1000;
        Start({"-sf"});
        for (int i = 1; i <= 10; ++i) {
            EXPECT_EQ(W().SegmentColour[i], colours[i - 1]) << i;
            EXPECT_EQ(W().OrbPulse[i], pulses[i - 1]) << i;
        }
        for (int i = 1; i <= 100; ++i) {
            EXPECT_EQ(W().Segments[i]->Image, &W().FXPicture(6 + W().SegmentColour[i])) << i;
        }
        // On a field without walls orb 1 takes cell (0, 0), the cell looked at first, and each
        // further orb the cell drawn after the one before, column first, from the seeded generator.
        TRandom expected;
        expected.State = static_cast<uint32_t>(ms);
        EXPECT_EQ(W().Orbs[1]->X, 0);
        EXPECT_EQ(W().Orbs[1]->Y, 0);
        for (int i = 2; i <= 5; ++i) {
            const double x = 30.0 * expected.Next(21), y = 30.0 * expected.Next(15);
            EXPECT_EQ(W().Orbs[i]->X, x) << ms << " orb " << i;
            EXPECT_EQ(W().Orbs[i]->Y, y) << ms << " orb " << i;
        }
        for (int i = 6; i <= 10; ++i) {
            EXPECT_EQ(W().Orbs[i]->X, -2000);
        }
    }
}

TEST_F(WorldTest, StartUpValuesOfTheScene) {
    StartWith(LevelFile().Set(4, 5, 6));
    TGame& w = W();
    EXPECT_EQ(w.Level, 1);
    EXPECT_EQ(w.Energy, 100);
    EXPECT_EQ(w.Speed, 1.0);
    EXPECT_EQ(w.Fade, 255.0);
    EXPECT_EQ(w.OrbCount, 5);
    EXPECT_EQ(w.GameState, 0);
    struct Place {
        const char* name;
        TSprite* sprite;
        double x, y;
        int width, height;
    };
    const Place places[] = {
        {"pointer", w.PointerSprite, 0, 0, 30, 30},
        {"about", w.AboutSprite, -640, 0, 640, 480},
        {"highlight", w.HighlightSprite, 255, 220, 130, 40},
        {"menu", w.MenuSprite, 320, 300, 0, 0},
        {"title", w.TitleSprite, 0, 0, 640, 480},
        {"ship", w.ShipSprite, 120, 150, 30, 30},
        {"orb icon", w.OrbIcon(), 10, 600, 30, 30},
        {"segment", w.Segments[100], -2000, 0, 30, 30},
        {"mine", w.Mines[100], -2000, 0, 30, 30},
        {"gauge", w.GaugeSprite, 630, 0, 10, 450},
        {"status bar", w.StatusBarSprite, 0, 600, 640, 30},
    };
    for (const Place& p : places) {
        EXPECT_EQ(p.sprite->X, p.x) << p.name;
        EXPECT_EQ(p.sprite->Y, p.y) << p.name;
        EXPECT_EQ(p.sprite->Width, p.width) << p.name;
        EXPECT_EQ(p.sprite->Height, p.height) << p.name;
    }
    EXPECT_EQ(w.HighlightSprite->Alpha, 100);
    EXPECT_EQ(w.FieldMap->Columns(), 21);
    EXPECT_EQ(w.FieldMap->Rows(), 15);
    EXPECT_EQ(w.FieldMap->Image, &w.WorldPicture(0));
    EXPECT_EQ(w.BackdropSprite->Columns(), 500);
    EXPECT_EQ(w.BackdropSprite->Rows(), 1);
    EXPECT_EQ(w.BackdropSprite->Image, &w.FXPicture(12));
}

TEST_F(WorldTest, OrbsAreNeverPlacedOnWalls) {
    StartWith(LevelFile::AllWallsBut({{3, 4}, {17, 9}}));
    for (int i = 1; i <= 5; ++i) {
        const std::pair<double, double> at{W().Orbs[i]->X, W().Orbs[i]->Y};
        EXPECT_TRUE(at == std::make_pair(90.0, 120.0) || at == std::make_pair(510.0, 270.0)) << i;
    }
}

TEST_F(WorldTest, ALevelWithoutFloorStillStarts) {
    StartWith(LevelFile::AllWallsBut({}));
    EXPECT_EQ(W().GameState, 0);
    RunFrames(2);
    EXPECT_TRUE(platform.Errors.empty());
}

TEST_F(WorldTest, WithoutLevelOneTheMenuStartsAGameOnAnOpenField) {
    Start({"-sf"});
    StartGame();
    for (int c = 0; c < 21; ++c) {
        for (int r = 0; r < 15; ++r) {
            EXPECT_EQ(W().FieldMap->Cells(c, r), 0);
        }
    }
    for (int i = 1; i <= 100; ++i) {
        EXPECT_EQ(W().MineMode[i], 0);
        EXPECT_EQ(W().Mines[i]->X, -2000);
    }
    EXPECT_EQ(W().ShipSprite->X, 0);
    EXPECT_EQ(W().ShipSprite->Y, 0);
}

// A FIFO named 1.vrk used to hang the start in its open; now it is a level file that cannot
// be opened, so the game starts as if there were none.
TEST_F(WorldTest, AFifoAsLevelOneStartsLikeNoLevelOne) {
    ASSERT_EQ(::mkfifo((folder.Path() / "1.vrk").c_str(), 0600), 0);
    Start({"-sf"});
    EXPECT_EQ(W().GameState, 0);
    RunFrames(2);
    StartGame();
    RunFrames(2);
    EXPECT_EQ(W().GameState, 1);
    for (int c = 0; c < 21; ++c) {
        for (int r = 0; r < 15; ++r) {
            EXPECT_EQ(W().FieldMap->Cells(c, r), 0);
        }
    }
    for (int i = 1; i <= 100; ++i) {
        EXPECT_EQ(W().MineMode[i], 0);
    }
    EXPECT_TRUE(platform.Errors.empty());
}

class SceneTest : public PlayFixture {
protected:
    // The back buffer after the engine has drawn only the given sprites on black.
    std::vector<uint32_t> Render(std::initializer_list<TSprite*> shown) {
        TSpriteEngine& root = form->DXSpriteEngine->Engine();
        for (int i = 0; i < root.Count(); ++i) {
            root.ChildAt(i).Visible = false;
        }
        for (TSprite* s : shown) {
            s->Visible = true;
        }
        form->DXDraw->BackBuffer()->FillWith(0);
        W().DrawSprites();
        return BackPixels();
    }
};

// The engine draws the scene in the reverse order of creation: each pair below is checked
// on the pixels where both sprites show different colours on their own.
TEST_F(SceneTest, SpritesAreLayeredInTheReverseOrderOfCreation) {
    StartWith(LevelFile().Set(10, 9, 1));
    TGame& w = W();
    // Everything overlaps around (310..320, 290..320).
    for (TImageSprite* s :
         {static_cast<TImageSprite*>(w.PointerSprite), static_cast<TImageSprite*>(w.ShipSprite), w.Orbs[1], w.Orbs[10],
          w.OrbIcon(), w.Segments[1], w.Segments[100], w.Mines[1], w.Mines[100]}) {
        s->X = 305;
        s->Y = 290;
    }
    w.AboutSprite->X = 0;
    w.HighlightSprite->Y = 300;
    w.GaugeSprite->X = 310;
    w.StatusBarSprite->Y = 290;
    // Sprites of one picture get pictures of their own, so that each pair can be told apart;
    // the black gauge and the about picture, black where the others lie, get coloured ones.
    w.AboutSprite->Image = &w.FXPicture(12);
    w.GaugeSprite->Image = &w.FXPicture(7);
    w.Orbs[1]->Image = &w.FXPicture(7);
    w.Orbs[10]->Image = &w.FXPicture(9);
    w.OrbIcon()->Image = &w.FXPicture(11);
    w.Segments[1]->Image = &w.FXPicture(6);
    w.Segments[100]->Image = &w.FXPicture(8);
    w.Mines[1]->Image = &w.FXPicture(0);
    w.Mines[100]->Image = &w.FXPicture(10);

    const std::vector<std::pair<const char*, TSprite*>> topDown = {
        {"pointer", w.PointerSprite},   {"about", w.AboutSprite},
        {"menu", w.MenuSprite},         {"title", w.TitleSprite},
        {"ship", w.ShipSprite},         {"orb 1", w.Orbs[1]},
        {"orb 10", w.Orbs[10]},         {"orb icon", w.OrbIcon()},
        {"segment 1", w.Segments[1]},   {"segment 100", w.Segments[100]},
        {"mine 1", w.Mines[1]},         {"mine 100", w.Mines[100]},
        {"field", w.FieldMap},          {"gauge", w.GaugeSprite},
        {"backdrop", w.BackdropSprite}, {"status bar", w.StatusBarSprite},
    };
    for (std::size_t k = 0; k + 1 < topDown.size(); ++k) {
        const auto [upperName, upper] = topDown[k];
        const auto [lowerName, lower] = topDown[k + 1];
        const auto a = Render({upper}), b = Render({lower}), both = Render({upper, lower});
        int decisive = 0, wrong = 0;
        for (std::size_t p = 0; p < a.size(); ++p) {
            if (a[p] != 0 && b[p] != 0 && a[p] != b[p]) {
                ++decisive;
                wrong += both[p] != a[p];
            }
        }
        EXPECT_GT(decisive, 0) << upperName << " over " << lowerName;
        EXPECT_EQ(wrong, 0) << upperName << " over " << lowerName;
    }
    // The translucent highlight lies over the menu: the menu's pixels beneath it change.
    const auto menu = Render({w.MenuSprite}), both = Render({w.MenuSprite, w.HighlightSprite});
    const std::size_t inBar = 310 * 640 + 300;
    EXPECT_NE(both[inBar], menu[inBar]);
}

TEST_F(SceneTest, MenuPictureIsCentredOnItsPosition) {
    StartWith(LevelFile());
    const auto shown = Render({W().MenuSprite});
    TDirectDrawSurface& picture = *W().GraphicPicture(1).PatternSurface(0);
    ASSERT_EQ(picture.Width(), 130);
    ASSERT_EQ(picture.Height(), 160);
    int mismatches = 0;
    for (int y = 0; y < 160; ++y) {
        for (int x = 0; x < 130; ++x) {
            mismatches += shown[static_cast<std::size_t>((220 + y) * 640 + 255 + x)] != picture.Pixel(x, y);
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(shown[219 * 640 + 300], 0u);
    EXPECT_EQ(shown[300 * 640 + 254], 0u);
}

} // namespace
