#pragma once

#include <cstdint>
#include <functional>

class TApplication;

// Runs the application's message loop one pass at a time, as TApplication::Run does: pending
// messages and timers, then the idle slot, whose frame timer gives one frame of the game per
// call. Record, playback and the simulator all go through it, so that they pass alike.
class FrameLoop {
public:
    explicit FrameLoop(TApplication& application) : application_(application) {}

    // One pass; false once the application has ended (during the pass or before it).
    bool Pass();
    // Passes that reached the idle slot.
    uint64_t Frames() const { return frames_; }
    bool Ended() const;

private:
    TApplication& application_;
    uint64_t frames_ = 0;
};
