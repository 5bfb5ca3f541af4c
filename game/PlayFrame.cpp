#include "game/PlayFrame.h"

#include "game/Game.h"
#include "game/Mines.h"
#include "game/OrbsAndScore.h"
#include "game/Ship.h"
#include "sprite/ImageSprite.h"

namespace {

constexpr uint32_t kEsc = 27;

// The menu scene slides away and the status bar rises into place.
void LeaveMenuScene(TGame& game) {
    if (game.AboutSprite->X > -640) {
        game.AboutSprite->X -= 3;
    }
    if (game.TitleSprite->Y > -480) {
        game.TitleSprite->Y -= 5;
        game.MenuSprite->Y -= 5;
        game.HighlightSprite->X = -2000;
    }
    if (game.StatusBarSprite->Y > 450) {
        game.StatusBarSprite->Y -= 1;
    }
    if (game.OrbIcon()->Y > 450) {
        game.OrbIcon()->Y -= 1;
    }
}

} // namespace

void PlayFrame(TGame& game) {
    LeaveMenuScene(game);
    SteerShip(game);
    TurnShip(game);
    MoveShip(game);
    FadeShip(game);
    PulseOrbs(game);
    ScrollBackdrop(game);
    PickUpOrbs(game);
    if (game.KeyDown(kEsc)) {
        game.GameState = 0;
        game.MenuChoice = 0;
    }
    MineStep(game);
    RecordPath(game);
    PlaceTail(game);
    game.DrawSprites();
    RebuildScoreText(game);
    WriteStatusTexts(game);
    ExhaustEnergy(game);
}
