#pragma once

#include <string_view>

namespace platform {

// The keyboard's scan-code position (as KeyState numbers keys) of a physical key, shared by every
// back-end so that all of them agree. Keys are named two ways: by their USB keyboard usage number
// (what SDL's scancodes are) and by the standard physical-key names of web keyboard events
// ("KeyA", "ArrowUp", ...). 0 for a key that has no position.
int KeyPositionForUsage(int usage);
int KeyPositionForCodeName(std::string_view name);

} // namespace platform
