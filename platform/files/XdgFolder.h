#pragma once

#include <string>

namespace platform {

// A user's base folder as the XDG base directory rules give it: the variable's value when it is an
// absolute path, else `belowHome` in $HOME ("XDG_DATA_HOME", ".local/share" gives
// ~/.local/share). Empty when neither is set.
std::string XdgFolder(const char* variable, const char* belowHome);

} // namespace platform
