#pragma once

#include "platform/base/Rect.h"
#include "sprite/Sprite.h"

#include <cstdint>

class TPictureCollectionItem;

// A sprite showing one pattern of a picture item at the pattern's own size, centred in the
// sprite's rectangle; the pattern index can run as an animation.
class TImageSprite : public TSprite {
public:
    explicit TImageSprite(const TSpriteJoin& join);

    int32_t PatternSpan = 0;                 // patterns the animation runs over
    bool PatternLoop = false;                // repeat instead of stopping on the last pattern
    double PatternPos = 0.0;                 // position in the animation, in patterns
    double PatternSpeed = 0.0;               // patterns per unit of move count
    int32_t PatternBase = 0;                 // first pattern of the animation
    TPictureCollectionItem* Image = nullptr; // followed, not owned
    bool PixelHit = false;                   // HitTest against another image sprite compares pixels
    bool Wrap = false;                       // the rectangle wraps around the surface

    // PatternBase + trunc(PatternPos).
    int32_t DrawIndex() const;
    // GetBounds moved so that the pattern is centred in the sprite's rectangle.
    TRect DrawRect() const;

    // Keyed copy of the pattern at DrawRect; nothing without Image or surface.
    void Render() override;
    void Advance(int32_t moveCount) override;
    // Position and size; with Wrap, brought into one period of surface size plus sprite size.
    TRect GetBounds() const override;
    // With PixelHit against another image sprite: their opaque pixels meet; otherwise true.
    bool HitTest(const TSprite& other) const override;
};

// An image sprite drawn scaled into its rectangle, turned by Angle about its middle and
// blended with Alpha.
class TImageSpriteEx : public TImageSprite {
public:
    explicit TImageSpriteEx(const TSpriteJoin& join);

    int32_t Angle = 0;   // 1/256 of a turn, clockwise; only the low 8 bits decide whether to turn
    int32_t Alpha = 255; // opacity, 255 and above opaque

    void Render() override;
    // The engine's whole surface: clipping is left to the drawing calls.
    TRect GetBounds() const override;
    // The rectangles overlap; for another TImageSpriteEx its unwrapped rectangle is used.
    bool HitTest(const TSprite& other) const override;

private:
    // Truncated absolute position with the sprite's size.
    TRect PlacedRect() const;
};
