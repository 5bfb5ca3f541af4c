#include "game/Game.h"

#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "display/DirectDrawSurface.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "game/MainForm.h"
#include "input/DXInput.h"
#include "platform/app/Application.h"
#include "sprite/DXSpriteEngine.h"

bool TGame::KeyDown(uint32_t code) const {
    return Form.DXInput->Keyboard().KeyDown(code);
}

void TGame::DrawSprites() {
    if (!Form.RulesOnly) {
        Form.DXSpriteEngine->Draw();
    }
}

TPictureCollectionItem& TGame::GraphicPicture(int index) const {
    return Form.GraphicList->Items().ItemAt(index);
}
TPictureCollectionItem& TGame::FXPicture(int index) const {
    return Form.FXList->Items().ItemAt(index);
}
TPictureCollectionItem& TGame::FonPicture(int index) const {
    return Form.FonList->Items().ItemAt(index);
}
TPictureCollectionItem& TGame::WorldPicture(int index) const {
    return Form.WorldList->Items().ItemAt(index);
}

TDirectDrawSurfaceCanvas* TGame::TextCanvas(int size, const char* fontName) {
    TDirectDrawSurface* back = Form.RulesOnly ? nullptr : Form.DXDraw->BackBuffer();
    if (!back) {
        return nullptr;
    }
    TDirectDrawSurfaceCanvas& canvas = back->TextCanvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Color = clWhite;
    canvas.Font.Size = size;
    canvas.Font.Name = fontName;
    return &canvas;
}

void TGame::Terminate() {
    Form.Application().Terminate();
}
