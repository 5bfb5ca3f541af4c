#include "platform/sdl/SdlKeyMap.h"

#include "platform/inputmap/KeyPositions.h"

#include <SDL_scancode.h>

namespace platform {

namespace {
// SDL's scancodes are the USB keyboard usage numbers.
static_assert(SDL_SCANCODE_A == 4 && SDL_SCANCODE_ESCAPE == 41 && SDL_SCANCODE_UP == 82 && SDL_SCANCODE_RGUI == 231);
} // namespace

int KeyCodeForScancode(int scancode) {
    return KeyPositionForUsage(scancode);
}

void MapKeyboardState(const uint8_t* held, int count, KeyState& keys) {
    keys.fill(0);
    if (held == nullptr) {
        return;
    }
    const int n = count < SDL_NUM_SCANCODES ? count : SDL_NUM_SCANCODES;
    for (int s = 0; s < n; ++s) {
        const int code = KeyPositionForUsage(s);
        if (held[s] != 0 && code != 0) {
            keys[code] = 0x80;
        }
    }
}

} // namespace platform
