#pragma once

#include "platform/DeviceContext.h"

#include <cstdint>
#include <string>
#include <vector>

// Encodes a picture as a PNG file (8-bit RGB). The pixel data is stored without compression,
// which keeps the writer free of libraries; the files are for review, not for shipping.
std::vector<uint8_t> EncodePng(const platform::RgbImage& image);

// Writes EncodePng to a file; false when the file cannot be written.
bool WritePng(const std::string& path, const platform::RgbImage& image);
