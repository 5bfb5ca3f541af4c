#pragma once

#include "platform/inputmap/GamepadMapper.h"

#include <cstdint>
#include <map>

union SDL_Event;
struct _SDL_GameController;
struct _SDL_Joystick;

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

    // Takes the controller events waiting in SDL's queue and handles them, leaving every other
    // event where it is; for use without a window (tests, tools).
    void HandlePending();

    GamepadMapper Mapper;

private:
    bool started_ = false;
    std::map<int32_t, _SDL_GameController*> open_;
};

// A controller made up in software, which SDL reports like any pad plugged in: for checks of
// the controller path without a device. Plugged in while it lives.
class SdlVirtualPad {
public:
    // Throws Exception when SDL cannot make one.
    SdlVirtualPad();
    ~SdlVirtualPad();
    SdlVirtualPad(const SdlVirtualPad&) = delete;
    SdlVirtualPad& operator=(const SdlVirtualPad&) = delete;

    void SetButton(PadEvent::Control button, bool pressed);
    void SetAxis(PadEvent::Control axis, int value);

private:
    _SDL_Joystick* joystick_ = nullptr;
    int deviceIndex_ = -1;
};

} // namespace platform
