#pragma once

#include <string_view>

// The key position of a key as the settings file names it: a letter or digit ("a", "7"), an arrow
// ("left", "up", ...), "escape" or "esc", "space", "enter", "tab", "backspace", "pause", "f1" to
// "f12", "kp0" to "kp9" for the numeric pad (these in any case), or the physical key's standard
// name ("KeyA", "ArrowLeft", "NumpadEnter"). 0 for a name no key has.
int KeyPositionOfName(std::string_view name);
