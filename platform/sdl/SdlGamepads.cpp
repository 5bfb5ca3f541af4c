#include "platform/sdl/SdlGamepads.h"

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

} // namespace platform
