#pragma once

#include "game/Game.h"
#include "game/PlayerInterface.h"
#include "platform/app/Form.h"

#include <cstdint>
#include <memory>

class TDXDraw;
class TDXImageList;
class TDXTimer;
class TDXSpriteEngine;
class TDXSound;
class TDXWaveList;
class TDXInput;
class TTimer;
struct TStoredForm;

// The game's main form: its components, created from the stored form, and the event
// handlers in which all of the game runs.
class TForm1 : public TForm {
public:
    // Creates the form and its components from the stored form carried by the program.
    explicit TForm1(TApplication& application);
    TForm1(TApplication& application, const TStoredForm& stored);
    ~TForm1() override;

    TDXDraw* DXDraw = nullptr;
    TDXImageList* GraphicList = nullptr;
    TDXTimer* DXTimer = nullptr;
    TDXSpriteEngine* DXSpriteEngine = nullptr;
    TDXSound* DXSound = nullptr;
    TDXWaveList* DXWaveList1 = nullptr;
    TDXInput* DXInput = nullptr;
    TDXImageList* FXList = nullptr;
    TDXImageList* FonList = nullptr;
    TDXImageList* WorldList = nullptr;
    TTimer* Timer1 = nullptr;

    // Event handlers.
    void FormActivate(TComponent* sender);
    void DXTimerTimer(TComponent* sender, int32_t lagCount);
    void DXDrawMouseMove(TComponent* sender, int x, int y);
    void DXDrawMouseDown(TComponent* sender);
    void DXDrawMouseUp(TComponent* sender);
    void Timer1Timer(TComponent* sender);

    // Frames step the rules only: no clearing, sprites, texts, pointer or presentation. The
    // rules read nothing that drawing writes, so a game runs exactly as it does when drawn.
    bool RulesOnly = false;

    // The world the handlers share.
    TGame World{*this};

    // A quick click, a press released before any frame saw it, counts once: the next frame sees
    // the button held. Off for recordings made before quick clicks counted (demo format 1).
    bool CountQuickClicks = true;

    // The desktop's hint line and pause, in sessions that have them (a demo says so); null, the
    // game is as it always was.
    std::unique_ptr<PlayerInterface> Interface;

private:
    // The branch of the current game state.
    void RunBranch();
    void WriteFrameRate();
    void DrawPointer();

    bool worldBuilt_ = false;
    // A button was pressed since the last frame began.
    bool pressUnseen_ = false;
};

// Makes the game's main form in `application` as the program starts it; null, with the error
// shown in the application's error box, when it cannot be made.
TForm1* CreateMainForm(TApplication& application);
