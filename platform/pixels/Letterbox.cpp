#include "platform/pixels/Letterbox.h"

#include <algorithm>
#include <cstdint>

namespace platform {

TRect FitImage(int outputWidth, int outputHeight, int imageWidth, int imageHeight) {
    if (outputWidth <= 0 || outputHeight <= 0 || imageWidth <= 0 || imageHeight <= 0) {
        return TRect{};
    }
    const int64_t ow = outputWidth, oh = outputHeight, iw = imageWidth, ih = imageHeight;
    int64_t w, h;
    // Compare the aspect ratios by cross-multiplying so that no rounding decides the axis.
    if (ow * ih <= oh * iw) {
        w = ow;
        h = std::max<int64_t>(1, (ih * ow + iw / 2) / iw);
    } else {
        h = oh;
        w = std::max<int64_t>(1, (iw * oh + ih / 2) / ih);
    }
    const int64_t x = (ow - w) / 2, y = (oh - h) / 2;
    return TRect{static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(x + w),
                 static_cast<int32_t>(y + h)};
}

TRect FitImageWhole(int outputWidth, int outputHeight, int imageWidth, int imageHeight) {
    if (outputWidth <= 0 || outputHeight <= 0 || imageWidth <= 0 || imageHeight <= 0) {
        return TRect{};
    }
    const int scale = std::min(outputWidth / imageWidth, outputHeight / imageHeight);
    if (scale < 1) {
        return FitImage(outputWidth, outputHeight, imageWidth, imageHeight);
    }
    const int64_t w = int64_t{imageWidth} * scale, h = int64_t{imageHeight} * scale;
    const int64_t x = (outputWidth - w) / 2, y = (outputHeight - h) / 2;
    return TRect{static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(x + w),
                 static_cast<int32_t>(y + h)};
}

TRect WindowForImage(int areaWidth, int areaHeight, int imageWidth, int imageHeight) {
    const TRect fit = FitImageWhole(areaWidth, areaHeight, imageWidth, imageHeight);
    return TRect{0, 0, fit.Width(), fit.Height()};
}

bool OutputToImage(const TRect& view, int imageWidth, int imageHeight, int x, int y, int& imageX, int& imageY) {
    if (view.IsEmpty() || imageWidth <= 0 || imageHeight <= 0) {
        return false;
    }
    // Floor division: points left of or above the view must not round towards pixel 0.
    auto map = [](int64_t p, int64_t origin, int64_t extent, int64_t size) {
        int64_t n = (p - origin) * size;
        int64_t q = n >= 0 ? n / extent : -((-n + extent - 1) / extent);
        return static_cast<int>(std::clamp<int64_t>(q, 0, size - 1));
    };
    imageX = map(x, view.Left, view.Width(), imageWidth);
    imageY = map(y, view.Top, view.Height(), imageHeight);
    return true;
}

} // namespace platform
