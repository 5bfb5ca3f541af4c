#include "display/DirectDrawSurface.h"

#include "display/DXRender.h"
#include "display/DirectDraw.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "display/DirectXErrors.h"
#include "platform/pixels/Clipper.h"
#include "platform/pixels/DeviceContext.h"

#include <cstdlib>
#include <cstring>

using platform::Result;

TDirectDrawSurface::TDirectDrawSurface(TDirectDraw* directDraw) : directDraw_(directDraw) {
    if (directDraw_) {
        directDraw_->Register(this);
    }
}

TDirectDrawSurface::~TDirectDrawSurface() {
    ReleaseSurface();
    canvas_.reset();
    scaleClipper_.reset();
    if (directDraw_) {
        directDraw_->Unregister(this);
    }
}

bool TDirectDrawSurface::CreateSurface(const platform::SurfaceDesc& desc) {
    ReleaseSurface();
    if (!directDraw_) {
        return Check(Result::Generic);
    }
    return Check(directDraw_->Device().CreateSurface(desc, surface_));
}

void TDirectDrawSurface::ReleaseSurface() {
    if (canvas_) {
        canvas_->Detach();
    }
    if (surface_ && lockCount_ > 0) {
        surface_->Unlock();
    }
    lockCount_ = 0;
    surface_.reset();
}

void TDirectDrawSurface::DetachFromDirectDraw() {
    ReleaseSurface();
    scaleClipper_.reset();
    HasClipper = false;
    if (directDraw_) {
        directDraw_->Unregister(this);
        directDraw_ = nullptr;
    }
}

void TDirectDrawSurface::Allocate(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) {
        ReleaseSurface();
        return;
    }
    platform::SurfaceDesc desc{width, height, false, InSystemMemory};
    if (CreateSurface(desc)) {
        return;
    }
    if (!desc.SystemMemory) {
        desc.SystemMemory = true;
        if (CreateSurface(desc)) {
            InSystemMemory = true;
            return;
        }
    }
    throw EDirectDrawSurfaceError(FormatMessage(SCannotMade, std::string("Surface")));
}

void TDirectDrawSurface::LoadPicture(const TGraphic& picture, int32_t width, int32_t height, const TRect& s) {
    Allocate(width == 0 ? s.Width() : width, height == 0 ? s.Height() : height);
    if (!surface_) {
        return;
    }
    // A picture of either kind ends as a copy of rectangle s through the drawing layer,
    // scaled when the sizes differ.
    std::unique_ptr<platform::DeviceContext> dc;
    if (Check(surface_->GetDC(dc))) {
        dc->StretchBlt(FullRect(), picture.Image(), s);
    }
}

bool TDirectDrawSurface::FillWith(uint32_t raw) {
    if (!surface_) {
        return false;
    }
    return Check(surface_->Fill(nullptr, raw));
}

uint32_t TDirectDrawSurface::MatchColor(TColor color) {
    if (!surface_) {
        return 0;
    }
    if (canvas_) {
        canvas_->Detach();
    }
    const uint32_t remembered = Pixel(0, 0);
    {
        std::unique_ptr<platform::DeviceContext> dc;
        if (Check(surface_->GetDC(dc))) {
            dc->SetPixel(0, 0, ColorToRGB(color));
        }
    }
    const uint32_t result = Pixel(0, 0);
    SetPixel(0, 0, remembered);
    return result;
}

void TDirectDrawSurface::SetKeyColor(uint32_t raw) {
    keyColor_ = raw;
    if (surface_) {
        surface_->SetColorKey(raw);
        Check(Result::Ok);
    }
}

bool TDirectDrawSurface::LockBits(const TRect* r, platform::LockedView& view) {
    if (!surface_ || lockCount_ > 0) {
        return false;
    }
    const TRect full = FullRect();
    const TRect* area = (r == nullptr || *r == full) ? nullptr : r;
    if (!Check(surface_->Lock(area, view))) {
        return false;
    }
    lockCount_ = 1;
    return true;
}

void TDirectDrawSurface::UnlockBits() {
    if (lockCount_ > 0 && --lockCount_ == 0 && surface_) {
        surface_->Unlock();
    }
}

