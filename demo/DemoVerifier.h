#pragma once

#include "demo/Demo.h"
#include "demo/RunTracker.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A run as a verifying replay played it.
struct VerifiedRun {
    GameRun Played;
    // Every level file the run read up to the level it reached was the installed one.
    bool InstalledLevels = false;
    // The date of a daily run: the demo's first game, played on the seed of the date the demo
    // states and started within that UTC date.
    std::optional<UtcDate> Daily;
};

// What replaying a demo by the rules alone found.
struct Verification {
    std::vector<VerifiedRun> Runs;
    uint64_t Frames = 0;
    // The game ended while the demo still had frames: the replay went another way.
    bool EndedEarly = false;
};

// Tells what a demo proves: it is replayed by the rules alone on the level files in use, and
// only that replay counts; nothing the demo says about its result is read.
class DemoVerifier {
public:
    // The largest demo file verified, and the most frames replayed: two hours at 60 frames a second.
    static constexpr std::size_t kMaxFileBytes = 8u << 20;
    static constexpr uint64_t kMaxFrames = 432'000;

    // Reads a demo to verify: a regular file of at most kMaxFileBytes holding a whole demo (with its
    // end line) of at most kMaxFrames frames, recorded with the level files of the folder in use
    // and naming no other files than those. Raises DemoError naming the file and the line at fault
    // (0 for the file as a whole).
    static Demo Read(const std::string& path);
    // Replays at most `maxFrames` frames of the demo by the rules alone and reports its runs; a run
    // cut off by the end of the demo (or by `maxFrames`) is Unfinished. Raises DemoError when the
    // game cannot start.
    static Verification Replay(const Demo& demo, uint64_t maxFrames = kMaxFrames);
    // A run as one line of JSON; `number` counts the demo's runs from 1.
    static std::string Json(const VerifiedRun& run, std::size_t number);
};
