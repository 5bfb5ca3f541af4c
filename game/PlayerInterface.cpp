#include "game/PlayerInterface.h"

#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "display/DirectDrawSurface.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "game/Game.h"
#include "game/MainForm.h"
#include "game/OrbsAndScore.h"
#include "input/DXInput.h"
#include "platform/base/Translate.h"
#include "sprite/ImageSprite.h"

#include <utility>

namespace {

constexpr uint8_t kMenu = 0, kPlay = 1;
// Virtual-key codes: P, and the Pause key (which the pad's Start button holds too).
constexpr uint32_t kKeyP = 80, kKeyPause = 19;
constexpr int kScreenWidth = 640;

constexpr const char* kHint = N_("R или Y на пульте — рекорды        P — пауза");
constexpr const char* kDailyHint = N_("Задание дня %s        R или Y — рекорды        P — пауза");
constexpr const char* kPaused = N_("Пауза");
constexpr const char* kResume = N_("P — продолжить");

std::string WithDate(const char* text, const std::string& date) {
    std::string out = text;
    const std::size_t at = out.find("%s");
    if (at != std::string::npos) {
        out.replace(at, 2, date);
    }
    return out;
}

void WriteCentred(TDirectDrawSurfaceCanvas& canvas, int y, const std::string& text) {
    canvas.WriteText((kScreenWidth - canvas.TextWidth(text)) / 2, y, text);
}

} // namespace

PlayerInterface::PlayerInterface(std::string dailyDate)
    : hint_(dailyDate.empty() ? std::string(Tr(kHint)) : WithDate(Tr(kDailyHint), dailyDate)) {}

bool PlayerInterface::HoldsPlay(TGame& game) {
    const bool held = game.KeyDown(kKeyP) || game.KeyDown(kKeyPause);
    const bool pressed = held && !pauseKeyHeld_;
    pauseKeyHeld_ = held;
    // The menu and the screens never pause; only a frame of play can.
    if (game.GameState != kPlay) {
        paused_ = false;
        return false;
    }
    if (pressed) {
        paused_ = !paused_;
    }
    // The keys read nothing while the window is behind, so it is the focus that pauses then.
    if (!game.Form.DXInput->OwnerFormInFront()) {
        paused_ = true;
    }
    return paused_;
}

void PlayerInterface::DrawPausedPlay(TGame& game) {
    game.DrawSprites();
    WriteStatusTexts(game);
    // A band of the menu's highlight behind the text, so that it reads over any field.
    if (TDirectDrawSurface* back = game.Form.RulesOnly ? nullptr : game.Form.DXDraw->BackBuffer()) {
        game.GraphicPicture(2).DrawBlended(back, TRect{0, 180, 640, 272}, 0, 170);
    }
    if (TDirectDrawSurfaceCanvas* canvas = game.TextCanvas(28, "Arial black")) {
        WriteCentred(*canvas, 190, Tr(kPaused));
        canvas->Font.Size = 13;
        WriteCentred(*canvas, 240, Tr(kResume));
        canvas->Detach();
    }
}

void PlayerInterface::DrawHint(TGame& game) {
    if (game.GameState != kMenu || game.TitleSprite->Y < 0) {
        return;
    }
    if (TDirectDrawSurfaceCanvas* canvas = game.TextCanvas(10, "Arial black")) {
        WriteCentred(*canvas, 456, hint_);
        canvas->Detach();
    }
}
