#pragma once

#include "display/DXDrawNotice.h"
#include "platform/app/Component.h"
#include "sprite/SpriteEngine.h"

class TCustomDXDraw;

// The form's sprite-engine component: owns the root engine of the scene and follows a
// display, drawing on its back buffer while the display is initialised.
class TCustomDXSpriteEngine : public TComponent, private TDXDrawListener {
public:
    explicit TCustomDXSpriteEngine(TComponent* owner);
    // Leaves the display first, then destroys the engine and every sprite.
    ~TCustomDXSpriteEngine() override;

    TCustomDXDraw* DXDraw() const { return dxDraw_; }
    // Leaves the old display's listeners and joins the new one's.
    void SetDXDraw(TCustomDXDraw* dxDraw);
    TSpriteEngine& Engine() { return engine_; }
    const TSpriteEngine& Engine() const { return engine_; }

    // The frame's draw pass; does nothing unless the display is set and initialised.
    void Draw();

    void Notification(TComponent* component, TOperation operation) override;

private:
    void DXDrawNotify(TCustomDXDraw& sender, TDisplayNotice notice) override;

    TCustomDXDraw* dxDraw_ = nullptr;
    TSpriteEngine engine_;
};

class TDXSpriteEngine : public TCustomDXSpriteEngine {
public:
    using TCustomDXSpriteEngine::TCustomDXSpriteEngine;
};
