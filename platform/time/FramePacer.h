#pragma once

namespace platform {

// Paces frames to the emulated display's 60 Hz from the refresh callbacks of a real display,
// whatever that display's rate: given the time of each callback, it says whether a frame is due.
// On a 60 Hz display every callback runs a frame; on a 120 or 144 Hz one, every second or so; on
// a slower one, a frame per callback (the game then runs slower, as it did on a slow machine).
// After a pause (a hidden page, a stalled machine) it starts again from the next callback rather
// than running the missed frames.
class FramePacer {
public:
    static constexpr double kFrameMs = 1000.0 / 60.0;

    // True when a frame is due at `nowMs` (a monotonic clock in milliseconds).
    bool FrameDue(double nowMs);
    // Forget the schedule: the next callback runs a frame.
    void Reset() { started_ = false; }

private:
    bool started_ = false;
    double next_ = 0.0;
};

} // namespace platform
