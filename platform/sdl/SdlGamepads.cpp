#include "platform/sdl/SdlGamepads.h"

#include "platform/base/Exception.h"

#include <SDL.h>

#include <algorithm>
#include <string>

namespace platform {

namespace {
PadEvent::Control ButtonOf(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        return PadEvent::ButtonA;
    case SDL_CONTROLLER_BUTTON_B:
        return PadEvent::ButtonB;
    case SDL_CONTROLLER_BUTTON_BACK:
        return PadEvent::ButtonBack;
    case SDL_CONTROLLER_BUTTON_START:
        return PadEvent::ButtonStart;
    case SDL_CONTROLLER_BUTTON_Y:
        return PadEvent::ButtonY;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return PadEvent::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return PadEvent::DpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return PadEvent::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return PadEvent::DpadRight;
    default:
        return PadEvent::OtherControl;
    }
}

// SDL's numbers of the buttons and axes the mapping knows, indexed by PadEvent::Control.
constexpr int kSdlControl[PadEvent::OtherControl] = {
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,     SDL_CONTROLLER_BUTTON_Y,         SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
    SDL_CONTROLLER_AXIS_LEFTX,       SDL_CONTROLLER_AXIS_LEFTY,       SDL_CONTROLLER_AXIS_RIGHTX,
    SDL_CONTROLLER_AXIS_RIGHTY,
};

PadEvent::Control AxisOf(Uint8 axis) {
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        return PadEvent::LeftX;
    case SDL_CONTROLLER_AXIS_LEFTY:
        return PadEvent::LeftY;
    case SDL_CONTROLLER_AXIS_RIGHTX:
        return PadEvent::RightX;
    case SDL_CONTROLLER_AXIS_RIGHTY:
        return PadEvent::RightY;
    default:
        return PadEvent::OtherControl;
    }
}
} // namespace

SdlGamepads::SdlGamepads() {
    // Controllers already plugged in arrive as "added" events once the subsystem starts.
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

SdlGamepads::~SdlGamepads() {
    for (auto& [id, controller] : open_) {
        SDL_GameControllerClose(controller);
    }
    if (started_) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
}

bool SdlGamepads::Handle(const SDL_Event& e) {
    PadEvent out;
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: {
        // The event carries a device index; the controller's events carry its instance id.
        SDL_GameController* controller = SDL_GameControllerOpen(e.cdevice.which);
        if (controller == nullptr) {
            return true;
        }
        const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
        if (!open_.emplace(id, controller).second) {
            SDL_GameControllerClose(controller);
            return true;
        }
        out.Kind = PadEvent::Type::Added;
        out.Pad = id;
        break;
    }
    case SDL_CONTROLLERDEVICEREMOVED:
        if (auto it = open_.find(e.cdevice.which); it != open_.end()) {
            SDL_GameControllerClose(it->second);
            open_.erase(it);
        }
        out.Kind = PadEvent::Type::Removed;
        out.Pad = e.cdevice.which;
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        out.Kind = PadEvent::Type::Button;
        out.Pad = e.cbutton.which;
        out.Which = ButtonOf(e.cbutton.button);
        out.Pressed = e.type == SDL_CONTROLLERBUTTONDOWN;
        break;
    case SDL_CONTROLLERAXISMOTION:
        out.Kind = PadEvent::Type::Axis;
        out.Pad = e.caxis.which;
        out.Which = AxisOf(e.caxis.axis);
        out.Value = e.caxis.value;
        break;
    default:
        return false;
    }
    Mapper.Handle(out);
    return true;
}

void SdlGamepads::HandlePending() {
    SDL_PumpEvents();
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERDEVICEREMAPPED) > 0) {
        Handle(e);
    }
}

SdlVirtualPad::SdlVirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Vorkalith virtual pad";
    deviceIndex_ = SDL_JoystickAttachVirtualEx(&desc);
    if (deviceIndex_ < 0) {
        throw Exception(std::string("no virtual pad: ") + SDL_GetError());
    }
    joystick_ = SDL_JoystickOpen(deviceIndex_);
    if (joystick_ == nullptr) {
        SDL_JoystickDetachVirtual(deviceIndex_);
        throw Exception(std::string("no virtual pad: ") + SDL_GetError());
    }
}

SdlVirtualPad::~SdlVirtualPad() {
    // The device index of a virtual pad may move as other pads come and go; its instance does not.
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    SDL_JoystickClose(joystick_);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
    }
}

void SdlVirtualPad::SetButton(PadEvent::Control button, bool pressed) {
    if (button >= PadEvent::ButtonA && button <= PadEvent::DpadRight) {
        SDL_JoystickSetVirtualButton(joystick_, kSdlControl[button], pressed ? SDL_PRESSED : SDL_RELEASED);
    }
}

void SdlVirtualPad::SetAxis(PadEvent::Control axis, int value) {
    if (axis >= PadEvent::LeftX && axis <= PadEvent::RightY) {
        SDL_JoystickSetVirtualAxis(joystick_, kSdlControl[axis], static_cast<Sint16>(std::clamp(value, -32768, 32767)));
    }
}

} // namespace platform
