#pragma once

#include "platform/pixels/DeviceContext.h"

#include <cstdint>
#include <string>
#include <vector>

// Encodes a picture as a PNG file (8-bit RGB) with libpng. Empty when libpng refuses.
std::vector<uint8_t> EncodePng(const platform::RgbImage& image);

// Writes EncodePng to a file, through a temporary name renamed over it once complete; false when
// the picture cannot be encoded or the file written, `error` then naming the file and the cause.
bool WritePng(const std::string& path, const platform::RgbImage& image, std::string& error);
bool WritePng(const std::string& path, const platform::RgbImage& image);
