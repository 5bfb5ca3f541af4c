#pragma once

#include "demo/Demo.h"
#include "platform/app/Platform.h"

#include <optional>
#include <string>
#include <vector>

// The reason the demo options cannot be used together, empty when they can: --headless needs
// --playback, --force --playback or --record.
std::string DemoUsageError(const std::string& playbackFile, bool headless, bool force,
                           const std::string& recordFile = {});

// vorkalith --record FILE: the game in the given window platform, with everything it reads from
// outside written to FILE (and `daily` for a daily session); prints the final-state line at the
// end. An existing FILE is refused unless `replace` (--force); a failure to write is reported at
// once and the game goes on. Returns the exit status.
int RecordGame(platform::Platform& live, const std::string& file, const std::vector<std::string>& arguments,
               bool replace = false, const std::optional<DemoDaily>& daily = std::nullopt);

// vorkalith --playback FILE: the demo replayed in the window of `window` at 60 frames a second, or
// headless as fast as possible when `window` is null; prints the final-state line at the end.
// Level files that differ from the recorded ones are reported and refused unless `force`, which
// also plays a demo cut short. Returns the exit status.
int PlayDemo(platform::Platform* window, const std::string& file, bool force);

// vorkalith --verify FILE: the demo replayed by the rules alone on the level files in use, one line
// of JSON printed for each run in it (DemoVerifier). Returns 0 when it replays cleanly, 1 with the
// reason (and the line at fault) when it is damaged, refused or needs other level files, or when
// the replay went another way than the recording.
int VerifyDemo(const std::string& file);
