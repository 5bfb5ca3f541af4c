#include "sprite/ImageSprite.h"

#include "display/DirectDrawSurface.h"
#include "display/PictureCollection.h"
#include "platform/pixels/Surface.h"
#include "sprite/SpriteEngine.h"
#include "sprite/SpriteGeometry.h"

#include <cmath>
#include <cstring>

using namespace sprite_geometry;

namespace {

// One pattern as placed on the surface: its source rectangle and surface, its top-left corner.
struct PlacedPattern {
    TDirectDrawSurface* Surface = nullptr;
    TRect Source;
    int32_t X = 0;
    int32_t Y = 0;

    TRect Placed() const { return SizedRect(X, Y, Source.Width(), Source.Height()); }
};

PlacedPattern PatternOf(const TImageSprite& sprite) {
    const TRect at = sprite.DrawRect();
    const int32_t index = sprite.DrawIndex();
    return PlacedPattern{sprite.Image->PatternSurface(index), sprite.Image->PatternRect(index), at.Left, at.Top};
}

// A pixel's value: its 1, 2, 3 or low 3 bytes as stored.
template <int Bytes> uint32_t ReadPixel(const uint8_t* p) {
    if constexpr (Bytes == 1) {
        return p[0];
    } else if constexpr (Bytes == 2) {
        uint16_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    } else {
        return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16;
    }
}

template <int Bytes>
bool OpaquePixelsMeet(const uint8_t* a, int pitchA, uint32_t keyA, const uint8_t* b, int pitchB, uint32_t keyB,
                      int32_t width, int32_t height, int stride) {
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* pa = a + static_cast<std::ptrdiff_t>(y) * pitchA;
        const uint8_t* pb = b + static_cast<std::ptrdiff_t>(y) * pitchB;
        for (int32_t x = 0; x < width; ++x, pa += stride, pb += stride) {
            if (ReadPixel<Bytes>(pa) != keyA && ReadPixel<Bytes>(pb) != keyB) {
                return true;
            }
        }
    }
    return false;
}

// Unlocks a surface when the test ends, however it ends.
class LockGuard {
public:
    explicit LockGuard(TDirectDrawSurface* surface) : surface_(surface) {}
    ~LockGuard() {
        if (surface_ != nullptr) {
            surface_->UnlockBits();
        }
    }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    TDirectDrawSurface* surface_;
};

// Whether two placed patterns have a position where neither pixel is its surface's colour key.
bool PixelsMeet(const PlacedPattern& p1, const PlacedPattern& p2) {
    const TRect r1 = p1.Placed();
    const TRect r2 = p2.Placed();
    const bool overlap = OverlapRect(r1, r2);
    if (p1.Surface == nullptr || p2.Surface == nullptr || !overlap) {
        return overlap;
    }

    // The common part, located inside each pattern from the pattern's own corner.
    const TRect common = IntersectRect(r1, r2);
    const int32_t w = common.Width();
    const int32_t h = common.Height();
    const TRect a1 = SizedRect(p1.Source.Left + (common.Left - p1.X), p1.Source.Top + (common.Top - p1.Y), w, h);
    const TRect a2 = SizedRect(p2.Source.Left + (common.Left - p2.X), p2.Source.Top + (common.Top - p2.Y), w, h);

    platform::LockedView v1;
    platform::LockedView v2;
    const uint8_t* bits1 = nullptr;
    const uint8_t* bits2 = nullptr;
    if (p1.Surface == p2.Surface) {
        // One lock of the whole surface serves both areas.
        if (!p1.Surface->LockBits(nullptr, v1)) {
            return false;
        }
        v2 = v1;
        const int bpp = v1.Format.BytesPerPixel();
        bits1 = v1.Bits + static_cast<std::ptrdiff_t>(a1.Top) * v1.Pitch + static_cast<std::ptrdiff_t>(a1.Left) * bpp;
        bits2 = v1.Bits + static_cast<std::ptrdiff_t>(a2.Top) * v1.Pitch + static_cast<std::ptrdiff_t>(a2.Left) * bpp;
    } else {
        if (!p1.Surface->LockBits(&a1, v1)) {
            return false;
        }
        if (!p2.Surface->LockBits(&a2, v2)) {
            p1.Surface->UnlockBits();
            return false;
        }
        bits1 = v1.Bits;
        bits2 = v2.Bits;
    }
    LockGuard unlock1(p1.Surface);
    LockGuard unlock2(p2.Surface != p1.Surface ? p2.Surface : nullptr);

    if (v1.Format.BitCount != v2.Format.BitCount) {
        return true;
    }
    const uint32_t key1 = p1.Surface->KeyColor();
    const uint32_t key2 = p2.Surface->KeyColor();
    switch (v1.Format.BitCount) {
    case 8:
        return OpaquePixelsMeet<1>(bits1, v1.Pitch, key1 & 0xFF, bits2, v2.Pitch, key2 & 0xFF, w, h, 1);
    case 16:
        return OpaquePixelsMeet<2>(bits1, v1.Pitch, key1 & 0xFFFF, bits2, v2.Pitch, key2 & 0xFFFF, w, h, 2);
    case 24:
        return OpaquePixelsMeet<3>(bits1, v1.Pitch, key1 & 0xFFFFFF, bits2, v2.Pitch, key2 & 0xFFFFFF, w, h, 3);
    case 32:
        return OpaquePixelsMeet<3>(bits1, v1.Pitch, key1 & 0xFFFFFF, bits2, v2.Pitch, key2 & 0xFFFFFF, w, h, 4);
    default:
        return false;
    }
}

} // namespace

