#pragma once

#include "platform/base/Result.h"
#include "platform/pixels/Surface.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

class SurfaceRegistry;

struct DisplayMode {
    int Width = 0;
    int Height = 0;
    int BitCount = 0;
    constexpr bool operator==(const DisplayMode&) const = default;
};

struct DisplayCaps {
    std::size_t VideoMemoryTotal = 0;
    std::size_t VideoMemoryFree = 0;
};

// Flags of SetCooperativeLevel.
namespace coop {
constexpr uint32_t FullScreen = 0x01;
constexpr uint32_t AllowReboot = 0x02;
constexpr uint32_t NoWindowChanges = 0x04;
constexpr uint32_t Normal = 0x08;
constexpr uint32_t Exclusive = 0x10;
constexpr uint32_t AllowModeX = 0x40;
} // namespace coop

// The emulated display: its modes, its surfaces and the pace of its refresh. A back-end
// derives from it to show the screen surface and to wait for the vertical blank.
class DisplayDevice {
public:
    DisplayDevice(DisplayMode desktop, std::size_t videoMemoryBytes);
    virtual ~DisplayDevice();
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    // Every mode the display offers, in no particular order.
    virtual std::vector<DisplayMode> EnumDisplayModes() = 0;
    // Returns at the start of the next vertical blank of the 60 Hz emulated display.
    virtual Result WaitForVerticalBlank() = 0;

    Result SetCooperativeLevel(uint32_t flags);
    uint32_t CooperativeLevel() const { return cooperativeLevel_; }
    // Sets an offered mode; UnsupportedMode for any other.
    Result SetDisplayMode(int width, int height, int bitCount);
    // Back to the mode the display had before SetDisplayMode.
    void RestoreDisplayMode();
    DisplayMode CurrentMode() const { return current_; }

    Result CreateSurface(const SurfaceDesc& desc, std::unique_ptr<Surface>& out);
    DisplayCaps GetCaps() const;
    // Takes every surface of the device away, as a display switched to another program does.
    void LoseSurfaces();

protected:
    // The screen surface has new contents; the back-end shows them.
    virtual void Show(const Surface& primary) = 0;
    // The shown image changes size or format.
    virtual void ModeChanged(const DisplayMode& /*mode*/) {}
    // False while the display is away, so that lost surfaces cannot be restored yet.
    virtual bool CanRestoreSurfaces() { return true; }

private:
    std::shared_ptr<SurfaceRegistry> registry_;
    DisplayMode desktop_;
    DisplayMode current_;
    uint32_t cooperativeLevel_ = 0;
};

} // namespace platform
