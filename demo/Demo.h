#pragma once

#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The demo format's version line; this program writes kDemoVersion and reads every version
// from kOldestDemoVersion on.
inline constexpr const char* kDemoMagic = "vorkalith-demo";
inline constexpr int kDemoVersion = 2;
inline constexpr int kOldestDemoVersion = 1;
// Recordings from this version on were made with quick clicks counted (TForm1::CountQuickClicks).
inline constexpr int kQuickClicksDemoVersion = 2;

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

// Everything a game read from outside: enough to play it again exactly.
struct Demo {
    // The format version it was written in: an older recording replays under the rules it was
    // recorded with.
    int Version = kDemoVersion;
    platform::TimeOfDay Utc;            // time of day the game saw at start-up
    uint32_t Clock = 0;                 // the millisecond clock when the game started
    bool Foreground = false;            // the window had the keyboard focus when the game started
    std::vector<std::string> Arguments; // the command line after the program name
    std::vector<LevelDigest> Levels;    // every level file opening, in order
    std::vector<DemoFrame> Frames;

    // Frames counting every repeat.
    uint64_t FrameCount() const;
    bool operator==(const Demo& other) const;
};
