#include "platform/pixels/Surface.h"

#include "platform/pixels/Clipper.h"
#include "platform/pixels/DeviceContext.h"
#include "platform/pixels/SurfaceRegistry.h"

#include <algorithm>

namespace platform {

namespace {
int RowPitch(int width, int bitCount) {
    int bytes = width * (bitCount / 8);
    return (bytes + 3) & ~3;
}
} // namespace

Surface::Surface(std::shared_ptr<SurfaceRegistry> registry, int width, int height, PixelFormat format, bool primary,
                 bool inVideoMemory)
    : registry_(std::move(registry)), width_(width), height_(height), pitch_(RowPitch(width, format.BitCount)),
      format_(format), primary_(primary), inVideoMemory_(inVideoMemory),
      pixels_(static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(height)) {
    registry_->Add(this);
    if (inVideoMemory_) {
        registry_->VideoMemoryUsed += pixels_.size();
    }
}

Surface::~Surface() {
    if (inVideoMemory_) {
        registry_->VideoMemoryUsed -= pixels_.size();
    }
    registry_->Remove(this);
}

Result Surface::Restore() {
    if (!lost_) {
        return Result::Ok;
    }
    if (!registry_->CanRestore()) {
        return Result::SurfaceLost;
    }
    lost_ = false;
    ++generation_;
    return Result::Ok;
}

void Surface::MarkLost() {
    lost_ = true;
    ++generation_;
    // The contents of a lost surface are undefined; make that visible rather than keep them.
    std::fill(pixels_.begin(), pixels_.end(), uint8_t{0xA5});
}

void Surface::SetColorKey(uint32_t key) {
    colorKey_ = key;
    hasColorKey_ = true;
    ++generation_;
}

void Surface::SetClipper(std::shared_ptr<Clipper> clipper) {
    clipper_ = std::move(clipper);
}

void Surface::TellPrimaryChanged() {
    if (registry_->PrimaryChanged) {
        registry_->PrimaryChanged(*this);
    }
}

Result Surface::Lock(const TRect* area, LockedView& view) {
    if (Result r = Usable(); r != Result::Ok) {
        return r;
    }
    TRect a = area ? *area : TRect{0, 0, width_, height_};
    if (a.Left < 0 || a.Top < 0 || a.Right > width_ || a.Bottom > height_ || a.IsEmpty()) {
        return Result::InvalidRect;
    }
    locked_ = true;
    ++generation_;
    view.Bits = pixels_.data() + static_cast<std::ptrdiff_t>(a.Top) * pitch_ + a.Left * format_.BytesPerPixel();
    view.Pitch = pitch_;
    view.Width = a.Width();
    view.Height = a.Height();
    view.Format = format_;
    return Result::Ok;
}

void Surface::Unlock() {
    if (locked_) {
        locked_ = false;
        Changed();
    }
}

const OpaqueRuns* Surface::RebuildRuns(uint32_t key) {
    if (!seen_ || seenGeneration_ != generation_ || seenKey_ != key) {
        seen_ = true;
        seenGeneration_ = generation_;
        seenKey_ = key;
        runsValid_ = false;
        runs_.Clear();
        return nullptr;
    }
    runs_.Build(pixels_.data(), pitch_, width_, height_, format_.BytesPerPixel(), key);
    runsValid_ = true;
    runsGeneration_ = generation_;
    runsKey_ = key;
    return runs_.Worthwhile() ? &runs_ : nullptr;
}

Result Surface::GetDC(std::unique_ptr<DeviceContext>& dc) {
    if (Result r = Usable(); r != Result::Ok) {
        return r;
    }
    dcOut_ = true;
    ++generation_;
    dc = std::make_unique<DeviceContext>(*this);
    return Result::Ok;
}

} // namespace platform
