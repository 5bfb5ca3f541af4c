#pragma once

#include "platform/pixels/DeviceContext.h"

#include <cstdint>
#include <string>
#include <vector>

// Encodes a picture as a PNG file (8-bit RGB) with libpng. Empty when libpng refuses.
std::vector<uint8_t> EncodePng(const platform::RgbImage& image);

// Writes EncodePng to a file; false when the picture cannot be encoded or the file written.
bool WritePng(const std::string& path, const platform::RgbImage& image);
