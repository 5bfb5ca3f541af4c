#include "platform/sdl/SdlVideoStart.h"

#include "platform/base/Exception.h"

#include <SDL.h>

#include <cstdlib>
#include <vector>

namespace platform {

std::string MissingDisplayCause(const char* display, const char* waylandDisplay) {
    const bool x11 = display != nullptr && *display != '\0';
    const bool wayland = waylandDisplay != nullptr && *waylandDisplay != '\0';
    if (x11 || wayland) {
        return {};
    }
    return "neither DISPLAY nor WAYLAND_DISPLAY is set";
}

void StartSdlVideo() {
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (chosen != nullptr && *chosen != '\0') {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            throw Exception(std::string("cannot open the display: ") + SDL_GetError());
        }
        return;
    }
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (const std::string cause = MissingDisplayCause(display, wayland); !cause.empty()) {
        throw Exception("cannot open the display: " + cause);
    }
    std::vector<std::pair<const char*, std::string>> tries;
    if (display != nullptr && *display != '\0') {
        tries.emplace_back("x11", std::string("the X display \"") + display + "\" cannot be reached");
    }
    if (wayland != nullptr && *wayland != '\0') {
        tries.emplace_back("wayland", std::string("the Wayland display \"") + wayland + "\" cannot be reached");
    }
    std::string cause;
    for (const auto& [driver, failure] : tries) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            return;
        }
        cause += (cause.empty() ? "" : "; ") + failure;
    }
    throw Exception("cannot open the display: " + cause);
}

} // namespace platform
