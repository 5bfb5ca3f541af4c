#pragma once

#include "level/Level.h"

#include <cstdint>
#include <string>
#include <vector>

namespace levels {

// Reads a level from a text source (*.txt) or a compiled level file (anything else).
// Throws LevelError (with the path in its message) when the file cannot be read or parsed.
Level LoadLevelFile(const std::string& path);

// True when the path names a level source (ends in ".txt"); anything else is a level file.
bool IsSourcePath(const std::string& path);

// Writes a level as a source (*.txt, with the comment lines first) or as a level file (anything
// else), replacing the file atomically. False with a one-line reason in `error` when it fails.
bool SaveLevelFile(const std::string& path, const Level& level, const std::vector<std::string>& comments,
                   std::string& error);

// The level number in a file name: the digits of its base name ("assets/levels/07.txt" gives 7), 0 if none.
int LevelNumberOf(const std::string& path);

// The whole content of a regular file; throws std::runtime_error "PATH: cannot open" when it
// cannot be read, is not a regular file or is larger than the tools' file limit.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

} // namespace levels