uint32_t TDirectDrawSurface::Pixel(int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return 0;
    }
    platform::LockedView view;
    if (!LockBits(nullptr, view)) {
        return 0;
    }
    const int bpp = view.Format.BytesPerPixel();
    const uint8_t* p = view.Bits + static_cast<std::ptrdiff_t>(y) * view.Pitch + x * bpp;
    uint32_t value = 0;
    for (int i = 0; i < bpp; ++i) {
        value |= static_cast<uint32_t>(p[i]) << (8 * i);
    }
    UnlockBits();
    return value;
}

void TDirectDrawSurface::SetPixel(int32_t x, int32_t y, uint32_t value) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return;
    }
    platform::LockedView view;
    if (!LockBits(nullptr, view)) {
        return;
    }
    const int bpp = view.Format.BytesPerPixel();
    uint8_t* p = view.Bits + static_cast<std::ptrdiff_t>(y) * view.Pitch + x * bpp;
    for (int i = 0; i < bpp; ++i) {
        p[i] = static_cast<uint8_t>(value >> (8 * i));
    }
    UnlockBits();
}

TDirectDrawSurfaceCanvas& TDirectDrawSurface::TextCanvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TDirectDrawSurfaceCanvas>(*this);
    }
    return *canvas_;
}

namespace {

// A rectangle in 64 bits, so that clipping far-off or reversed rectangles cannot overflow.
struct Rect64 {
    int64_t Left, Top, Right, Bottom;
    bool IsEmpty() const { return Left >= Right || Top >= Bottom; }
};

// Clips a 1:1 copy of s to (x, y): first the destination's left and top, then the source's,
// then the destination's right and bottom, then the source's. For a mirrored copy the source
// edge that lands on a clipped destination edge is the opposite one.
bool ClipCopy(Rect64& d, Rect64& s, const TRect& destFull, const TRect& sourceFull, bool mirrorX, bool mirrorY) {
    auto cutDestLeft = [&](int64_t n) {
        d.Left += n;
        (mirrorX ? s.Right -= n : s.Left += n);
    };
    auto cutDestRight = [&](int64_t n) {
        d.Right -= n;
        (mirrorX ? s.Left += n : s.Right -= n);
    };
    auto cutDestTop = [&](int64_t n) {
        d.Top += n;
        (mirrorY ? s.Bottom -= n : s.Top += n);
    };
    auto cutDestBottom = [&](int64_t n) {
        d.Bottom -= n;
        (mirrorY ? s.Top += n : s.Bottom -= n);
    };
    if (d.Left < destFull.Left) {
        cutDestLeft(destFull.Left - d.Left);
    }
    if (d.Top < destFull.Top) {
        cutDestTop(destFull.Top - d.Top);
    }
    if (s.Left < sourceFull.Left) {
        int64_t n = sourceFull.Left - s.Left;
        s.Left += n;
        (mirrorX ? d.Right -= n : d.Left += n);
    }
    if (s.Top < sourceFull.Top) {
        int64_t n = sourceFull.Top - s.Top;
        s.Top += n;
        (mirrorY ? d.Bottom -= n : d.Top += n);
    }
    if (d.Right > destFull.Right) {
        cutDestRight(d.Right - destFull.Right);
    }
    if (d.Bottom > destFull.Bottom) {
        cutDestBottom(d.Bottom - destFull.Bottom);
    }
    if (s.Right > sourceFull.Right) {
        int64_t n = s.Right - sourceFull.Right;
        s.Right -= n;
        (mirrorX ? d.Left += n : d.Right -= n);
    }
    if (s.Bottom > sourceFull.Bottom) {
        int64_t n = s.Bottom - sourceFull.Bottom;
        s.Bottom -= n;
        (mirrorY ? d.Top += n : d.Bottom -= n);
    }
    return !d.IsEmpty() && !s.IsEmpty();
}

TRect Narrow(const Rect64& r) {
    return TRect{static_cast<int32_t>(r.Left), static_cast<int32_t>(r.Top), static_cast<int32_t>(r.Right),
                 static_cast<int32_t>(r.Bottom)};
}

} // namespace

