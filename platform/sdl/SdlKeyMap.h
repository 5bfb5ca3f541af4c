#pragma once

#include "platform/app/Platform.h"

#include <cstdint>

namespace platform {

// The keyboard's scan-code position (as KeyState numbers keys) of an SDL scancode, or 0 for
// a key that has no position there.
int KeyCodeForScancode(int scancode);

// Fills `keys` from SDL's keyboard state (one byte per scancode, nonzero = held): 0x80 at the
// position of every held key, 0 elsewhere.
void MapKeyboardState(const uint8_t* held, int count, KeyState& keys);

} // namespace platform