TImageSprite::TImageSprite(const TSpriteJoin& join) : TSprite(join) {}

int32_t TImageSprite::DrawIndex() const {
    return SaturateInt32(static_cast<int64_t>(PatternBase) + TruncToInt32(PatternPos));
}

TRect TImageSprite::DrawRect() const {
    const TRect bounds = GetBounds();
    const int64_t imageWidth = Image != nullptr ? Image->Width() : 0;
    const int64_t imageHeight = Image != nullptr ? Image->Height() : 0;
    // Truncating division: a 131-pixel picture in a 0-pixel box moves left by 65.
    const int64_t dx = (Width - imageWidth) / 2;
    const int64_t dy = (Height - imageHeight) / 2;
    return TRect{SaturateInt32(bounds.Left + dx), SaturateInt32(bounds.Top + dy), SaturateInt32(bounds.Right + dx),
                 SaturateInt32(bounds.Bottom + dy)};
}

void TImageSprite::Render() {
    if (Image == nullptr || Engine()->Surface() == nullptr) {
        return;
    }
    const TRect at = DrawRect();
    Image->Draw(Engine()->Surface(), at.Left, at.Top, DrawIndex());
}

void TImageSprite::Advance(int32_t moveCount) {
    PatternPos += PatternSpeed * moveCount;
    if (PatternLoop) {
        if (PatternSpan > 0) {
            // A floating modulo into 0 .. PatternSpan.
            PatternPos = std::fmod(PatternPos, static_cast<double>(PatternSpan));
            if (PatternPos < 0) {
                PatternPos += PatternSpan;
            }
        } else {
            PatternPos = 0;
        }
    } else {
        // The animation stops on its last pattern.
        if (PatternPos >= PatternSpan) {
            PatternPos = static_cast<double>(PatternSpan) - 1;
            PatternSpeed = 0;
        }
        if (PatternPos < 0) {
            PatternPos = 0;
        }
    }
}

TRect TImageSprite::GetBounds() const {
    const TRect& surface = Engine()->SurfaceBounds();
    int64_t dx = TruncToInt32(AbsoluteX());
    int64_t dy = TruncToInt32(AbsoluteY());
    if (Wrap) {
        // The period is the surface size plus the sprite size; with no period (before any
        // surface, or a negative size) the position stays as it is.
        const int64_t periodX = static_cast<int64_t>(surface.Right) + Width;
        const int64_t periodY = static_cast<int64_t>(surface.Bottom) + Height;
        if (periodX > 0) {
            dx = FloorMod(dx, periodX);
            if (dx > surface.Right) {
                dx -= periodX;
            }
        }
        if (periodY > 0) {
            dy = FloorMod(dy, periodY);
            if (dy > surface.Bottom) {
                dy -= periodY;
            }
        }
    }
    return SizedRect(SaturateInt32(dx), SaturateInt32(dy), Width, Height);
}

bool TImageSprite::HitTest(const TSprite& other) const {
    const auto* otherImage = dynamic_cast<const TImageSprite*>(&other);
    if (otherImage == nullptr || !PixelHit) {
        return true;
    }
    // Without pictures there are no pixels to meet.
    if (Image == nullptr || otherImage->Image == nullptr) {
        return false;
    }
    return PixelsMeet(PatternOf(*this), PatternOf(*otherImage));
}

TImageSpriteEx::TImageSpriteEx(const TSpriteJoin& join) : TImageSprite(join) {}

TRect TImageSpriteEx::PlacedRect() const {
    return SizedRect(TruncToInt32(AbsoluteX()), TruncToInt32(AbsoluteY()), Width, Height);
}

void TImageSpriteEx::Render() {
    TDirectDrawSurface* surface = Engine()->Surface();
    if (Image == nullptr || surface == nullptr) {
        return;
    }
    const TRect r = PlacedRect();
    if ((Angle & 0xFF) == 0) {
        if (Alpha >= 255) {
            Image->DrawScaled(surface, r, DrawIndex());
        } else {
            Image->DrawBlended(surface, r, DrawIndex(), Alpha);
        }
        return;
    }
    // The pattern is scaled to the box and turned about its own middle, placed at the box's middle.
    const int32_t cx = SaturateInt32((static_cast<int64_t>(r.Left) + r.Right) / 2);
    const int32_t cy = SaturateInt32((static_cast<int64_t>(r.Top) + r.Bottom) / 2);
    if (Alpha >= 255) {
        Image->DrawTurned(surface, cx, cy, Width, Height, DrawIndex(), 0.5, 0.5, Angle);
    } else {
        Image->DrawTurnedBlended(surface, cx, cy, Width, Height, DrawIndex(), 0.5, 0.5, Angle, Alpha);
    }
}

TRect TImageSpriteEx::GetBounds() const {
    return Engine()->SurfaceBounds();
}

bool TImageSpriteEx::HitTest(const TSprite& other) const {
    const auto* otherEx = dynamic_cast<const TImageSpriteEx*>(&other);
    const TRect r2 = otherEx != nullptr ? otherEx->PlacedRect() : other.GetBounds();
    return OverlapRect(PlacedRect(), r2);
}
