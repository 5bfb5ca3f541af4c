#pragma once

#include "platform/base/FillText.h"

#include <initializer_list>
#include <string>
#include <string_view>

// Text from outside (a file name, a path, a message naming one) made safe to draw on the screen:
// control characters and bytes that are not UTF-8 become '?'.
std::string ForScreen(std::string_view text);

// The same for a line written to a terminal: control characters and bytes that are not UTF-8
// are written as \xHH, so that a name cannot move the cursor or change the terminal's state.
std::string ForTerminal(std::string_view text);

// The last `count` characters of a UTF-8 text, after "…" when some were left out.
std::string Tail(std::string_view text, std::size_t count);
