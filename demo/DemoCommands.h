#pragma once

#include "platform/Platform.h"

#include <string>
#include <vector>

// The game's demo options, taken out of its command line.
struct DemoOptions {
    std::string RecordFile;   // --record FILE
    std::string PlaybackFile; // --playback FILE
    bool Headless = false;    // --headless
    bool Force = false;       // --force
    std::string Error;        // a usage error, empty when the options are sound

    bool Active() const { return !RecordFile.empty() || !PlaybackFile.empty(); }
    // Removes the demo options from `arguments` (the game sees the rest) and checks them.
    static DemoOptions Take(std::vector<std::string>& arguments);
};

// vorkalith --record FILE: the game in the given window platform, with everything it reads from
// outside written to FILE; prints the final-state line at the end. Returns the exit status.
int RecordGame(platform::Platform& live, const std::string& file, const std::vector<std::string>& arguments);

// vorkalith --playback FILE: the demo replayed in the window of `window` at 60 frames a second, or
// headless as fast as possible when `window` is null; prints the final-state line at the end.
// Level files that differ from the recorded ones are reported and refused unless `force`, which
// also plays a demo cut short. Returns the exit status.
int PlayDemo(platform::Platform* window, const std::string& file, bool force);
