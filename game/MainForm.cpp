#include "game/MainForm.h"

#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "display/DXTimer.h"
#include "display/DirectDrawSurface.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "game/FormLoader.h"
#include "game/LanguagePictures.h"
#include "game/LevelChange.h"
#include "game/LevelStart.h"
#include "game/MenuScreens.h"
#include "game/PlayFrame.h"
#include "game/Rounding.h"
#include "game/StoredMainForm.h"
#include "game/WorldBuilder.h"
#include "input/DXInput.h"
#include "platform/app/Application.h"
#include "platform/app/WindowTimer.h"
#include "platform/base/Translate.h"
#include "sprite/DXSpriteEngine.h"
#include "sprite/ImageSprite.h"

#include <memory>
#include <string>

TForm1::TForm1(TApplication& application) : TForm1(application, StoredMainForm()) {
    // The pictures with words in the language of the texts.
    UseLanguagePictures(*this, ShownLanguage());
}

TForm1::TForm1(TApplication& application, const TStoredForm& stored) : TForm(application) {
    LoadForm(*this, stored);
}

TForm1::~TForm1() = default;

void TForm1::FormActivate(TComponent* /*sender*/) {
    // The world is built at the first activation only; later activations (after switching
    // to another program and back) leave it as it is.
    if (worldBuilt_) {
        return;
    }
    worldBuilt_ = true;
    BuildWorld(World);
    if (const int level = StartLevelOf(Application())) {
        StartAtLevel(World, level);
    }
}

void TForm1::DXTimerTimer(TComponent* /*sender*/, int32_t /*lagCount*/) {
    // Nothing to show until the world exists.
    if (!worldBuilt_) {
        return;
    }
    // A press already released counts as held through this one frame, however the frame ends.
    const bool quickClick = CountQuickClicks && pressUnseen_ && !World.MouseHeld;
    pressUnseen_ = false;
    struct ReleaseAfterFrame {
        bool& held;
        bool release;
        ~ReleaseAfterFrame() {
            if (release) {
                held = false;
            }
        }
    } releaseAfterFrame{World.MouseHeld, quickClick};
    if (quickClick) {
        World.MouseHeld = true;
    }
    DXInput->Poll();
    TDirectDrawSurface* back = RulesOnly ? nullptr : DXDraw->BackBuffer();
    if (back) {
        back->FillWith(0);
    }
    if (Interface && Interface->HoldsPlay(World)) {
        Interface->DrawPausedPlay(World);
    } else {
        RunBranch();
    }
    if (Interface) {
        Interface->DrawHint(World);
    }
    if (RulesOnly) {
        return;
    }
    WriteFrameRate();
    DrawPointer();
    if (!World.SlowFlip) {
        DXDraw->Flip();
    }
}

void TForm1::RunBranch() {
    switch (World.GameState) {
    case 0:
        MenuFrame(World);
        break;
    case 1:
        PlayFrame(World);
        break;
    case 2:
        LevelChangeFrame(World);
        break;
    case 3:
        HelpFrame(World);
        break;
    case 4:
        OptionsFrame(World);
        break;
    case 5:
        EndFrame(World);
        break;
    default:
        break;
    }
}

void TForm1::WriteFrameRate() {
    if (TDirectDrawSurfaceCanvas* canvas = World.TextCanvas(13, "System")) {
        canvas->WriteText(1, 1, "FPS:" + std::to_string(DXTimer->FramesPerSecond()));
        canvas->Detach();
    }
}

void TForm1::DrawPointer() {
    if (!World.PointerSprite) {
        return;
    }
    GraphicList->Items().ItemAt(0).Draw(DXDraw->BackBuffer(), RoundHalfEven(World.PointerSprite->X),
                                        RoundHalfEven(World.PointerSprite->Y), 0);
}

void TForm1::DXDrawMouseMove(TComponent* /*sender*/, int x, int y) {
    if (World.PointerSprite) {
        World.PointerSprite->X = x;
        World.PointerSprite->Y = y;
    }
}

void TForm1::DXDrawMouseDown(TComponent* /*sender*/) {
    World.MouseHeld = true;
    pressUnseen_ = true;
}

void TForm1::DXDrawMouseUp(TComponent* /*sender*/) {
    World.MouseHeld = false;
}

void TForm1::Timer1Timer(TComponent* /*sender*/) {
    if (World.SlowFlip && !RulesOnly) {
        DXDraw->Flip();
    }
}

TForm1* CreateMainForm(TApplication& application) {
    try {
        return static_cast<TForm1*>(&application.AddForm(std::make_unique<TForm1>(application)));
    } catch (const std::exception& e) {
        application.ShowException(e);
        return nullptr;
    }
}
