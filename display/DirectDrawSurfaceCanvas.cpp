#include "display/DirectDrawSurfaceCanvas.h"

#include "display/DirectDrawSurface.h"
#include "display/DirectXErrors.h"

int TFont::PixelHeight() const {
    // Size x 96 / 72 rounded to the nearest integer, halves away from zero.
    const int64_t scaled = static_cast<int64_t>(Size) * 96;
    return static_cast<int>(scaled >= 0 ? (scaled + 36) / 72 : (scaled - 36) / 72);
}

TDirectDrawSurfaceCanvas::TDirectDrawSurfaceCanvas(TDirectDrawSurface& surface) : surface_(surface) {}

TDirectDrawSurfaceCanvas::~TDirectDrawSurfaceCanvas() {
    Detach();
}

platform::DeviceContext* TDirectDrawSurfaceCanvas::Attach() {
    if (dc_) {
        return dc_.get();
    }
    platform::Surface* s = surface_.ISurface();
    if (!s) {
        throw EDirectDrawSurfaceError(FormatMessage(SNotMade, std::string("IDirectDrawSurface")));
    }
    // A refused device context leaves the canvas detached; the call draws nothing.
    if (s->GetDC(dc_) != platform::Result::Ok) {
        dc_.reset();
    }
    return dc_.get();
}

void TDirectDrawSurfaceCanvas::Detach() {
    dc_.reset();
}

platform::FontSpec TDirectDrawSurfaceCanvas::Spec() const {
    return platform::FontSpec{Font.Name, Font.PixelHeight(), Font.Bold, Font.Italic, Font.Underline, Font.StrikeOut};
}

void TDirectDrawSurfaceCanvas::WriteText(int x, int y, const std::string& text) {
    platform::DeviceContext* dc = Attach();
    if (!dc) {
        return;
    }
    platform::Rgb background = ColorToRGB(Brush.Color);
    dc->TextOut(x, y, text, Spec(), ColorToRGB(Font.Color),
                Brush.Style == TBrushStyle::bsClear ? nullptr : &background);
}

int TDirectDrawSurfaceCanvas::TextWidth(const std::string& text) {
    platform::DeviceContext* dc = Attach();
    return dc ? dc->TextExtent(text, Spec()).Width : 0;
}
