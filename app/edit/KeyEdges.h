#pragma once

#include "platform/app/Platform.h"

#include <array>
#include <cstdint>

// Key positions (as platform::KeyState numbers keys) that the editor reads.
namespace key {
constexpr int Esc = 1, Digit1 = 2, Backspace = 14, Tab = 15, Y = 21, P = 25, Enter = 28, ControlLeft = 29, S = 31,
              ShiftLeft = 42, Z = 44, N = 49, ShiftRight = 54, AltLeft = 56, Space = 57, F1 = 59, F5 = 63,
              PadEnter = 156, ControlRight = 157, AltRight = 184, Up = 200, Left = 203, Right = 205, Down = 208,
              Delete = 211;
}

// The keys of one frame compared with those of the frame before: which went down, which came
// up, and which held ones repeat (after half a second, then every fifteenth of a second).
class KeyEdges {
public:
    // Takes this frame's keys.
    void Update(const platform::KeyState& keys);
    // Takes the keys as they are without any counting as pressed: for a screen that starts
    // while keys of the one before are still held.
    void Prime(const platform::KeyState& keys);

    bool Held(int code) const { return (now_[code] & 0x80) != 0; }
    bool Pressed(int code) const { return Held(code) && (before_[code] & 0x80) == 0; }
    bool Released(int code) const { return !Held(code) && (before_[code] & 0x80) != 0; }
    // Pressed, or held long enough to repeat in this frame.
    bool Repeated(int code) const;
    bool Shift() const { return Held(key::ShiftLeft) || Held(key::ShiftRight); }
    bool Control() const { return Held(key::ControlLeft) || Held(key::ControlRight); }
    bool Alt() const { return Held(key::AltLeft) || Held(key::AltRight); }
    // Enter (either one) pressed without Alt, which with Enter switches the window mode.
    bool Confirmed() const { return (Pressed(key::Enter) || Pressed(key::PadEnter)) && !Alt(); }
    // Pressed with Control (and with Shift only when `shift`).
    bool Chord(int code, bool shift = false) const { return Pressed(code) && Control() && Shift() == shift; }
    const platform::KeyState& Keys() const { return now_; }

    static constexpr int kRepeatDelay = 30; // frames
    static constexpr int kRepeatEvery = 4;

private:
    platform::KeyState now_{};
    platform::KeyState before_{};
    std::array<int, 256> heldFrames_{};
};
