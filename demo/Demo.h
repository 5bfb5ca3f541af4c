#pragma once

#include "demo/DemoFrame.h"
#include "demo/DemoFrames.h"
#include "game/DailyChallenge.h"
#include "platform/app/Platform.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The demo format's version line; this program writes kDemoVersion and reads every version
// from kOldestDemoVersion on.
inline constexpr const char* kDemoMagic = "vorkalith-demo";
inline constexpr int kDemoVersion = 2;
inline constexpr int kOldestDemoVersion = 1;
// Recordings from this version on were made with quick clicks counted (TForm1::CountQuickClicks).
inline constexpr int kQuickClicksDemoVersion = 2;
// The version of the player's interface (the title's hint line and pause) that the `interface`
// line names; the only one there is.
inline constexpr int kInterfaceVersion = 1;

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

class PlayerInterface;

// The player's interface of a session, daily or not.
std::unique_ptr<PlayerInterface> MakePlayerInterface(const std::optional<DemoDaily>& daily);

// Everything a game read from outside: enough to play it again exactly.
struct Demo {
    // The format version it was written in: an older recording replays under the rules it was
    // recorded with.
    int Version = kDemoVersion;
    platform::TimeOfDay Utc;            // time of day the game saw at start-up
    std::optional<DemoDaily> Daily;     // set for a daily session
    bool Interface = false;             // the session had the player's interface (PlayerInterface)
    uint32_t Clock = 0;                 // the millisecond clock when the game started
    bool Foreground = false;            // the window had the keyboard focus when the game started
    std::vector<std::string> Arguments; // the command line after the program name
    std::vector<LevelDigest> Levels;    // every level file opening, in order
    DemoFrames Frames;

    // Frames counting every repeat.
    uint64_t FrameCount() const;
    bool operator==(const Demo& other) const;
};
