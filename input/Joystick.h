#pragma once

#include "input/CustomInput.h"

// The joystick device. No joystick is read on this platform: it never initialises and
// always polls to an empty set.
class TJoystick : public TCustomInput {
public:
    using TCustomInput::TCustomInput;
    void Poll() override { deviceStates_.reset(); }
};
