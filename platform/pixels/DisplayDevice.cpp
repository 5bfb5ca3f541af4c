#include "platform/pixels/DisplayDevice.h"

#include "platform/pixels/SurfaceRegistry.h"

#include <algorithm>

namespace platform {

DisplayDevice::DisplayDevice(DisplayMode desktop, std::size_t videoMemoryBytes)
    : registry_(std::make_shared<SurfaceRegistry>()), desktop_(desktop), current_(desktop) {
    registry_->VideoMemoryBudget = videoMemoryBytes;
    registry_->CanRestore = [this] { return CanRestoreSurfaces(); };
    registry_->PrimaryChanged = [this](const Surface& primary) { Show(primary); };
}

DisplayDevice::~DisplayDevice() {
    // Surfaces may outlive their device; they must not call back into it.
    registry_->CanRestore = [] { return false; };
    registry_->PrimaryChanged = nullptr;
}

Result DisplayDevice::SetCooperativeLevel(uint32_t flags) {
    cooperativeLevel_ = flags;
    return Result::Ok;
}

Result DisplayDevice::SetDisplayMode(int width, int height, int bitCount) {
    DisplayMode wanted{width, height, bitCount};
    auto modes = EnumDisplayModes();
    if (std::find(modes.begin(), modes.end(), wanted) == modes.end()) {
        return Result::UnsupportedMode;
    }
    if (!(current_ == wanted)) {
        current_ = wanted;
        ModeChanged(current_);
    }
    return Result::Ok;
}

void DisplayDevice::RestoreDisplayMode() {
    if (!(current_ == desktop_)) {
        current_ = desktop_;
        ModeChanged(current_);
    }
}

Result DisplayDevice::CreateSurface(const SurfaceDesc& desc, std::unique_ptr<Surface>& out) {
    int width = desc.Primary ? current_.Width : desc.Width;
    int height = desc.Primary ? current_.Height : desc.Height;
    // Larger surfaces than this are refused rather than have their sizes overflow.
    constexpr int kMaxSide = 32768;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        return Result::InvalidParams;
    }
    PixelFormat format = PixelFormat::ForBitCount(current_.BitCount);
    std::size_t rowBytes = (static_cast<std::size_t>(width) * format.BytesPerPixel() + 3) & ~std::size_t{3};
    std::size_t bytes = rowBytes * static_cast<std::size_t>(height);
    bool video = desc.Primary || !desc.SystemMemory;
    if (video && registry_->VideoMemoryUsed + bytes > registry_->VideoMemoryBudget) {
        return Result::OutOfVideoMemory;
    }
    out = std::make_unique<Surface>(registry_, width, height, format, desc.Primary, video);
    return Result::Ok;
}

DisplayCaps DisplayDevice::GetCaps() const {
    std::size_t used = std::min(registry_->VideoMemoryUsed, registry_->VideoMemoryBudget);
    return DisplayCaps{registry_->VideoMemoryBudget, registry_->VideoMemoryBudget - used};
}

void DisplayDevice::LoseSurfaces() {
    registry_->LoseAll();
}

} // namespace platform
