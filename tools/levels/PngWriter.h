#pragma once

#include "tools/levels/Image.h"

#include <string>
#include <vector>

namespace levels {

// Encodes a picture as a PNG file (8-bit RGB). The pixel data is stored without compression,
// which keeps the writer free of libraries; the files are for review, not for shipping.
std::vector<uint8_t> EncodePng(const Image& image);

// Writes EncodePng to a file; throws std::runtime_error when the file cannot be written.
void WritePng(const std::string& path, const Image& image);

} // namespace levels
