#pragma once

#include "platform/pixels/DisplayDevice.h"

#include <vector>

namespace platform {

// The modes an emulated display offers: the usual sizes from 320x200 to 1280x1024, each at
// 8, 16, 24 and 32 bits per pixel, ascending by width, then height, then bits.
std::vector<DisplayMode> CommonDisplayModes();

} // namespace platform
