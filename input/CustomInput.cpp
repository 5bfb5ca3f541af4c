#include "input/CustomInput.h"

#include "input/DXInput.h"
#include "input/KeyboardDevice.h"

void TCustomInput::Finalize() {
    initialized_ = false;
    deviceStates_.reset();
}

uint32_t TCustomInput::CooperativeLevelFlags() const {
    const uint32_t sharing = SupportsForceFeedback() && ForceFeedback ? clExclusive : clNonExclusive;
    return sharing | (dxInput_.ActiveOnly() ? clForeground : clBackground);
}
