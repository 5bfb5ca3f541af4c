#pragma once

#include "game/DailyChallenge.h"
#include "platform/app/Platform.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
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

// A level file as the game read it: its name, how many bytes were read and their digest.
struct LevelDigest {
    std::string FileName;
    std::size_t Bytes = 0;
    uint64_t Hash = 0;

    bool operator==(const LevelDigest&) const = default;
};

// A daily session: the date whose seed the game was given as its time of day, and the real UTC
// time of day at which the session started on that date.
struct DemoDaily {
    UtcDate Date;
    platform::TimeOfDay StartedAt;

    bool operator==(const DemoDaily& other) const;
};

// Everything a game read from outside: enough to play it again exactly.
struct Demo {
    platform::TimeOfDay Utc;            // time of day the game saw at start-up
    std::optional<DemoDaily> Daily;     // set for a daily session
    uint32_t Clock = 0;                 // the millisecond clock when the game started
    bool Foreground = false;            // the window had the keyboard focus when the game started
    std::vector<std::string> Arguments; // the command line after the program name
    std::vector<LevelDigest> Levels;    // every level file opening, in order
    std::vector<DemoFrame> Frames;

    // Frames counting every repeat.
    uint64_t FrameCount() const;
    bool operator==(const Demo& other) const;
};

// The demo format's version line.
inline constexpr const char* kDemoMagic = "vorkalith-demo";
inline constexpr int kDemoVersion = 1;
