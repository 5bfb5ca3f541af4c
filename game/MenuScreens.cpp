#include "game/MenuScreens.h"

#include "display/DirectDrawSurfaceCanvas.h"
#include "game/Game.h"
#include "game/LevelLoader.h"
#include "platform/base/Translate.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/ImageSprite.h"

namespace {

constexpr uint32_t kEsc = 27;

void ThreeLines(TGame& game, int size, const char* first, const char* second, const char* third) {
    TDirectDrawSurfaceCanvas* canvas = game.TextCanvas(size, "Arial black");
    if (canvas) {
        canvas->WriteText(0, 400, first);
        canvas->WriteText(0, 425, second);
        canvas->WriteText(0, 450, third);
    }
    if (game.KeyDown(kEsc)) {
        game.GameState = 0;
    }
    if (canvas) {
        canvas->Detach();
    }
}

} // namespace

bool PointerInRect(const TGame& game, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const double x = game.PointerSprite->X, y = game.PointerSprite->Y;
    return x1 <= x && x <= x2 && y1 <= y && y <= y2;
}

void MenuFrame(TGame& game) {
    if (game.AboutSprite->X > -640) {
        game.AboutSprite->X -= 5;
    }
    if (game.TitleSprite->Y < 0) {
        game.TitleSprite->Y += 5;
        game.MenuSprite->Y += 5;
    }
    if (game.StatusBarSprite->Y < 600) {
        game.StatusBarSprite->Y += 1;
    }
    if (game.OrbIcon()->Y < 600) {
        game.OrbIcon()->Y += 1;
    }

    if (game.TitleSprite->Y >= 0) {
        // Each test that holds overwrites the choice, so on a shared edge the lower item wins.
        if (!PointerInRect(game, 255, 220, 385, 380)) {
            game.MenuChoice = 0;
        }
        if (PointerInRect(game, 255, 220, 385, 260)) {
            game.MenuChoice = 1;
        }
        if (PointerInRect(game, 255, 260, 385, 300)) {
            game.MenuChoice = 2;
        }
        if (PointerInRect(game, 255, 300, 385, 340)) {
            game.MenuChoice = 3;
        }
        if (PointerInRect(game, 255, 340, 385, 380)) {
            game.MenuChoice = 4;
        }
    }

    if (game.MenuChoice == 0) {
        game.HighlightSprite->X = -200;
    } else {
        game.HighlightSprite->X = 255;
        game.HighlightSprite->Y = 220 + 40 * (game.MenuChoice - 1);
    }

    if (game.MouseHeld) {
        switch (game.MenuChoice) {
        case 1:
            StartNewGame(game);
            break;
        case 2:
            game.GameState = 4;
            break;
        case 3:
            game.GameState = 3;
            break;
        case 4:
            game.Terminate();
            break;
        default:
            break;
        }
    }
    game.DrawSprites();
}

void StartNewGame(TGame& game) {
    game.Level = 1;
    game.Energy = 100;
    // A damaged level file is reported once the game has started, not before: the start is
    // not tried again frame after frame while the button is held.
    const std::exception_ptr levelError = LoadLevelDeferringError(game, LevelFileName(1));
    game.OrbsEaten = 0;
    game.Score = 0;
    game.ShipSprite->X = 0;
    game.ShipSprite->Y = 0;
    // After the last level the field was left half-way in; a new game plays on it in place.
    game.FieldMap->Y = 0;
    game.BackdropSprite->Y = 0;
    for (int i = 1; i <= game.OrbCount; ++i) {
        game.Orbs[i]->X = 30.0 * game.Random(21);
        game.Orbs[i]->Y = 30.0 * game.Random(15);
    }
    for (auto& entry : game.Path) {
        entry.x = -2000;
    }
    game.GameState = 1;
    if (levelError) {
        std::rethrow_exception(levelError);
    }
}

void HelpFrame(TGame& game) {
    if (game.AboutSprite->X < 0) {
        game.AboutSprite->X += 5;
    }
    if (game.KeyDown(kEsc)) {
        game.GameState = 0;
    }
    game.DrawSprites();
}

void OptionsFrame(TGame& game) {
    ThreeLines(game, 15, Tr("Опции пока не реализованы. Командная строка:"),
               Tr("-sf : Включает slowflip(для слабых машин)"), Tr("-f  : Включает алгоритм ускорения графики"));
}

void EndFrame(TGame& game) {
    ThreeLines(game, 13, Tr("Поздравляем!Вы только что прошли альфу Vorkalith!"),
               Tr("Несмотря на недоработанность, получилось здорово."),
               Tr("В любом случае, в октябре будет полностью законченная версия."));
    // Esc leads back to a menu whose title is still coming down: no item is chosen until it rests,
    // or a click during the descent would act on the finished game's choice.
    if (game.GameState == 0) {
        game.MenuChoice = 0;
    }
}
