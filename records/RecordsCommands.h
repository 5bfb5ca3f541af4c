#pragma once

namespace platform {
class Platform;
}

// vorkalith --scores [--json]: the records table printed, tab-separated or as JSON. Returns the
// exit status: 0, or 1 when the records file cannot be read.
int PrintScores(bool json);

// vorkalith --watch N: run N of the records table (counted from 1) played from its start in the
// window of `window` at 60 frames a second until its last frame, Esc or a closed window; headless
// when `window` is null, printing the final-state line of the run's last frame. Returns the exit
// status: 1 when there is no such run, its demo cannot be played, or (played to its end) it ends in
// another state than the one recorded.
int WatchRun(platform::Platform* window, int row);
