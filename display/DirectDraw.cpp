#include "display/DirectDraw.h"

#include "display/DirectDrawSurface.h"
#include "display/DirectXErrors.h"
#include "platform/pixels/Clipper.h"

#include <algorithm>

namespace {
template <class T> void Erase(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
} // namespace

TDirectDraw::TDirectDraw(platform::Platform& platform) : device_(platform.CreateDisplayDevice()) {
    if (!device_) {
        throw EDirectDrawError(FormatMessage(SCannotInitialized, std::string("DirectDraw")));
    }
    caps_ = device_->GetCaps();
}

TDirectDraw::~TDirectDraw() {
    // Objects that outlive the display object (held by their owners) become empty and inert.
    for (TDirectDrawSurface* s : std::vector<TDirectDrawSurface*>(surfaces_)) {
        s->DetachFromDirectDraw();
    }
    for (TDirectDrawClipper* c : clippers_) {
        c->Detach();
    }
    for (TDirectDrawPalette* p : palettes_) {
        p->Detach();
    }
}

void TDirectDraw::Register(TDirectDrawSurface* s) {
    surfaces_.push_back(s);
}
void TDirectDraw::Unregister(TDirectDrawSurface* s) {
    Erase(surfaces_, s);
}
void TDirectDraw::Register(TDirectDrawClipper* c) {
    clippers_.push_back(c);
}
void TDirectDraw::Unregister(TDirectDrawClipper* c) {
    Erase(clippers_, c);
}
void TDirectDraw::Register(TDirectDrawPalette* p) {
    palettes_.push_back(p);
}
void TDirectDraw::Unregister(TDirectDrawPalette* p) {
    Erase(palettes_, p);
}

TDirectDrawClipper::TDirectDrawClipper(TDirectDraw& directDraw)
    : directDraw_(&directDraw), clipper_(std::make_shared<platform::Clipper>()) {
    directDraw_->Register(this);
}

TDirectDrawClipper::~TDirectDrawClipper() {
    if (directDraw_) {
        directDraw_->Unregister(this);
    }
}

void TDirectDrawClipper::SetClipRects(const std::vector<TRect>& rects) {
    clipper_->SetClipList(rects);
    Check(platform::Result::Ok);
}

void TDirectDrawClipper::SetWindowBound() {
    clipper_->SetWindowBound();
    Check(platform::Result::Ok);
}

TDirectDrawPalette::TDirectDrawPalette(TDirectDraw& directDraw, const Entries& entries)
    : directDraw_(&directDraw), entries_(entries) {
    directDraw_->Register(this);
}

TDirectDrawPalette::~TDirectDrawPalette() {
    if (directDraw_) {
        directDraw_->Unregister(this);
    }
}
