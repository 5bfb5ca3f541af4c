#include "platform/time/FramePacer.h"

namespace platform {

namespace {
// Callbacks arrive with some jitter around the display's refresh; one that comes up to this much
// before the frame's time still runs it, so a 60 Hz display never skips a refresh.
constexpr double kEarlyMs = 2.0;
// Falling further behind than this gives up catching up.
constexpr double kBehindMs = 3 * FramePacer::kFrameMs;
} // namespace

bool FramePacer::FrameDue(double nowMs) {
    if (!started_ || nowMs - next_ > kBehindMs || next_ - nowMs > kBehindMs + kFrameMs) {
        // First frame, or a pause, or a clock that went back: start the schedule here.
        started_ = true;
        next_ = nowMs + kFrameMs;
        return true;
    }
    if (nowMs < next_ - kEarlyMs) {
        return false;
    }
    // The schedule moves in whole frames, so the average rate is exactly 60 Hz.
    next_ += kFrameMs;
    return true;
}

} // namespace platform
