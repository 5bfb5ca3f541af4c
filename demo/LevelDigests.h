#pragma once

#include "demo/Demo.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Digests of level files (64-bit xxHash of the bytes the game reads), to tell whether a demo
// is played on the level files it was recorded with.
class LevelDigests {
public:
    static uint64_t Of(std::span<const uint8_t> bytes);
    // The file as the game would read it now from the level folder in use: at most one level
    // record, its size and digest;
    // Bytes is 0 and Hash the digest of nothing when the file cannot be opened.
    static LevelDigest OfFile(const std::string& fileName);
    // The names of the level files, each once, whose contents differ from the recorded ones.
    static std::vector<std::string> Differing(const Demo& demo);
    // How playback reports one of them, wherever it plays (terminal or page).
    static std::string DifferingMessage(const std::string& fileName);
};
