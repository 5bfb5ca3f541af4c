#include "game/LevelStart.h"

#include "game/CommandLine.h"
#include "game/Game.h"
#include "game/LevelLoader.h"
#include "game/WorldBuilder.h"
#include "platform/app/Application.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/ImageSprite.h"

#include <exception>
#include <string>
#include <vector>

void StartAtLevel(TGame& game, int level) {
    game.Level = static_cast<uint8_t>(level);
    game.Energy = 100;
    game.Score = 0;
    game.OrbsEaten = 0;
    const std::exception_ptr levelError = LoadLevelDeferringError(game, LevelFileName(level));
    ApplyTileSet(game);

    // Where play leaves the menu scene once it has slid away.
    game.AboutSprite->X = -640;
    game.TitleSprite->Y = -480;
    game.MenuSprite->Y = 300 - 480;
    game.HighlightSprite->X = -2000;
    game.StatusBarSprite->Y = 450;
    game.OrbIcon()->Y = 450;

    game.Speed = 1.0;
    game.Fade = 255.0;
    game.ShipSprite->Alpha = 0;
    game.BackdropSprite->X = 0;
    PlaceFieldOrbs(game);
    for (auto& entry : game.Path) {
        entry.x = -2000;
    }
    game.GameState = 1;
    if (levelError) {
        std::rethrow_exception(levelError);
    }
}

int StartLevelOf(const TApplication& application) {
    std::vector<std::string> arguments;
    for (int i = 1; i <= application.ParamCount(); ++i) {
        arguments.push_back(application.ParamStr(i));
    }
    CommandLine options;
    std::string error;
    return options.Parse(arguments, error) ? options.StartLevel : 0;
}
