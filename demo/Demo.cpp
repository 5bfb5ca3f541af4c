#include "demo/Demo.h"

bool Demo::operator==(const Demo& other) const {
    return Version == other.Version && Utc.Hours == other.Utc.Hours && Utc.Minutes == other.Utc.Minutes &&
           Utc.Seconds == other.Utc.Seconds && Utc.Milliseconds == other.Utc.Milliseconds && Clock == other.Clock &&
           Foreground == other.Foreground && Arguments == other.Arguments && Levels == other.Levels &&
           Frames == other.Frames;
}

uint64_t Demo::FrameCount() const {
    uint64_t n = 0;
    for (const DemoFrame& frame : Frames) {
        n += frame.Repeat;
    }
    return n;
}
