#pragma once

#include "demo/Demo.h"
#include "demo/ForwardingPlatform.h"

#include <deque>
#include <functional>
#include <vector>

// The platform as a demo or a script has it: the clock, the time of day, the keys, the focus and
// the window's events all come from the driver; the display, the window and the error box are the
// inner platform's. Of the inner platform's own events only a closed window passes (once), so that
// a replay in a real window, or one stopped by a signal, ends.
class ScriptedPlatform : public ForwardingPlatform {
public:
    ScriptedPlatform(platform::Platform& inner, const platform::TimeOfDay& utc, uint32_t clock, bool foreground);

    uint32_t Milliseconds() override { return clock_; }
    platform::TimeOfDay UtcTimeOfDay() override { return utc_; }
    bool PollEvent(platform::Event& event) override;
    // Nothing outside the script can arrive, so there is nothing to wait for.
    void WaitEvent(uint32_t /*timeoutMs*/) override {}
    bool IsForeground() override { return foreground_; }
    void GetKeyState(platform::KeyState& keys) override { keys = keys_; }
    void ShowErrorBox(const std::string& title, const std::string& message) override;

    // Starts the next frame: the clock steps on and the frame's inputs take effect.
    void BeginFrame(const DemoFrame& frame);
    // Single inputs, taking effect at once (events are delivered by the next message pass).
    void Apply(const DemoInput& input);
    void StepClock(uint32_t milliseconds) { clock_ += milliseconds; }

    const platform::KeyState& Keys() const { return keys_; }
    // Set once a real window has been closed.
    bool WindowClosed() const { return windowClosed_; }
    // Called with each error shown, before the inner platform shows it.
    std::function<void(const std::string& message)> OnError;

private:
    platform::TimeOfDay utc_;
    uint32_t clock_;
    bool foreground_;
    platform::KeyState keys_{};
    static constexpr int kInnerEventsPerPoll = 64;

    std::deque<platform::Event> events_;
    bool windowClosed_ = false;
    bool quitPending_ = false;
};
