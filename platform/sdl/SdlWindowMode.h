#pragma once

#include <SDL.h>

#include <string>

namespace platform {

// The program's window in its two modes: full screen over the desktop (borderless), or a
// resizable framed window of the largest whole multiple of 640x480 that fits the work area.
class SdlWindowMode {
public:
    static constexpr int kImageWidth = 640;
    static constexpr int kImageHeight = 480;

    // Makes the window in the given mode; null (with SDL's error set) when it cannot be made. In
    // either mode the window cannot be made smaller than 640x480, the picture's own size.
    static SDL_Window* Create(const std::string& title, bool windowed);

    // Switches a window made by Create to the other mode; the window, its renderer and its
    // textures stay as they are. Returns the mode now in effect (true: windowed).
    static bool Toggle(SDL_Window* window, bool windowed);

    // Alt+Enter (either Enter) or F11, pressed, not repeated.
    static bool IsToggleKey(const SDL_KeyboardEvent& key);
};

} // namespace platform
