#pragma once

#include "display/DirectX.h"
#include "platform/app/Platform.h"
#include "platform/base/Rect.h"
#include "platform/pixels/DisplayDevice.h"

#include <array>
#include <memory>
#include <vector>

class TDirectDrawSurface;
class TDirectDrawClipper;
class TDirectDrawPalette;

// The display object: the emulated display device, with the lists of the surfaces,
// clippers and palettes made from it. Freeing it lets go of all of them, so that none
// keeps a dangling display.
class TDirectDraw : public TDirectX {
public:
    // Makes the display object; raises EDirectDrawError "DirectDraw cannot be initialized" when refused.
    explicit TDirectDraw(platform::Platform& platform);
    ~TDirectDraw() override;

    platform::DisplayDevice& Device() const { return *device_; }
    const platform::DisplayCaps& DriverCaps() const { return caps_; }

    const std::vector<TDirectDrawSurface*>& Surfaces() const { return surfaces_; }
    const std::vector<TDirectDrawClipper*>& Clippers() const { return clippers_; }
    const std::vector<TDirectDrawPalette*>& Palettes() const { return palettes_; }

    // Registration by the objects themselves.
    void Register(TDirectDrawSurface* s);
    void Unregister(TDirectDrawSurface* s);
    void Register(TDirectDrawClipper* c);
    void Unregister(TDirectDrawClipper* c);
    void Register(TDirectDrawPalette* p);
    void Unregister(TDirectDrawPalette* p);

private:
    std::unique_ptr<platform::DisplayDevice> device_;
    platform::DisplayCaps caps_;
    std::vector<TDirectDrawSurface*> surfaces_;
    std::vector<TDirectDrawClipper*> clippers_;
    std::vector<TDirectDrawPalette*> palettes_;
};

// A clipper: a clip list, or the window of the display control.
class TDirectDrawClipper : public TDirectX {
public:
    explicit TDirectDrawClipper(TDirectDraw& directDraw);
    ~TDirectDrawClipper() override;

    void SetClipRects(const std::vector<TRect>& rects);
    void SetWindowBound();
    const std::shared_ptr<platform::Clipper>& IClipper() const { return clipper_; }
    // The display object went away first.
    void Detach() { directDraw_ = nullptr; }

private:
    TDirectDraw* directDraw_;
    std::shared_ptr<platform::Clipper> clipper_;
};

// A palette of 256 entries; it has an effect only in 8-bit modes, which this display
// shows with its fixed 3-3-2 table, so it only keeps its entries.
class TDirectDrawPalette : public TDirectX {
public:
    using Entries = std::array<uint32_t, 256>;
    TDirectDrawPalette(TDirectDraw& directDraw, const Entries& entries);
    ~TDirectDrawPalette() override;

    void SetEntries(const Entries& entries) { entries_ = entries; }
    const Entries& GetEntries() const { return entries_; }
    void Detach() { directDraw_ = nullptr; }

private:
    TDirectDraw* directDraw_;
    Entries entries_;
};
