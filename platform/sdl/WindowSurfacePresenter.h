#pragma once

#include "platform/pixels/FrameScaler.h"

#include <cstdint>

struct SDL_Renderer;
struct SDL_Window;

namespace platform {

class Surface;

// Shows frames by drawing them, scaled and converted on the processor, straight into the window's
// own memory, which SDL then hands to the window system. This is the way to show frames where the
// only OpenGL is a software rasteriser: scaling through it costs more than doing it here, and
// loading it costs tens of megabytes and a good part of a second.
class WindowSurfacePresenter {
public:
    explicit WindowSurfacePresenter(SDL_Window* window);

    // True when frames should go this way rather than through an SDL renderer: asked for by the
    // environment (VORKALITH_PRESENT=surface; =gpu asks for the renderer), or no GPU device exists.
    static bool Preferred();
    // True when `renderer` draws through OpenGL on a software rasteriser.
    static bool SoftwareRasteriser(SDL_Renderer* renderer);

    // Shows `frame` scaled to fit the window with black bars (by whole steps when asked), or only
    // black when null.
    void Present(const Surface* frame, bool wholeSteps = false);

private:
    SDL_Window* window_;
    FrameScaler scaler_;
    // The window memory as last seen: bars are drawn again whenever it changes.
    const void* lastPixels_ = nullptr;
    int lastW_ = 0;
    int lastH_ = 0;
    TRect lastView_{};
    bool black_ = false;
};

} // namespace platform
