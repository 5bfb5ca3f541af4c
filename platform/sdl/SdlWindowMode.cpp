#include "platform/sdl/SdlWindowMode.h"

#include "platform/pixels/Letterbox.h"

#include <algorithm>

namespace platform {

namespace {
// The window's size for the display it is on: the work area leaves room for panels and docks.
SDL_Rect WindowedBounds(int displayIndex) {
    SDL_Rect area{0, 0, SdlWindowMode::kImageWidth, SdlWindowMode::kImageHeight};
    if (SDL_GetDisplayUsableBounds(std::max(displayIndex, 0), &area) != 0 || area.w <= 0 || area.h <= 0) {
        SDL_GetDisplayBounds(std::max(displayIndex, 0), &area);
    }
    const TRect size = WindowForImage(area.w, area.h, SdlWindowMode::kImageWidth, SdlWindowMode::kImageHeight);
    return SDL_Rect{area.x + (area.w - size.Width()) / 2, area.y + (area.h - size.Height()) / 2, size.Width(),
                    size.Height()};
}

SDL_Window* CreateFullScreen(const std::string& title) {
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0 || desktop.w <= 0 || desktop.h <= 0) {
        desktop.w = SdlWindowMode::kImageWidth;
        desktop.h = SdlWindowMode::kImageHeight;
    }
    return SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, desktop.w, desktop.h,
                            SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
}

SDL_Window* CreateWindowed(const std::string& title) {
    const SDL_Rect r = WindowedBounds(0);
    return SDL_CreateWindow(title.c_str(), r.x, r.y, r.w, r.h, SDL_WINDOW_RESIZABLE);
}
} // namespace

SDL_Window* SdlWindowMode::Create(const std::string& title, bool windowed) {
    SDL_Window* window = windowed ? CreateWindowed(title) : CreateFullScreen(title);
    if (window != nullptr) {
        // Below its own size the picture would shrink until its text cannot be read.
        SDL_SetWindowMinimumSize(window, kImageWidth, kImageHeight);
    }
    return window;
}
bool SdlWindowMode::Toggle(SDL_Window* window, bool windowed) {
    if (windowed) {
        // The window covers the display before it asks to be full screen: without a window
        // manager to honour the request, that is what full screen comes to.
        SDL_Rect display{};
        SDL_SetWindowBordered(window, SDL_FALSE);
        if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window), 0), &display) == 0) {
            SDL_SetWindowPosition(window, display.x, display.y);
            SDL_SetWindowSize(window, display.w, display.h);
        }
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
            SDL_SetWindowBordered(window, SDL_TRUE);
            return true;
        }
        return false;
    }
    if (SDL_SetWindowFullscreen(window, 0) != 0) {
        return false;
    }
    const SDL_Rect r = WindowedBounds(SDL_GetWindowDisplayIndex(window));
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowResizable(window, SDL_TRUE);
    SDL_SetWindowSize(window, r.w, r.h);
    SDL_SetWindowPosition(window, r.x, r.y);
    return true;
}

bool SdlWindowMode::IsToggleKey(const SDL_KeyboardEvent& key) {
    if (key.type != SDL_KEYDOWN || key.repeat != 0) {
        return false;
    }
    const SDL_Keycode code = key.keysym.sym;
    if (code == SDLK_F11) {
        return true;
    }
    return (code == SDLK_RETURN || code == SDLK_KP_ENTER) && (key.keysym.mod & KMOD_ALT) != 0;
}

} // namespace platform
