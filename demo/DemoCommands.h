#pragma once

#include "platform/app/Platform.h"

#include <string>
#include <vector>

// The reason the demo options cannot be used together, empty when they can: --headless needs
// --playback, --force --playback or --record.
std::string DemoUsageError(const std::string& playbackFile, bool headless, bool force,
                           const std::string& recordFile = {});

// vorkalith --record FILE: the game in the given window platform, with everything it reads from
// outside written to FILE; prints the final-state line at the end. An existing FILE is refused
// unless `replace` (--force); a failure to write is reported at once and the game goes on.
// Returns the exit status.
int RecordGame(platform::Platform& live, const std::string& file, const std::vector<std::string>& arguments,
               bool replace = false);

// vorkalith --playback FILE: the demo replayed in the window of `window` at 60 frames a second, or
// headless as fast as possible when `window` is null; prints the final-state line at the end.
// Level files that differ from the recorded ones are reported and refused unless `force`, which
// also plays a demo cut short. Returns the exit status.
int PlayDemo(platform::Platform* window, const std::string& file, bool force);
