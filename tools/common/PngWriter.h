#pragma once

#include "platform/DeviceContext.h"

#include <string>

// Writes a picture as an uncompressed-deflate PNG file (8-bit RGB); false when the file cannot be written.
bool WritePng(const std::string& path, const platform::RgbImage& image);
