#include "records/WatchPacer.h"

#include "platform/app/Platform.h"

#include <thread>

namespace {
constexpr auto kPeriod = std::chrono::microseconds(1000000 / 60);
constexpr int kEsc = 1;
} // namespace

WatchPacer::WatchPacer(platform::Platform* window) : window_(window), due_(std::chrono::steady_clock::now()) {}

bool WatchPacer::Frame() {
    if (!window_) {
        return true;
    }
    due_ += kPeriod;
    const auto now = std::chrono::steady_clock::now();
    // After a stall (a slow first frame) the pace starts again rather than hurrying to catch up.
    if (due_ < now - kPeriod) {
        due_ = now;
    }
    std::this_thread::sleep_until(due_);
    platform::KeyState keys{};
    window_->GetKeyState(keys);
    const bool esc = (keys[kEsc] & 0x80) != 0;
    const bool pressed = esc && !escHeld_;
    escHeld_ = esc;
    return !pressed;
}
