#pragma once

#include "display/DIB.h"
#include "tools/levels/Level.h"

#include <cstdint>
#include <string>
#include <vector>

namespace levels {

// Reads a level from a text source (*.txt) or a compiled level file (anything else).
// Throws LevelError (with the path in its message) when the file cannot be read or parsed.
Level LoadLevelFile(const std::string& path);

// The level number in a file name: the digits of its base name ("assets/levels/07.txt" gives 7), 0 if none.
int LevelNumberOf(const std::string& path);

// The whole content of a regular file; throws std::runtime_error "PATH: cannot open" when it
// cannot be read, is not a regular file or is larger than the tools' file limit.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// Reads a stored picture block (assets/pictures/*.pic) with the display library; throws
// std::runtime_error with the path and the display's message when the block is unreadable.
TPicture LoadPictureFile(const std::string& path);

} // namespace levels
