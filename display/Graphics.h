#pragma once

#include "platform/base/Rect.h"
#include "platform/pixels/DeviceContext.h"
#include "platform/pixels/PixelFormat.h"

#include <cstdint>
#include <memory>
#include <string>

// A colour value: red in the low byte, then green, then blue. Values with the top bit set
// name system colours (the low byte is the system colour's number).
using TColor = int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);

// The red, green and blue a colour value stands for; system colours take their current values.
platform::Rgb ColorToRGB(TColor color);

// A picture held in memory: its size and pixels, drawable through a device context.
class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual std::string ClassName() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    bool Empty() const { return Width() <= 0 || Height() <= 0; }
    // The pixels as 8-bit red, green and blue, rows top to bottom.
    virtual const platform::RgbImage& Image() const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
    // Draws the picture with its top-left corner at (x, y) through `dc`.
    void Draw(platform::DeviceContext& dc, int x, int y) const;
    void StretchDraw(platform::DeviceContext& dc, const TRect& dest) const;
};
