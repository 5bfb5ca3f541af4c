#include "game/OrbsAndScore.h"

#include "display/DirectDrawSurfaceCanvas.h"
#include "game/Game.h"
#include "game/Rounding.h"
#include "game/WorldBuilder.h"
#include "platform/base/Translate.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/ImageSprite.h"

#include <string>

namespace {

// Characters of a UTF-8 text (bytes that do not continue a character).
int CharacterCount(const std::string& text) {
    int n = 0;
    for (unsigned char c : text) {
        n += (c & 0xC0) != 0x80;
    }
    return n;
}

// The centre of a 30x30 sprite at (x, y) lies in the ship's box, bounds included.
bool TouchesShip(const TGame& game, double x, double y) {
    const double sx = game.ShipSprite->X, sy = game.ShipSprite->Y;
    return x + 15 >= sx && x + 15 <= sx + 30 && y + 15 >= sy && y + 15 <= sy + 30;
}

} // namespace

void PulseOrbs(TGame& game) {
    for (int i = 1; i <= TGame::kPulsingOrbs; ++i) {
        uint8_t& pulse = game.OrbPulse[i];
        uint8_t& rising = game.OrbRising[i];
        if (rising == 1) {
            if (pulse < 50) {
                ++pulse;
            } else {
                rising = 0;
            }
        }
        if (rising == 0) {
            if (pulse > 0) {
                --pulse;
            } else {
                rising = 1;
            }
        }
        int picture = -1;
        if (pulse >= 1 && pulse <= 11) {
            picture = 6;
        } else if (pulse >= 13 && pulse <= 24) {
            picture = 7;
        } else if (pulse >= 26 && pulse <= 36) {
            picture = 8;
        } else if (pulse >= 38 && pulse <= 49) {
            picture = 9;
        }
        if (picture >= 0) {
            game.Orbs[i]->Image = &game.FXPicture(picture);
        }
    }
}

void ScrollBackdrop(TGame& game) {
    game.BackdropSprite->X -= 5;
}

void PickUpOrbs(TGame& game) {
    for (int i = 1; i <= game.OrbCount; ++i) {
        TImageSprite& orb = *game.Orbs[i];
        if (!TouchesShip(game, orb.X, orb.Y)) {
            continue;
        }
        if (game.OrbsEaten < 100) {
            ++game.OrbsEaten;
            game.Energy += 50;
            game.Speed += 0.03;
            DrawFloorCell(game);
            orb.X = 30 * game.CellX;
            orb.Y = 30 * game.CellY;
        } else {
            game.GameState = 2;
            game.LevelPhase = 0;
        }
    }
}

void PlaceTail(TGame& game) {
    if (game.OrbsEaten <= 2) {
        return;
    }
    for (int i = 1; i <= game.OrbsEaten; ++i) {
        const TPathEntry& entry = game.Path[static_cast<std::size_t>(5 * i + 5)];
        game.Segments[i]->X = entry.x;
        game.Segments[i]->Y = entry.y;
    }
}

void RebuildScoreText(TGame& game) {
    game.ScoreText = Tr("Очки:") + std::to_string(game.Score);
}

void WriteStatusTexts(TGame& game) {
    TDirectDrawSurfaceCanvas* canvas = game.TextCanvas(15, "Arial black");
    if (!canvas) {
        return;
    }
    const int y = RoundHalfEven(game.StatusBarSprite->Y);
    canvas->WriteText(40, y, std::to_string(game.OrbsEaten));
    canvas->WriteText(80, y, "Z:" + std::to_string(game.Energy));
    canvas->Font.Size = 10;
    canvas->WriteText(640 - 10 * CharacterCount(game.ScoreText), 0, game.ScoreText);
    canvas->Detach();
}

void ExhaustEnergy(TGame& game) {
    if (game.Energy != 0) {
        return;
    }
    if (game.Score < 0) {
        game.GameState = 0;
        // No item is chosen while the title comes back down, as after Esc.
        game.MenuChoice = 0;
        game.HighlightSprite->X = -2000;
    } else {
        game.Energy = 1;
        game.Score -= 3;
    }
}
