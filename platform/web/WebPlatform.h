#pragma once

#include "platform/app/Platform.h"

#include <memory>

namespace platform {

// The browser back-end: the emulated display shown in the page's canvas (id "screen"), scaled
// to the window with its aspect kept and whole pixels sharp; keyboard, mouse, focus and
// visibility from the page's events; the error box as an overlay over the page. It never
// blocks: the page's frame loop paces the frames (vertical-blank waits return at once).
class WebPlatform : public Platform {
public:
    WebPlatform();
    ~WebPlatform() override;
    WebPlatform(const WebPlatform&) = delete;
    WebPlatform& operator=(const WebPlatform&) = delete;

    std::unique_ptr<DisplayDevice> CreateDisplayDevice() override;
    uint32_t Milliseconds() override;
    TimeOfDay UtcTimeOfDay() override;
    void SetTitle(const std::string& title) override;
    void ShowWindow(const std::string& caption) override;
    void HideWindow() override;
    bool PollEvent(Event& event) override;
    void WaitEvent(uint32_t timeoutMs) override;
    bool IsForeground() override;
    void GetKeyState(KeyState& keys) override;
    // Opens the overlay and returns; the frame loop holds while ErrorBoxOpen.
    void ShowErrorBox(const std::string& title, const std::string& message) override;

    bool ErrorBoxOpen() const;
    bool PageHidden() const;

    // Page events, display devices and keys, shared with the event handlers; defined with them.
    struct State;

private:
    std::unique_ptr<State> state_;
};

} // namespace platform
