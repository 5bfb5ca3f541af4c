#include "input/KeyboardDevice.h"

bool TKeyboardDevice::Acquire() {
    if (Blocked()) {
        return false;
    }
    acquired_ = true;
    return true;
}

TDeviceReadResult TKeyboardDevice::GetDeviceState(platform::KeyState& keys) {
    if (!acquired_) {
        return TDeviceReadResult::NotAcquired;
    }
    if (Blocked()) {
        acquired_ = false;
        return TDeviceReadResult::InputLost;
    }
    platform_.GetKeyState(keys);
    return TDeviceReadResult::Ok;
}
