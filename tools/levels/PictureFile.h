#pragma once

#include "tools/levels/Image.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace levels {

class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a stored picture block holds besides its pixels.
struct PictureInfo {
    std::string ClassName; // "TDIB" or "TBitmap"
    int BitsPerPixel = 0;  // 8 or 24
    Image Pixels;
};

// Decodes a stored picture block: one byte n, n bytes of class name, then for "TDIB" a 40-byte
// header, a colour table at 8 bits and bottom-up rows, for "TBitmap" a 32-bit byte count and a
// whole BMP file. Throws PictureError for anything else or for data that ends early.
PictureInfo ReadPictureBlock(const std::vector<uint8_t>& block);

std::vector<uint8_t> ReadFileBytes(const std::string& path);
PictureInfo ReadPictureFile(const std::string& path);

// The display's raw 16-bit value of a colour (red 5, green 6, blue 5 bits), which is what
// colour keys are compared in.
uint16_t Rgb565(const uint8_t* rgb);

} // namespace levels
