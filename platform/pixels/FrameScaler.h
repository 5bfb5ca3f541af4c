#pragma once

#include "platform/base/Rect.h"
#include "platform/pixels/PixelFormat.h"

#include <cstdint>
#include <vector>

namespace platform {

// The pixel layout of a window's own memory: 2 or 4 bytes a pixel, each 8-bit channel shifted right
// by its loss and then left by its shift.
struct OutputFormat {
    int Bytes = 4;
    int RedShift = 16;
    int GreenShift = 8;
    int BlueShift = 0;
    int RedLoss = 0;
    int GreenLoss = 0;
    int BlueLoss = 0;

    uint32_t Pack(Rgb c) const {
        return (static_cast<uint32_t>(c.r >> RedLoss) << RedShift) |
               (static_cast<uint32_t>(c.g >> GreenLoss) << GreenShift) |
               (static_cast<uint32_t>(c.b >> BlueLoss) << BlueShift);
    }
    constexpr bool operator==(const OutputFormat&) const = default;
};

// Shows a frame in a rectangle of a window's memory, scaled by nearest neighbour and converted to
// the window's format in the same pass. Which source column feeds each output column is worked out
// once per size; an output row that shows the same source row as the one above it is a copy of it;
// a 1- or 2-byte source pixel is converted through a table of every value.
class FrameScaler {
public:
    // Gets ready for frames of `source` format, srcW x srcH, shown in `view` of an output in `output`
    // format; works again only when any of these changed. False for an output of other than 2 or 4 bytes.
    bool Prepare(const PixelFormat& source, int srcW, int srcH, const OutputFormat& output, const TRect& view);
    // Writes the view of the output from a frame; `out` is output pixel (0, 0).
    void Scale(const uint8_t* src, int srcPitch, uint8_t* out, int outPitch) const;

private:
    template <int SB, int OB> void Rows(const uint8_t* src, int srcPitch, uint8_t* out, int outPitch) const;
    uint32_t Convert(uint32_t raw) const { return output_.Pack(source_.ToRgb(raw)); }

    bool ready_ = false;
    PixelFormat source_;
    int srcW_ = 0;
    int srcH_ = 0;
    OutputFormat output_;
    TRect view_{};
    std::vector<uint32_t> columns_; // byte offset of the source pixel of each output column
    std::vector<int32_t> rows_;     // source row of each output row
    std::vector<uint32_t> table_;   // output pixel of every 1- or 2-byte source value
};

} // namespace platform
