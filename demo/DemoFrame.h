#pragma once

#include <cstdint>
#include <vector>

// One input the game received from outside during a frame.
struct DemoInput {
    enum class Kind : uint8_t {
        KeyDown,     // A: key code (held from this frame's keyboard read on)
        KeyUp,       // A: key code
        MouseMove,   // A, B: position
        MouseDown,   // A, B: position, C: button
        MouseUp,     // A, B: position, C: button
        FocusGained, // the window came to the front
        FocusLost,
        Expose,     // the window had to be painted again
        Quit,       // the window was closed
        Foreground, // A: 1 when the window now has the keyboard focus, 0 when not (as the game asks)
    };
    Kind What = Kind::Quit;
    int A = 0;
    int B = 0;
    int C = 0;

    bool operator==(const DemoInput&) const = default;
};

// One pass of the message loop: the clock step since the pass before, then the window events
// in the order they were delivered and the key changes its keyboard read saw.
struct DemoFrame {
    uint32_t Delta = 0;  // milliseconds of the frame clock since the previous frame
    uint32_t Repeat = 1; // frames without input stored once: this many, Delta apart
    std::vector<DemoInput> Inputs;

    bool operator==(const DemoFrame&) const = default;
};
