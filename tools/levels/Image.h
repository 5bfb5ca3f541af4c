#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace levels {

// A plain 24-bit picture: red, green, blue per pixel, rows top to bottom.
struct Image {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Rgb;

    Image() = default;
    Image(int width, int height) : Width(width), Height(height), Rgb(static_cast<size_t>(width) * height * 3, 0) {}

    uint8_t* Pixel(int x, int y) { return &Rgb[(static_cast<size_t>(y) * Width + x) * 3]; }
    const uint8_t* Pixel(int x, int y) const { return &Rgb[(static_cast<size_t>(y) * Width + x) * 3]; }
};

} // namespace levels
