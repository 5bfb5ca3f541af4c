#pragma once

#include "display/DXDraw.h"

#include <memory>

class TDirectDraw;
class TDirectDrawSurface;
class TDirectDrawClipper;
class TDirectDrawPalette;

// How the display control presents its back buffer. The driver owns the display object
// and, while it lives, the screen surface, the back buffer, the clipper and the palette.
class TDXDrawDriver {
public:
    // Makes the display object; raises EDirectDrawError when the display cannot be had.
    explicit TDXDrawDriver(TCustomDXDraw& dxDraw);
    virtual ~TDXDrawDriver();

    TDirectDraw& DDraw() const { return *directDraw_; }
    TDirectDrawSurface* PrimarySurface() const { return primary_.get(); }
    TDirectDrawSurface* BackBuffer() const { return backBuffer_.get(); }
    TDirectDrawClipper* Clipper() const { return clipper_.get(); }
    TDirectDrawPalette* Palette() const { return palette_.get(); }

    // Makes the screen surface, the back buffer, the clipper and the palette.
    virtual void MakeSurfaces();
    // Makes the back buffer again at the control's surface size.
    void MakeBackBuffer();
    // Copies the back buffer to the screen with the given options in force.
    virtual void Present(TDXDrawOptions options);

protected:
    TCustomDXDraw& dxDraw_;
    std::unique_ptr<TDirectDraw> directDraw_;
    std::unique_ptr<TDirectDrawSurface> primary_;
    std::unique_ptr<TDirectDrawSurface> backBuffer_;
    std::unique_ptr<TDirectDrawClipper> clipper_;
    std::unique_ptr<TDirectDrawPalette> palette_;
};

// Presents by copying the back buffer to the screen.
class TDXDrawDriverBlt : public TDXDrawDriver {
public:
    using TDXDrawDriver::TDXDrawDriver;
};

// Page flipping; the emulated display has a single screen page, so it presents by copying too.
class TDXDrawDriverFlip : public TDXDrawDriverBlt {
public:
    using TDXDrawDriverBlt::TDXDrawDriverBlt;
};
