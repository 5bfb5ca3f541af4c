#pragma once

#include <cstdint>
#include <vector>

// The window's icon: the desktop icon's 64 x 64 rendering of the ship, carried in the program.
class WindowIcon {
public:
    static constexpr int kSize = 64;
    // kSize x kSize pixels, rows top down, 4 bytes each: red, green, blue, alpha.
    static std::vector<uint8_t> Pixels();
};
