#pragma once

#include "platform/GamepadMapper.h"

#include <SDL.h>

#include <map>

namespace platform {

// The game controllers SDL knows, opened as they are plugged in and closed as they go, with
// their events passed to a GamepadMapper. Without SDL's controller subsystem it does nothing.
class SdlGamepads {
public:
    SdlGamepads();
    ~SdlGamepads();
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // True when `e` was a controller event (handled here).
    bool Handle(const SDL_Event& e);

    GamepadMapper Mapper;

private:
    bool started_ = false;
    std::map<SDL_JoystickID, SDL_GameController*> open_;
};

} // namespace platform
