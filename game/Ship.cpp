#include "game/Ship.h"

#include "game/Game.h"
#include "game/Rounding.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/ImageSprite.h"

namespace {
constexpr uint32_t kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

bool IsWall(const TGame& game, double x, double y) {
    return game.FieldMap->Cells(RoundHalfEven(x / 30), RoundHalfEven(y / 30)) == 1;
}
} // namespace

void SteerShip(TGame& game) {
    // Tested in this order, so down wins over up over right over left.
    if (game.KeyDown(kLeft)) {
        game.Heading = 4;
    }
    if (game.KeyDown(kRight)) {
        game.Heading = 2;
    }
    if (game.KeyDown(kUp)) {
        game.Heading = 1;
    }
    if (game.KeyDown(kDown)) {
        game.Heading = 3;
    }
}

void TurnShip(TGame& game) {
    if (game.Heading >= 1 && game.Heading <= 4) {
        game.ShipSprite->Angle = (game.Heading - 1) * 64;
    }
}

void MoveShip(TGame& game) {
    TImageSpriteEx& ship = *game.ShipSprite;
    const double s = game.Speed, x = ship.X, y = ship.Y;
    bool moved = false;
    switch (game.Heading) {
    case 1:
        if (y > 0 && !IsWall(game, x, y - s)) {
            ship.Y = y - s;
            moved = true;
        }
        break;
    case 2:
        if (x < 610 && !IsWall(game, x + s, y)) {
            ship.X = x + s;
            moved = true;
        }
        break;
    case 3:
        if (y < 420 && !IsWall(game, x, y + s)) {
            ship.Y = y + s;
            moved = true;
        }
        break;
    case 4:
        if (x > 0 && !IsWall(game, x - s, y)) {
            ship.X = x - s;
            moved = true;
        }
        break;
    default:
        return;
    }
    if (!moved && game.Energy > 0) {
        --game.Energy;
    }
}

void FadeShip(TGame& game) {
    if (game.Fade > 0) {
        game.Fade -= 0.33;
    }
    if (RoundHalfEven(game.Fade) == 0) {
        game.Fade = 0.0;
    }
    game.ShipSprite->Alpha = RoundHalfEven(255 - game.Fade);
}

void RecordPath(TGame& game) {
    auto& path = game.Path;
    for (int k = TGame::kPathLength; k >= 2; --k) {
        path[k].x = path[k - 1].x;
    }
    for (int k = TGame::kPathLength; k >= 2; --k) {
        path[k].y = path[k - 1].y;
    }
    path[1] = TPathEntry{RoundHalfEven(game.ShipSprite->X), RoundHalfEven(game.ShipSprite->Y)};
}
