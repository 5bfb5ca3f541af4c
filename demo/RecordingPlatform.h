#pragma once

#include "demo/Demo.h"
#include "demo/ForwardingPlatform.h"

#include <optional>
#include <string>
#include <vector>

class DemoWriter;

// Passes the game's calls on to the inner platform and writes down everything the game reads
// from outside: the time of day (taken once at start-up), the clock (held still through each
// frame, so that every reading within one frame agrees), the window's events, the keys and the
// focus. The frame loop calls BeginFrame before and EndFrame after each message pass; level file
// digests reach the writer through the level loader's observer while recording.
class RecordingPlatform : public ForwardingPlatform {
public:
    // `daily` is written down for a daily session, `playerInterface` for one with the player's
    // interface.
    RecordingPlatform(platform::Platform& inner, DemoWriter& writer, const std::vector<std::string>& arguments,
                      const std::optional<DemoDaily>& daily = std::nullopt, bool playerInterface = false);
    ~RecordingPlatform() override;

    uint32_t Milliseconds() override { return clock_; }
    platform::TimeOfDay UtcTimeOfDay() override { return utc_; }
    bool PollEvent(platform::Event& event) override;
    bool IsForeground() override;
    void GetKeyState(platform::KeyState& keys) override;

    void BeginFrame();
    void EndFrame();
    // The clock from the session's start to the frame begun last, as a replay counts it.
    uint64_t ElapsedMs() const { return elapsedMs_; }

private:
    DemoWriter& writer_;
    platform::TimeOfDay utc_;
    uint32_t clock_;
    uint64_t elapsedMs_ = 0;
    bool foreground_;
    platform::KeyState keys_{};
    DemoFrame frame_;
};
