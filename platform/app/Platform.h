#pragma once

#include "platform/pixels/DisplayDevice.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Something that happened to the program's window.
struct Event {
    enum class Type {
        Quit,      // the window was closed
        MouseMove, // X, Y in display pixels
        MouseDown, // Button 1 left, 2 middle, 3 right, others beyond
        MouseUp,
        FocusGained, // the window became the foreground window
        FocusLost,
        Expose, // the window must be painted again
    };
    Type Kind = Type::Quit;
    int X = 0;
    int Y = 0;
    int Button = 0;
};

struct TimeOfDay {
    int Hours = 0;
    int Minutes = 0;
    int Seconds = 0;
    int Milliseconds = 0;
};

// Held keys by key code: the keyboard's 256 scan-code positions, bit 7 set when held.
// Code numbering: 1 Esc, 2..11 digits, 16..25 Q..P, 30..38 A..L, 44..50 Z..M, 57 space,
// 59..68 F1..F10, 71..83 numeric pad, 200/203/205/208 the arrows, and so on.
using KeyState = std::array<uint8_t, 256>;

// The operating system as the program sees it: one window showing the emulated display,
// its events, the keyboard, the clocks and the error box. Two back-ends: SDL and headless.
class Platform {
public:
    virtual ~Platform() = default;

    // A new display object; null when the display cannot be had.
    virtual std::unique_ptr<DisplayDevice> CreateDisplayDevice() = 0;

    // Milliseconds since an arbitrary start, wrapping around after 2^32.
    virtual uint32_t Milliseconds() = 0;
    virtual TimeOfDay UtcTimeOfDay() = 0;

    // The application's title (task bar) and the window's caption.
    virtual void SetTitle(const std::string& title) = 0;
    // Opens the window covering the desktop; it reports FocusGained once it is in front.
    virtual void ShowWindow(const std::string& caption) = 0;
    virtual void HideWindow() = 0;
    virtual bool PollEvent(Event& event) = 0;
    // Blocks until an event arrives or `timeoutMs` have passed.
    virtual void WaitEvent(uint32_t timeoutMs) = 0;
    // True while the window has the keyboard focus.
    virtual bool IsForeground() = 0;
    virtual void GetKeyState(KeyState& keys) = 0;

    // A modal report of an error that no handler caught.
    virtual void ShowErrorBox(const std::string& title, const std::string& message) = 0;
};

} // namespace platform
