#pragma once

#include <cstdint>

class TCustomDXDraw;

// What the display control tells the components that follow it.
enum class TDisplayNotice : uint8_t {
    Destroying = 0,
    Initializing = 1,
    Initialized = 2,
    SurfaceReady = 3,
    Finalizing = 4,
    SurfaceFinalizing = 5,
    Restored = 6,
    SizeChanged = 7,
};

// A component that follows a display control.
class TDXDrawListener {
public:
    virtual void DXDrawNotify(TCustomDXDraw& sender, TDisplayNotice notice) = 0;

protected:
    ~TDXDrawListener() = default;
};
