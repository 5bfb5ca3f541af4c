#pragma once

#include "platform/Rect.h"

namespace platform {

// Where an image of imageWidth x imageHeight is shown in an output of outputWidth x outputHeight:
// scaled as large as fits with its aspect ratio kept, centred, black bars on the other axis.
TRect FitImage(int outputWidth, int outputHeight, int imageWidth, int imageHeight);

// The image pixel under output point (x, y) when the image is shown in `view`; points on the
// bars are clamped to the nearest edge pixel. False when the view or the image is empty.
bool OutputToImage(const TRect& view, int imageWidth, int imageHeight, int x, int y, int& imageX, int& imageY);

} // namespace platform
