#pragma once

#include "platform/base/Rect.h"
#include "platform/base/Result.h"
#include "platform/pixels/OpaqueRuns.h"
#include "platform/pixels/PixelFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

class Clipper;
class DeviceContext;
class SurfaceRegistry;

// What a new surface should be.
struct SurfaceDesc {
    int Width = 0;
    int Height = 0;
    bool Primary = false;      // the screen itself: the size and format of the current mode
    bool SystemMemory = false; // ask for system memory instead of video memory
};

// A locked area of a surface: pixel (0, 0) of the area at Bits, rows Pitch bytes apart.
struct LockedView {
    uint8_t* Bits = nullptr;
    int Pitch = 0;
    int Width = 0;
    int Height = 0;
    PixelFormat Format;
};

// How a copy between surfaces is made.
struct BltFx {
    bool KeySrc = false; // skip source pixels equal to the source's colour key
    bool MirrorLeftRight = false;
    bool MirrorUpDown = false;
};

// A rectangle of pixels in plain memory in the format of the display mode it was made in.
// Every operation on a lost surface fails with SurfaceLost until Restore succeeds.
class Surface {
public:
    Surface(std::shared_ptr<SurfaceRegistry> registry, int width, int height, PixelFormat format, bool primary,
            bool inVideoMemory);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Pitch() const { return pitch_; }
    const PixelFormat& Format() const { return format_; }
    bool IsPrimary() const { return primary_; }
    bool InVideoMemory() const { return inVideoMemory_; }
    // Pixel memory, for the display back-ends and tests; drawing code goes through Lock. Writes
    // must follow the call: what was worked out from the pixels before it is dropped.
    uint8_t* Bits() {
        ++generation_;
        return pixels_.data();
    }
    const uint8_t* Bits() const { return pixels_.data(); }

    Result IsLost() const { return lost_ ? Result::SurfaceLost : Result::Ok; }
    // Brings a lost surface back (its contents are undefined); fails while the display is away.
    Result Restore();
    // Marks the surface lost and spoils its contents, as a display taken away does.
    void MarkLost();

    void SetColorKey(uint32_t key);
    uint32_t ColorKey() const { return colorKey_; }
    bool HasColorKey() const { return hasColorKey_; }
    // Moves on whenever the pixels or the key may have changed.
    uint64_t Generation() const { return generation_; }
    // The opaque runs of this surface for a keyed copy with `key`, or nullptr when the copy should
    // select pixel by pixel: runs are built at the second keyed copy of unchanged pixels, so that
    // a picture redrawn between copies never pays for a scan it cannot reuse.
    const OpaqueRuns* RunsFor(uint32_t key) {
        if (runsValid_ && runsGeneration_ == generation_ && runsKey_ == key) {
            return runs_.Worthwhile() ? &runs_ : nullptr;
        }
        return RebuildRuns(key);
    }

    void SetClipper(std::shared_ptr<Clipper> clipper);
    const std::shared_ptr<Clipper>& GetClipper() const { return clipper_; }

    // Locks `area` (or the whole surface) for direct access; one lock at a time.
    Result Lock(const TRect* area, LockedView& view);
    void Unlock();
    bool IsLocked() const { return locked_; }

    // Colour fill of `area` (or the whole surface), clipped by the clipper when one is attached.
    Result Fill(const TRect* area, uint32_t raw);
    // Unclipped 1:1 copy of `srcRect` of `src` to (x, y); refuses to run when a clipper is attached.
    Result BltFast(int x, int y, Surface& src, const TRect& srcRect, bool keyed);
    // Scaled copy of `srcRect` (or all of `src`) into `dstRect` (or all of this surface); clipped
    // by the attached clipper, otherwise both rectangles must lie inside their surfaces.
    Result Blt(const TRect* dstRect, Surface& src, const TRect* srcRect, const BltFx& fx);

    // A device context for text and picture drawing; one at a time, and the surface can
    // be neither locked nor copied while it is out.
    Result GetDC(std::unique_ptr<DeviceContext>& dc);
    bool HasDC() const { return dcOut_; }

private:
    friend class DeviceContext;
    void ReleaseDC() {
        dcOut_ = false;
        ++generation_;
    }
    Result Usable() const {
        if (lost_) {
            return Result::SurfaceLost;
        }
        return locked_ || dcOut_ ? Result::SurfaceBusy : Result::Ok;
    }
    void Changed() {
        ++generation_;
        if (primary_) {
            TellPrimaryChanged();
        }
    }
    void TellPrimaryChanged();
    // RunsFor when the runs kept do not fit the pixels and key: builds them at the second call.
    const OpaqueRuns* RebuildRuns(uint32_t key);

    std::shared_ptr<SurfaceRegistry> registry_;
    int width_;
    int height_;
    int pitch_;
    PixelFormat format_;
    bool primary_;
    bool inVideoMemory_;
    std::vector<uint8_t> pixels_;
    bool lost_ = false;
    bool locked_ = false;
    bool dcOut_ = false;
    uint32_t colorKey_ = 0;
    bool hasColorKey_ = false;
    std::shared_ptr<Clipper> clipper_;
    uint64_t generation_ = 0;
    OpaqueRuns runs_;
    bool runsValid_ = false;
    uint64_t runsGeneration_ = 0;
    uint32_t runsKey_ = 0;
    bool seen_ = false;
    uint64_t seenGeneration_ = 0;
    uint32_t seenKey_ = 0;
};

} // namespace platform
