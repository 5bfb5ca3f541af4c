#pragma once

#include "platform/base/Rect.h"
#include "sprite/Sprite.h"

#include <cstdint>

class TDirectDrawSurface;

// The root of a scene: counts its sprites and draws the whole tree onto one surface.
class TSpriteEngine : public TSprite {
public:
    TSpriteEngine();
    // Destroys every sprite, the last joined first, while the engine is still whole.
    ~TSpriteEngine() override;

    // Sprites below this engine that joined and are not yet destroyed.
    int32_t SpriteCount() const { return spriteCount_; }
    // Sprites whose Render ran during the latest Draw.
    int32_t DrawnCount() const { return drawnCount_; }
    TDirectDrawSurface* Surface() const { return surface_; }
    // (0, 0, width, height) of the surface last set; kept when the surface is unset.
    const TRect& SurfaceBounds() const { return surfaceBounds_; }

    // Draws on `surface` from now on (null: none); a surface also sets the engine's size.
    void SetSurface(TDirectDrawSurface* surface);
    // One draw pass over the whole tree.
    void Draw();

    // True while Draw walks the tree, when sprites must be neither added nor destroyed.
    bool Drawing() const { return drawing_; }

private:
    friend class TSprite;

    int32_t spriteCount_ = 0;
    int32_t drawnCount_ = 0;
    TDirectDrawSurface* surface_ = nullptr;
    TRect surfaceBounds_{};
    bool drawing_ = false;
};
