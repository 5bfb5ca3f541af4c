#include "game/Mines.h"

#include "game/Game.h"
#include "game/Rounding.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/ImageSprite.h"

namespace {

// The mine picture for each band of the animation counter: the spikes turn through the six
// pictures and start over.
int MinePicture(int tick) {
    if (tick >= 1 && tick <= 3) {
        return 0;
    }
    if (tick >= 4 && tick <= 43) {
        return ((tick - 4) / 4 + 1) % 6;
    }
    return -1;
}

bool IsWall(const TGame& game, double x, double y) {
    return game.FieldMap->Cells(RoundHalfEven(x / 30), RoundHalfEven(y / 30)) == 1;
}

void Patrol(TGame& game, int i) {
    TImageSprite& mine = *game.Mines[i];
    uint8_t& mode = game.MineMode[i];
    const double x = mine.X, y = mine.Y;
    switch (mode) {
    case 1:
        if (y > 0 && !IsWall(game, x, y - 1)) {
            mine.Y = y - 1;
        } else {
            mode = 3;
        }
        break;
    case 2:
        if (x < 640 && !IsWall(game, x + 1, y)) {
            mine.X = x + 1;
        } else {
            mode = 4;
        }
        break;
    case 3:
        if (y < 420 && !IsWall(game, x, y + 1)) {
            mine.Y = y + 1;
        } else {
            mode = 1;
        }
        break;
    case 4:
        if (x > 0 && !IsWall(game, x - 1, y)) {
            mine.X = x - 1;
        } else {
            mode = 2;
        }
        break;
    default:
        break;
    }
}

} // namespace

void MineStep(TGame& game) {
    game.AnimTick = game.AnimTick < 44 ? static_cast<uint8_t>(game.AnimTick + 1) : uint8_t{1};

    const int picture = MinePicture(game.AnimTick);
    for (int i = 1; i <= TGame::kMines; ++i) {
        if (game.MineMode[i] != 0 && picture >= 0) {
            game.Mines[i]->Image = &game.FXPicture(picture);
        }
    }
    for (int i = 1; i <= TGame::kMines; ++i) {
        Patrol(game, i);
    }
    const double sx = game.ShipSprite->X, sy = game.ShipSprite->Y;
    for (int i = 1; i <= TGame::kMines; ++i) {
        if (game.MineMode[i] == 0) {
            continue;
        }
        const double cx = game.Mines[i]->X + 15, cy = game.Mines[i]->Y + 15;
        if (cx < sx || cx > sx + 30 || cy < sy || cy > sy + 30 || game.Fade != 0.0) {
            continue;
        }
        if (game.Energy >= 200) {
            game.Energy -= 200;
        } else {
            game.Score -= 3 * (200 - game.Energy);
            game.Energy = 0;
        }
        game.MineMode[i] = game.Heading;
        game.Fade = 50.0;
    }
}
