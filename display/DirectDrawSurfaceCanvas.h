#pragma once

#include "display/Graphics.h"
#include "platform/pixels/DeviceContext.h"

#include <memory>
#include <string>

class TDirectDrawSurface;

enum class TBrushStyle { bsSolid, bsClear };

struct TBrush {
    TBrushStyle Style = TBrushStyle::bsSolid;
    TColor Color = clWhite;
};

struct TFont {
    std::string Name = "System";
    int Size = 8; // points
    TColor Color = clBlack;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    // Character height in pixels at the screen's 96 dots per inch: Size x 96 / 72, rounded.
    int PixelHeight() const;
};

// The text canvas of one surface. It attaches to the surface (takes its device context) on
// the first drawing call and keeps it until Detach; while attached the surface cannot be copied.
class TDirectDrawSurfaceCanvas {
public:
    explicit TDirectDrawSurfaceCanvas(TDirectDrawSurface& surface);
    ~TDirectDrawSurfaceCanvas();

    TBrush Brush;
    TFont Font;

    // Draws text with the top-left corner of its first character cell at (x, y).
    void WriteText(int x, int y, const std::string& text);
    int TextWidth(const std::string& text);
    void Detach();
    bool Attached() const { return dc_ != nullptr; }

private:
    // Raises EDirectDrawSurfaceError "IDirectDrawSurface not made" when the surface has no platform surface.
    platform::DeviceContext* Attach();
    platform::FontSpec Spec() const;

    TDirectDrawSurface& surface_;
    std::unique_ptr<platform::DeviceContext> dc_;
};