void TDirectDrawSurface::Draw(int32_t x, int32_t y, const TRect& sourceRect, TDirectDrawSurface* source,
                              bool transparent) {
    if (!source || x > Width() || y > Height() || !surface_ || !source->surface_) {
        return;
    }
    Rect64 s{sourceRect.Left, sourceRect.Top, sourceRect.Right, sourceRect.Bottom};
    const bool mirrorX = s.Right < s.Left;
    const bool mirrorY = s.Bottom < s.Top;
    if (mirrorX || mirrorY) {
        if (!(std::abs(s.Right - s.Left) + x > 0 && std::abs(s.Bottom - s.Top) + y > 0)) {
            return;
        }
        s = Rect64{std::min(s.Left, s.Right), std::min(s.Top, s.Bottom), std::max(s.Left, s.Right),
                   std::max(s.Top, s.Bottom)};
    }
    Rect64 d{x, y, x + (s.Right - s.Left), y + (s.Bottom - s.Top)};
    if (!ClipCopy(d, s, FullRect(), source->FullRect(), mirrorX, mirrorY)) {
        return;
    }
    // Clipped to both surfaces, the rectangles now fit in 32 bits.
    const TRect dr = Narrow(d), sr = Narrow(s);
    platform::Surface& src = *source->surface_;
    if (mirrorX || mirrorY || HasClipper) {
        Check(surface_->Blt(&dr, src, &sr, platform::BltFx{transparent, mirrorX, mirrorY}));
        return;
    }
    Result r = surface_->BltFast(dr.Left, dr.Top, src, sr, transparent);
    if (r == Result::BltFastCantClip) {
        r = surface_->Blt(&dr, src, &sr, platform::BltFx{transparent, false, false});
        HasClipper = surface_->GetClipper() != nullptr;
    }
    Check(r);
}

void TDirectDrawSurface::DrawScaled(const TRect& d, const TRect& s, TDirectDrawSurface* source, bool transparent) {
    if (!source || d.IsEmpty() || s.IsEmpty() || !surface_ || !source->surface_) {
        return;
    }
    const platform::BltFx fx{transparent, false, false};
    if (HasClipper) {
        Check(surface_->Blt(&d, *source->surface_, &s, fx));
        return;
    }
    if (!scaleClipper_ && directDraw_) {
        scaleClipper_ = std::make_unique<TDirectDrawClipper>(*directDraw_);
    }
    if (!scaleClipper_) {
        return;
    }
    scaleClipper_->SetClipRects({FullRect()});
    surface_->SetClipper(scaleClipper_->IClipper());
    Check(surface_->Blt(&d, *source->surface_, &s, fx));
    surface_->SetClipper(nullptr);
}

void TDirectDrawSurface::DrawBlended(const TRect& d, const TRect& s, TDirectDrawSurface* source, bool transparent,
                                     int32_t alpha) {
    if (!source) {
        return;
    }
    dxrender::DrawBlended(surface_.get(), d, source->surface_.get(), s, transparent, alpha);
}

void TDirectDrawSurface::DrawTurned(int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s,
                                    TDirectDrawSurface* source, double cx, double cy, bool transparent, int32_t angle) {
    if (!source) {
        return;
    }
    dxrender::DrawTurned(surface_.get(), x, y, w, h, s, source->surface_.get(), cx, cy, transparent, angle);
}

void TDirectDrawSurface::DrawTurnedBlended(int32_t x, int32_t y, int32_t w, int32_t h, const TRect& s,
                                           TDirectDrawSurface* source, double cx, double cy, bool transparent,
                                           int32_t angle, int32_t alpha) {
    if (!source) {
        return;
    }
    dxrender::DrawTurnedBlended(surface_.get(), x, y, w, h, s, source->surface_.get(), cx, cy, transparent, angle,
                                alpha);
}

bool TDirectDrawSurface::IsLost() {
    if (!surface_) {
        return false;
    }
    return !Check(surface_->IsLost());
}

bool TDirectDrawSurface::Restore() {
    if (!surface_) {
        return false;
    }
    return Check(surface_->Restore());
}

void TDirectDrawSurface::SetClipper(TDirectDrawClipper* clipper) {
    HasClipper = clipper != nullptr;
    if (surface_) {
        surface_->SetClipper(clipper ? clipper->IClipper() : nullptr);
    }
}
