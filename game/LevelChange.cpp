#include "game/LevelChange.h"

#include "display/DirectDrawSurfaceCanvas.h"
#include "game/Game.h"
#include "game/LevelLoader.h"
#include "game/OrbsAndScore.h"
#include "game/WorldBuilder.h"
#include "platform/base/Translate.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/ImageSprite.h"

#include <string>

namespace {

// Energy above 50 turns into score five at a time; energy never ends a step below 50.
void CashInEnergy(TGame& game) {
    if (game.Energy > 50) {
        game.Energy -= 5;
        game.Score += 5;
    }
    if (game.Energy < 50) {
        game.Energy = 50;
    }
    RebuildScoreText(game);
}

void ParkTail(TGame& game) {
    for (int i = 1; i <= TGame::kSegments; ++i) {
        game.Segments[i]->X = -2000;
    }
}

void OldFieldLeaves(TGame& game) {
    if (game.FieldMap->Y > -480) {
        game.FieldMap->Y -= 1;
        game.BackdropSprite->Y -= 1;
        game.BackdropSprite->X -= 5;
        game.ShipSprite->X = -2000;
        for (int i = 1; i <= 5; ++i) {
            game.Orbs[i]->X = -2000;
        }
        ParkTail(game);
        CashInEnergy(game);
        return;
    }
    game.LevelPhase = 1;
    ++game.Level;
    // A damaged level file is reported after the level change has taken its step.
    const std::exception_ptr levelError = LoadLevelDeferringError(game, LevelFileName(game.Level));
    if (game.OrbsEaten > 0) {
        --game.OrbsEaten;
    }
    ApplyTileSet(game);
    if (game.Level == 25) {
        game.GameState = 5;
    }
    ParkTail(game);
    game.Speed = 1.0;
    game.Fade = 255.0;
    game.ShipSprite->Alpha = 0;
    game.BackdropSprite->X = 0;
    if (levelError) {
        std::rethrow_exception(levelError);
    }
}

void NewFieldArrives(TGame& game) {
    if (game.FieldMap->Y < 0) {
        game.FieldMap->Y += 1;
        game.BackdropSprite->Y += 1;
        game.BackdropSprite->X -= 5;
        if (game.OrbsEaten > 0) {
            --game.OrbsEaten;
        }
        CashInEnergy(game);
        return;
    }
    PlaceFieldOrbs(game);
    game.Energy = 50;
    for (auto& entry : game.Path) {
        entry.x = -2000;
    }
    game.GameState = 1;
}

} // namespace

void LevelChangeFrame(TGame& game) {
    if (game.LevelPhase == 0) {
        OldFieldLeaves(game);
    }
    if (game.LevelPhase == 1) {
        NewFieldArrives(game);
    }
    if (TDirectDrawSurfaceCanvas* canvas = game.TextCanvas(15, "Arial black")) {
        canvas->WriteText(245, 240, Tr("Уровень:") + std::to_string(game.Level));
        canvas->Detach();
    }
    game.DrawSprites();
    WriteStatusTexts(game);
}
