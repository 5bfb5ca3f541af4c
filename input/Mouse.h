#pragma once

#include "input/CustomInput.h"

// The mouse as an input device. It is not read on this platform (mouse events reach the
// controls instead): it never initialises and always polls to an empty set.
class TMouse : public TCustomInput {
public:
    using TCustomInput::TCustomInput;
    void Poll() override { deviceStates_.reset(); }
};
