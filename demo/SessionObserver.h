#pragma once

#include <cstdint>

class TForm1;

// Follows a session of the game frame by frame as it is played, and its end: what keeps the runs
// of a recorded session.
class SessionObserver {
public:
    virtual ~SessionObserver() = default;
    // After frame `frame` (counted from 1, as the state lines count); `elapsedMs` is the game's
    // clock since the session started.
    virtual void AfterFrame(const TForm1& form, uint64_t frame, uint64_t elapsedMs) = 0;
    // The session ends after `frames` frames: `closed` when the program was ended (the window
    // closed), not when whatever drove it stopped.
    virtual void SessionEnded(const TForm1& form, bool closed, uint64_t frames, uint64_t elapsedMs) = 0;
};
