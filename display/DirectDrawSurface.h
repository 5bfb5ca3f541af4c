#pragma once

#include "display/DirectX.h"
#include "display/Graphics.h"
#include "platform/base/Rect.h"
#include "platform/pixels/Surface.h"

#include <cstdint>
#include <memory>

class TDirectDraw;
class TDirectDrawClipper;
class TDirectDrawSurfaceCanvas;

// A drawing surface in the display's pixel format. Every operation on a surface whose
// platform surface does not exist (before Allocate, after a failed one, or after its
// display went away) does nothing and reports false or 0.
class TDirectDrawSurface : public TDirectX {
public:
    explicit TDirectDrawSurface(TDirectDraw* directDraw);
    ~TDirectDrawSurface() override;

    TDirectDraw* DDraw() const { return directDraw_; }
    platform::Surface* ISurface() const { return surface_.get(); }
    // Makes the platform surface from a description; false (and LastResult) on failure.
    bool CreateSurface(const platform::SurfaceDesc& desc);
    // Lets go of the platform surface.
    void ReleaseSurface();
    // The display object is going away: drop everything that belongs to it.
    void DetachFromDirectDraw();

    int32_t Width() const { return surface_ ? surface_->Width() : 0; }
    int32_t Height() const { return surface_ ? surface_->Height() : 0; }
    int BitCount() const { return surface_ ? surface_->Format().BitCount : 0; }
    TRect FullRect() const { return TRect{0, 0, Width(), Height()}; }

    bool HasClipper = false;
    bool InSystemMemory = false;

    // Makes a w by h off-screen surface, in video memory when possible; w or h <= 0 leaves it empty.
    // Raises EDirectDrawSurfaceError "Surface cannot be made" when not even system memory serves.
    void Allocate(int32_t width, int32_t height);
    // Allocates (w or h of 0: the size of s) and copies rectangle s of the picture into the whole surface.
    void LoadPicture(const TGraphic& picture, int32_t width, int32_t height, const TRect& s);

    bool FillWith(uint32_t raw);
    // The surface's raw pixel value for a colour, as the display converts it.
    uint32_t MatchColor(TColor color);
    uint32_t KeyColor() const { return keyColor_; }
    void SetKeyColor(uint32_t raw);

    uint32_t Pixel(int32_t x, int32_t y);
    void SetPixel(int32_t x, int32_t y, uint32_t value);
    // Locks r (or the whole surface) for direct access; fails when already locked.
    bool LockBits(const TRect* r, platform::LockedView& view);
    void UnlockBits();
    int32_t LockCount() const { return lockCount_; }

    // Made on first use and kept until the surface is freed.
    TDirectDrawSurfaceCanvas& TextCanvas();

    // 1:1 copy of rectangle s of source to (x, y), clipped to both surfaces; a reversed s mirrors.
    void Draw(int32_t x, int32_t y, const TRect& s, TDirectDrawSurface* source, bool transparent);
    // Copy of s scaled to d, clipped to this surface.
    void DrawScaled(const TRect& d, const TRect& s, TDirectDrawSurface* source, bool transparent);
    // Processor-drawn copies: with opacity, turned about a point, or both.
    void DrawBlended(const TRect& d, const TRect& s, TDirectDrawSurface* source, bool transparent, int32_t alpha);
    void DrawTurned(int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s, TDirectDrawSurface* source, double cx,
                    double cy, bool transparent, int32_t angle);
    void DrawTurnedBlended(int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s, TDirectDrawSurface* source,
                           double cx, double cy, bool transparent, int32_t angle, int32_t alpha);

    // Lost-surface handling of the display control.
    bool IsLost();
    bool Restore();
    // Attaches a clipper (or none); sets HasClipper.
    void SetClipper(TDirectDrawClipper* clipper);

private:
    TDirectDraw* directDraw_;
    std::unique_ptr<platform::Surface> surface_;
    uint32_t keyColor_ = 0;
    int32_t lockCount_ = 0;
    std::unique_ptr<TDirectDrawSurfaceCanvas> canvas_;
    // The clipper made once for scaled copies onto a surface without one.
    std::unique_ptr<TDirectDrawClipper> scaleClipper_;
};
