#pragma once

#include <chrono>

namespace platform {
class Platform;
}

// Holds the frames of a watched run to 60 a second in a window, and tells when the player asks to
// stop it with Esc. Headless (no window) it neither waits nor stops.
class WatchPacer {
public:
    explicit WatchPacer(platform::Platform* window);

    // Waits for the next frame's time; false when Esc is pressed: the watch is to stop.
    bool Frame();

private:
    platform::Platform* window_;
    std::chrono::steady_clock::time_point due_;
    // Esc held when the watch began counts only once released.
    bool escHeld_ = true;
};
