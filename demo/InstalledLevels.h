#pragma once

#include "demo/Demo.h"

#include <span>
#include <string>

// The level files installed with the game, as the build compiled them: names, sizes and digests
// built into the program, so that a replay can tell whether it ran on the installed set whatever
// level folder it reads.
class InstalledLevels {
public:
    static std::span<const LevelDigest> Digests();
    // The installed file of that name; null when the set has none (a level past the last).
    static const LevelDigest* Find(const std::string& fileName);
    // The file as opened has the installed file's bytes.
    static bool Matches(const LevelDigest& opened);
};
