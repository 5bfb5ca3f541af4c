#include "game/WorldBuilder.h"

#include "display/DXImageList.h"
#include "game/Game.h"
#include "game/LevelLoader.h"
#include "game/MainForm.h"
#include "platform/app/Application.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/DXSpriteEngine.h"
#include "sprite/ImageSprite.h"

#include <exception>

namespace {

// Far more draws than any level with a floor cell needs (a field of one floor cell among
// 315 takes about 315 on average).
constexpr int kMaxDraws = 100000;

bool IsWall(TGame& game) {
    return game.FieldMap->Cells(game.CellX, game.CellY) == 1;
}

void DrawCell(TGame& game) {
    game.CellX = static_cast<int32_t>(game.Random(21));
    game.CellY = static_cast<int32_t>(game.Random(15));
}

template <class T>
T& MakeSprite(TGame& game, TPictureCollectionItem& picture, int width, int height, double x, double y) {
    T& sprite = game.Form.DXSpriteEngine->Engine().Add<T>();
    sprite.Image = &picture;
    sprite.Width = width;
    sprite.Height = height;
    sprite.X = x;
    sprite.Y = y;
    return sprite;
}

} // namespace

void SeekFloorCell(TGame& game) {
    for (int draws = 0; draws < kMaxDraws && IsWall(game); ++draws) {
        DrawCell(game);
    }
}

void DrawFloorCell(TGame& game) {
    int draws = 0;
    do {
        DrawCell(game);
    } while (++draws < kMaxDraws && IsWall(game));
}

void PlaceFieldOrbs(TGame& game) {
    for (int i = 1; i <= game.OrbCount; ++i) {
        SeekFloorCell(game);
        game.Orbs[i]->X = game.CellX * 30;
        game.Orbs[i]->Y = game.CellY * 30;
        DrawCell(game);
    }
}

void ApplyTileSet(TGame& game) {
    const int level = game.Level;
    int set = -1;
    if (level >= 1 && level <= 4) {
        set = 0;
    } else if (level >= 5 && level <= 9) {
        set = 1;
    } else if (level >= 10 && level <= 14) {
        set = 2;
    } else if (level >= 15 && level <= 19) {
        set = 3;
    } else if (level >= 20 && level <= 24) {
        set = 4;
    }
    if (set >= 0) {
        game.FieldMap->Image = &game.WorldPicture(set);
    }
}

void BuildWorld(TGame& game) {
    game.Level = 1;
    for (int i = 1; i <= TGame::kSegments; ++i) {
        game.SegmentColour[i] = static_cast<uint8_t>(game.Random(5));
    }
    for (int i = 1; i <= TGame::kPulsingOrbs; ++i) {
        game.OrbPulse[i] = static_cast<uint8_t>(game.Random(50));
    }
    game.OrbCount = 5;
    game.RandomGenerator.Seed(game.Form.Application().Platform().UtcTimeOfDay());

    // Created in this order, all at Z 0: each newcomer is drawn beneath those before it,
    // so the pointer lies on top and the status bar at the bottom.
    game.PointerSprite = &MakeSprite<TImageSprite>(game, game.GraphicPicture(0), 30, 30, 0, 0);
    game.AboutSprite = &MakeSprite<TImageSprite>(game, game.GraphicPicture(6), 640, 480, -640, 0);
    game.HighlightSprite = &MakeSprite<TImageSpriteEx>(game, game.GraphicPicture(2), 130, 40, 255, 220);
    game.HighlightSprite->Alpha = 100;
    game.MenuSprite = &MakeSprite<TImageSprite>(game, game.GraphicPicture(1), 0, 0, 320, 300);
    game.TitleSprite = &MakeSprite<TImageSprite>(game, game.FonPicture(0), 640, 480, 0, 0);
    game.ShipSprite = &MakeSprite<TImageSpriteEx>(game, game.GraphicPicture(3), 30, 30, 0, 0);
    for (int i = 1; i <= 11; ++i) {
        game.Orbs[i] = &MakeSprite<TImageSprite>(game, game.FXPicture(6), 30, 30, -2000, 0);
    }
    for (int i = 1; i <= TGame::kSegments; ++i) {
        game.Segments[i] = &MakeSprite<TImageSprite>(game, game.FXPicture(6 + game.SegmentColour[i]), 30, 30, -2000, 0);
    }
    game.OrbIcon()->X = 10;
    game.OrbIcon()->Y = 600;
    for (int i = 1; i <= TGame::kMines; ++i) {
        game.Mines[i] = &MakeSprite<TImageSprite>(game, game.FXPicture(0), 30, 30, -2000, 0);
    }

    game.FieldMap = &game.Form.DXSpriteEngine->Engine().Add<TBackgroundSprite>();
    ApplyTileSet(game);
    game.FieldMap->Resize(21, 15);

    // A damaged level file leaves the rest of the world to be built before its error is reported.
    const std::exception_ptr levelError = LoadLevelDeferringError(game, LevelFileName(1));

    PlaceFieldOrbs(game);

    game.GaugeSprite = &MakeSprite<TImageSprite>(game, game.GraphicPicture(5), 10, 450, 630, 0);
    game.BackdropSprite = &game.Form.DXSpriteEngine->Engine().Add<TBackgroundSprite>();
    game.BackdropSprite->Image = &game.FXPicture(12);
    game.BackdropSprite->Resize(500, 1);
    game.StatusBarSprite = &MakeSprite<TImageSprite>(game, game.GraphicPicture(4), 640, 30, 0, 600);

    game.Speed = 1.0;
    game.Fade = 255.0;
    game.Energy = 100;
    game.SlowFlip = game.Form.Application().ParamStr(1) == "-sf";

    if (levelError) {
        std::rethrow_exception(levelError);
    }
}
