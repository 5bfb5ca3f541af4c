#pragma once

#include "platform/app/Platform.h"
#include "platform/inputmap/GamepadMapper.h"
#include "platform/pixels/DeviceContext.h"

#include <deque>
#include <string>
#include <vector>

namespace platform {

class HeadlessDisplayDevice;

// The emulated display and window without any window: for tests, benchmarks and simulation.
// Its clock is simulated: it stands still until a vertical-blank wait or an idle wait moves it
// on, or a test advances it. Modes, surface loss, keys, focus and events are injected.
class HeadlessPlatform : public Platform {
public:
    HeadlessPlatform();
    ~HeadlessPlatform() override;

    std::unique_ptr<DisplayDevice> CreateDisplayDevice() override;
    uint32_t Milliseconds() override;
    TimeOfDay UtcTimeOfDay() override;
    void SetTitle(const std::string& title) override { Title = title; }
    void ShowWindow(const std::string& caption) override;
    void HideWindow() override { WindowShown = false; }
    bool PollEvent(Event& event) override;
    void WaitEvent(uint32_t timeoutMs) override;
    bool IsForeground() override { return Foreground; }
    void GetKeyState(KeyState& keys) override;
    void ShowErrorBox(const std::string& title, const std::string& message) override;

    // Injection and inspection.
    std::vector<DisplayMode> Modes;           // offered modes; every common mode by default
    DisplayMode Desktop{1024, 768, 32};       // the mode before any change
    std::size_t VideoMemoryBytes = 64u << 20; // video memory; system memory is unlimited
    bool RefuseDisplay = false;               // CreateDisplayDevice fails
    int RestoreRefusals = 0;                  // the next restore attempts fail while above 0
    bool Foreground = true;
    KeyState Keys{};
    std::vector<std::string> Errors; // every error box, as "title: message"
    bool EchoErrors = true;          // also write them to standard error
    std::string Title;
    std::string Caption;
    bool WindowShown = false;

    void PushEvent(const Event& event) { events_.push_back(event); }
    // Game controllers: events go through the same mapping as on the real display.
    GamepadMapper Pads;
    void PushPadEvent(const PadEvent& event) { Pads.Handle(event); }
    // Moves the window to the front or behind another one, with the matching focus event.
    void SetForeground(bool foreground);
    void PressKey(int code) { Keys[static_cast<std::size_t>(code)] = 0x80; }
    void ReleaseKey(int code) { Keys[static_cast<std::size_t>(code)] = 0; }
    // Takes the surfaces of every live display device away.
    void LoseSurfaces();

    // Simulated time in microseconds; Milliseconds() is ClockStart plus the whole milliseconds of it.
    uint64_t NowMicros = 0;
    uint32_t ClockStart = 0;
    void AdvanceClock(uint64_t micros) { NowMicros += micros; }

    // What the screen showed at the last change of the screen surface: its raw pixels, rows packed,
    // Width x bytes per pixel each, in ScreenMode's depth.
    int ShowCount = 0;
    DisplayMode ScreenMode;
    std::vector<uint8_t> ScreenBits;
    // The same screen as colours, converted when asked for rather than at every frame.
    const RgbImage& ScreenImage() const;
    int VerticalBlanks = 0;

private:
    friend class HeadlessDisplayDevice;
    std::deque<Event> events_;
    std::vector<HeadlessDisplayDevice*> devices_;
    PixelFormat screenFormat_;
    int screenWidth_ = 0;
    // The conversion is a cache of ScreenBits, made by the const reader.
    mutable RgbImage screenImage_;
    mutable int convertedShow_ = -1;
    mutable std::vector<Rgb> colours16_;
};

} // namespace platform
