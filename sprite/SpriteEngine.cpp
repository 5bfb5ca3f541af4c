#include "sprite/SpriteEngine.h"

#include "display/DirectDrawSurface.h"

TSpriteEngine::TSpriteEngine() = default;

// The base destructor would clear the tree too, but only after this part of the object is
// gone; the sprites' departures update SpriteCount, so they go while the engine is whole.
TSpriteEngine::~TSpriteEngine() {
    Clear();
}

void TSpriteEngine::SetSurface(TDirectDrawSurface* surface) {
    surface_ = surface;
    if (surface != nullptr) {
        surfaceBounds_ = surface->FullRect();
        Width = surfaceBounds_.Right - surfaceBounds_.Left;
        Height = surfaceBounds_.Bottom - surfaceBounds_.Top;
    }
}

void TSpriteEngine::Draw() {
    drawnCount_ = 0;
    drawing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{drawing_};
    PaintTree();
}
