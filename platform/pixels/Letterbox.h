#pragma once

#include "platform/base/Rect.h"

namespace platform {

// Where an image of imageWidth x imageHeight is shown in an output of outputWidth x outputHeight:
// scaled as large as fits with its aspect ratio kept, centred, black bars on the other axis.
TRect FitImage(int outputWidth, int outputHeight, int imageWidth, int imageHeight);

// Like FitImage, but scaled by the largest whole number that fits (at least 1), so that every
// image pixel becomes the same square of output pixels; an output smaller than the image
// falls back to FitImage.
TRect FitImageWhole(int outputWidth, int outputHeight, int imageWidth, int imageHeight);

// The size of a window showing an image of imageWidth x imageHeight in a work area of
// areaWidth x areaHeight: the largest whole multiple of the image that fits, or the image
// scaled down to fit with its aspect kept when not even one does.
TRect WindowForImage(int areaWidth, int areaHeight, int imageWidth, int imageHeight);

// The image pixel under output point (x, y) when the image is shown in `view`; points on the
// bars are clamped to the nearest edge pixel. False when the view or the image is empty.
bool OutputToImage(const TRect& view, int imageWidth, int imageHeight, int x, int y, int& imageX, int& imageY);

} // namespace platform
