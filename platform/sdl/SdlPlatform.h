#pragma once

#include "platform/app/Platform.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// How the emulated display's 60 Hz vertical blank is timed.
enum class FramePacing {
    Auto,  // the monitor's vsync when it runs at 60 Hz, the steady clock otherwise
    Clock, // always the steady clock
    Vsync, // the monitor's vsync whatever its rate (still falls back to the clock if vsync does not hold)
};

// The real back-end: one borderless window over the whole desktop (or a framed window; Alt+Enter
// and F11 switch) showing the emulated display scaled to fit, SDL's events, keyboard, game
// controllers and clocks. Owns SDL's video subsystem while it lives.
class SdlPlatform : public Platform {
public:
    // Starts SDL's video; throws Exception "cannot open the display: ..." when that fails.
    explicit SdlPlatform(FramePacing pacing = FramePacing::Auto);
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    std::unique_ptr<DisplayDevice> CreateDisplayDevice() override;
    uint32_t Milliseconds() override;
    TimeOfDay UtcTimeOfDay() override;
    void SetTitle(const std::string& title) override;
    // Makes the window on first use (throws Exception when it cannot be made), shows it otherwise.
    void ShowWindow(const std::string& caption) override;
    void HideWindow() override;
    bool PollEvent(Event& event) override;
    void WaitEvent(uint32_t timeoutMs) override;
    bool IsForeground() override;
    void GetKeyState(KeyState& keys) override;
    void ShowErrorBox(const std::string& title, const std::string& message) override;

    // Before the window is shown: start in a window rather than full screen; scale by whole
    // numbers only rather than as large as fits.
    void SetPresentation(bool windowed, bool integerScale);
    // The window's icon: size x size pixels, 4 bytes each (red, green, blue, alpha).
    void SetIcon(int size, std::vector<uint8_t> rgba);
    // In a window rather than full screen, as the player last chose (Alt+Enter, F11).
    bool Windowed() const;
    // Game controllers' sticks count from this share of their travel (GamepadMapper::SetDeadZone).
    void SetPadDeadZone(double share);

    // True while vertical-blank waits follow the monitor's vsync rather than the steady clock.
    bool PacedByVsync() const;
    // The SDL render driver in use ("opengl", "software", ...); empty before the window exists.
    std::string RendererName() const;

    // Window, renderer and pacing, shared with the display devices; defined with them.
    struct State;

private:
    std::unique_ptr<State> state_;
};

// The SDL back-end as a Platform; throws Exception when SDL's video cannot be started.
std::unique_ptr<Platform> CreateSdlPlatform(FramePacing pacing = FramePacing::Auto);

} // namespace platform
