#include "sprite/DXSpriteEngine.h"

#include "display/DXDraw.h"

TCustomDXSpriteEngine::TCustomDXSpriteEngine(TComponent* owner) : TComponent(owner) {}

// The engine member goes after this body, taking every sprite with it.
TCustomDXSpriteEngine::~TCustomDXSpriteEngine() {
    SetDXDraw(nullptr);
}

void TCustomDXSpriteEngine::SetDXDraw(TCustomDXDraw* dxDraw) {
    if (dxDraw == dxDraw_) {
        return;
    }
    // Leaving the old display tells us Finalizing when it is initialised, which lets go of
    // its back buffer.
    if (dxDraw_) {
        dxDraw_->RemoveListener(this);
    }
    dxDraw_ = dxDraw;
    if (dxDraw_) {
        dxDraw_->AddListener(this);
    }
}

void TCustomDXSpriteEngine::Draw() {
    if (dxDraw_ && dxDraw_->IsInitialized()) {
        engine_.Draw();
    }
}

void TCustomDXSpriteEngine::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && dxDraw_ && component == static_cast<TComponent*>(dxDraw_)) {
        SetDXDraw(nullptr);
    }
}

void TCustomDXSpriteEngine::DXDrawNotify(TCustomDXDraw& sender, TDisplayNotice notice) {
    switch (notice) {
    case TDisplayNotice::Destroying:
        SetDXDraw(nullptr);
        break;
    case TDisplayNotice::Initialized:
        engine_.SetSurface(sender.BackBuffer());
        break;
    // The back buffer is made again when the display's surface size changes; taking it
    // again keeps the engine's bounds in step with the new size.
    case TDisplayNotice::SurfaceReady:
        if (sender.IsInitialized()) {
            engine_.SetSurface(sender.BackBuffer());
        }
        break;
    case TDisplayNotice::Finalizing:
        engine_.SetSurface(nullptr);
        break;
    default:
        break;
    }
}
