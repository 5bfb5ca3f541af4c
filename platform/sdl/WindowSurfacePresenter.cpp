#include "platform/sdl/WindowSurfacePresenter.h"

#include "platform/pixels/Letterbox.h"
#include "platform/pixels/Surface.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace platform {

namespace {

OutputFormat OutputOf(const SDL_PixelFormat& f) {
    return OutputFormat{f.BytesPerPixel, f.Rshift, f.Gshift, f.Bshift, f.Rloss, f.Gloss, f.Bloss};
}

// Any DRM device node: without one, every OpenGL on the machine is a software rasteriser.
bool HasGpuDevice() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

WindowSurfacePresenter::WindowSurfacePresenter(SDL_Window* window) : window_(window) {
    // Without this SDL backs the window surface with a texture of its own renderer, which is the
    // very OpenGL this presenter avoids.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

bool WindowSurfacePresenter::Preferred() {
    if (const char* choice = std::getenv("VORKALITH_PRESENT")) {
        if (std::strcmp(choice, "surface") == 0) {
            return true;
        }
        if (std::strcmp(choice, "gpu") == 0) {
            return false;
        }
    }
    if (const char* software = std::getenv("LIBGL_ALWAYS_SOFTWARE");
        software != nullptr && *software != '\0' && std::strcmp(software, "0") != 0) {
        return true;
    }
    return !HasGpuDevice();
}

bool WindowSurfacePresenter::SoftwareRasteriser(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (renderer == nullptr || SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr ||
        std::strncmp(info.name, "opengl", 6) != 0) {
        return false;
    }
    using GetString = const unsigned char* (*)(unsigned int);
    constexpr unsigned int kGlRenderer = 0x1F01;
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString != nullptr ? getString(kGlRenderer) : nullptr;
    if (name == nullptr) {
        return false;
    }
    const std::string text(reinterpret_cast<const char*>(name));
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"}) {
        if (text.find(software) != std::string::npos) {
            return true;
        }
    }
    return false;
}

void WindowSurfacePresenter::Present(const Surface* frame, bool wholeSteps) {
    SDL_Surface* out = SDL_GetWindowSurface(window_);
    if (out == nullptr || out->format == nullptr) {
        return;
    }
    if (SDL_MUSTLOCK(out) && SDL_LockSurface(out) != 0) {
        return;
    }
    const bool fresh = out->pixels != lastPixels_ || out->w != lastW_ || out->h != lastH_;
    TRect view{};
    bool drawn = false;
    if (frame != nullptr) {
        view = wholeSteps ? FitImageWhole(out->w, out->h, frame->Width(), frame->Height())
                          : FitImage(out->w, out->h, frame->Width(), frame->Height());
        drawn = scaler_.Prepare(frame->Format(), frame->Width(), frame->Height(), OutputOf(*out->format), view);
    }
    // The bars (or the whole window) are black; they are drawn only when the window memory or the
    // view changed, or after a black screen.
    if (fresh || !drawn || black_ || !(view == lastView_)) {
        SDL_FillRect(out, nullptr, SDL_MapRGB(out->format, 0, 0, 0));
    }
    if (drawn) {
        scaler_.Scale(frame->Bits(), frame->Pitch(), static_cast<uint8_t*>(out->pixels), out->pitch);
    }
    if (SDL_MUSTLOCK(out)) {
        SDL_UnlockSurface(out);
    }
    // Only the view changes from frame to frame; everything goes out when the bars were drawn again.
    if (drawn && !fresh && !black_ && view == lastView_) {
        const SDL_Rect r{view.Left, view.Top, view.Width(), view.Height()};
        SDL_UpdateWindowSurfaceRects(window_, &r, 1);
    } else {
        SDL_UpdateWindowSurface(window_);
    }
    lastPixels_ = out->pixels;
    lastW_ = out->w;
    lastH_ = out->h;
    lastView_ = view;
    black_ = !drawn;
}

} // namespace platform
