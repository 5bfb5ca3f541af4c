#pragma once

#include <string>
#include <string_view>

// `text` from outside (a path, an argument) made safe to print on a terminal: control bytes,
// DEL and the UTF-8 forms of the C1 controls are written as \xNN, so that no name can move the
// cursor, change colours or hide what follows. Other bytes, UTF-8 letters included, pass through.
std::string TerminalText(std::string_view text);
