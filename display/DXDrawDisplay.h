#pragma once

#include "platform/pixels/DisplayDevice.h"

#include <cstdint>
#include <vector>

class TDirectDraw;

// One mode the display offers.
struct TDXDrawDisplayMode {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitCount = 0;
    constexpr bool operator==(const TDXDrawDisplayMode&) const = default;
};

// The display mode the control asks for, and the list of modes the display offers.
class TDXDrawDisplay {
public:
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t BitCount() const { return bitCount_; }
    // Negative sizes are stored as 0.
    void SetWidth(int32_t value);
    void SetHeight(int32_t value);
    // Only 8, 16, 24 or 32; anything else raises EDirectDrawError and keeps the old value.
    void SetBitCount(int32_t value);

    bool FixedBitCount = true;
    bool FixedRatio = true;
    bool FixedSize = false;

    // The modes the display object offers, sorted by width, height and bits; filled on first use.
    const std::vector<TDXDrawDisplayMode>& Modes(TDirectDraw& directDraw);
    void ClearModes() { modes_.clear(); }

    // Chooses and sets the mode closest to the requested one; false when none can be set.
    bool SetDisplayMode(TDirectDraw& directDraw);

private:
    bool TrySet(TDirectDraw& directDraw, int32_t w, int32_t h, int32_t bits);
    bool Search(TDirectDraw& directDraw, bool ratio);

    int32_t width_ = 640;
    int32_t height_ = 480;
    int32_t bitCount_ = 8;
    std::vector<TDXDrawDisplayMode> modes_;
};
