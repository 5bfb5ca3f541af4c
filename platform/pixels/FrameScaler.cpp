#include "platform/pixels/FrameScaler.h"

#include <cstring>

namespace platform {

bool FrameScaler::Prepare(const PixelFormat& source, int srcW, int srcH, const OutputFormat& output,
                          const TRect& view) {
    if (ready_ && source == source_ && srcW == srcW_ && srcH == srcH_ && output == output_ && view == view_) {
        return true;
    }
    ready_ = false;
    if ((output.Bytes != 2 && output.Bytes != 4) || srcW <= 0 || srcH <= 0 || view.IsEmpty()) {
        return false;
    }
    const bool newColours = table_.empty() || !(source == source_) || !(output == output_);
    source_ = source;
    srcW_ = srcW;
    srcH_ = srcH;
    output_ = output;
    view_ = view;
    const int64_t w = view.Width(), h = view.Height();
    const int bpp = source.BytesPerPixel();
    columns_.resize(static_cast<std::size_t>(w));
    for (int64_t x = 0; x < w; ++x) {
        columns_[static_cast<std::size_t>(x)] = static_cast<uint32_t>(x * srcW / w * bpp);
    }
    rows_.resize(static_cast<std::size_t>(h));
    for (int64_t y = 0; y < h; ++y) {
        rows_[static_cast<std::size_t>(y)] = static_cast<int32_t>(y * srcH / h);
    }
    if (bpp <= 2 && newColours) {
        table_.resize(std::size_t{1} << (8 * bpp));
        for (uint32_t raw = 0; raw < table_.size(); ++raw) {
            table_[raw] = Convert(raw);
        }
    }
    ready_ = true;
    return true;
}

template <int SB, int OB> void FrameScaler::Rows(const uint8_t* src, int srcPitch, uint8_t* out, int outPitch) const {
    const std::size_t width = columns_.size();
    const uint32_t* columns = columns_.data();
    const uint32_t* table = table_.data();
    const uint8_t* previous = nullptr;
    int32_t previousRow = -1;
    for (std::size_t y = 0; y < rows_.size(); ++y) {
        uint8_t* o = out + (static_cast<std::ptrdiff_t>(view_.Top) + static_cast<std::ptrdiff_t>(y)) * outPitch +
                     static_cast<std::ptrdiff_t>(view_.Left) * OB;
        if (rows_[y] == previousRow) {
            std::memcpy(o, previous, width * OB);
            continue;
        }
        const uint8_t* s = src + static_cast<std::ptrdiff_t>(rows_[y]) * srcPitch;
        for (std::size_t x = 0; x < width; ++x) {
            const uint8_t* p = s + columns[x];
            uint32_t v;
            if constexpr (SB == 1) {
                v = table[*p];
            } else if constexpr (SB == 2) {
                uint16_t raw;
                std::memcpy(&raw, p, 2);
                v = table[raw];
            } else {
                uint32_t raw = 0;
                std::memcpy(&raw, p, SB);
                v = Convert(raw);
            }
            if constexpr (OB == 2) {
                const auto narrow = static_cast<uint16_t>(v);
                std::memcpy(o + x * 2, &narrow, 2);
            } else {
                std::memcpy(o + x * 4, &v, 4);
            }
        }
        previous = o;
        previousRow = rows_[y];
    }
}

void FrameScaler::Scale(const uint8_t* src, int srcPitch, uint8_t* out, int outPitch) const {
    if (!ready_) {
        return;
    }
    const bool wide = output_.Bytes == 4;
    switch (source_.BytesPerPixel()) {
    case 1:
        return wide ? Rows<1, 4>(src, srcPitch, out, outPitch) : Rows<1, 2>(src, srcPitch, out, outPitch);
    case 2:
        return wide ? Rows<2, 4>(src, srcPitch, out, outPitch) : Rows<2, 2>(src, srcPitch, out, outPitch);
    case 3:
        return wide ? Rows<3, 4>(src, srcPitch, out, outPitch) : Rows<3, 2>(src, srcPitch, out, outPitch);
    default:
        return wide ? Rows<4, 4>(src, srcPitch, out, outPitch) : Rows<4, 2>(src, srcPitch, out, outPitch);
    }
}

} // namespace platform
