#pragma once

#include "tools/levels/Level.h"

#include <string>

namespace levels {

// Reads a level from a text source (*.txt) or a compiled level file (anything else).
// Throws LevelError (with the path in its message) when the file cannot be read or parsed.
Level LoadLevelFile(const std::string& path);

// The level number in a file name: the digits of its base name ("assets/levels/07.txt" gives 7), 0 if none.
int LevelNumberOf(const std::string& path);

} // namespace levels
