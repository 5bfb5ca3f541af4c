#pragma once

#include <iosfwd>
#include <string>

// The verifying child's side: the server runs itself again in this mode for each demo, under
// limits of processor time, memory and wall-clock time, so that a hostile demo can at worst end
// its own child. The child replays the demo by the rules alone and writes what it found as JSON
// lines: one per run (as `vorkalith --verify` prints them), then one closing line, either
// {"Frames":N,"DemoFrames":M,"EndedEarly":false} or {"Error":KIND,"Line":N,"Message":TEXT} with
// KIND "damaged", "levels" (other level files) or "cap" (too long).
class VerifyChild {
public:
    // The demo is read from `demoPath` (the parent hands over an open file as /proc/self/fd/N),
    // the level files from `levelsDir`. Returns the exit status: 0 whenever the lines were written.
    static int Run(const std::string& demoPath, const std::string& levelsDir, std::ostream& out);
};
