#pragma once

#include "platform/app/Platform.h"

#include <memory>
#include <string>

// A platform that hands every call on to an inner one. The recording and scripted platforms
// derive from it and override only the calls whose answers they keep or make up themselves.
class ForwardingPlatform : public platform::Platform {
public:
    explicit ForwardingPlatform(platform::Platform& inner) : inner_(inner) {}
    // A platform over another forwarding one is made from it as a Platform, never copied from it
    // (which would skip it and forward to its inner platform).
    ForwardingPlatform(const ForwardingPlatform&) = delete;
    ForwardingPlatform& operator=(const ForwardingPlatform&) = delete;

    std::unique_ptr<platform::DisplayDevice> CreateDisplayDevice() override { return inner_.CreateDisplayDevice(); }
    uint32_t Milliseconds() override { return inner_.Milliseconds(); }
    platform::TimeOfDay UtcTimeOfDay() override { return inner_.UtcTimeOfDay(); }
    void SetTitle(const std::string& title) override { inner_.SetTitle(title); }
    void ShowWindow(const std::string& caption) override { inner_.ShowWindow(caption); }
    void HideWindow() override { inner_.HideWindow(); }
    bool PollEvent(platform::Event& event) override { return inner_.PollEvent(event); }
    void WaitEvent(uint32_t timeoutMs) override { inner_.WaitEvent(timeoutMs); }
    bool IsForeground() override { return inner_.IsForeground(); }
    void GetKeyState(platform::KeyState& keys) override { inner_.GetKeyState(keys); }
    void ShowErrorBox(const std::string& title, const std::string& message) override {
        inner_.ShowErrorBox(title, message);
    }

protected:
    platform::Platform& inner_;
};
