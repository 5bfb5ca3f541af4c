#pragma once

#include "demo/ForwardingPlatform.h"

#include <deque>

// The window as the sessions of a game share it (the desktop's, the page's). While a screen outside the game is shown
// (the records, a run watched) the game runs no frame and its events go to that screen; the window's
// events the game must still learn of (focus, painting, a closed window, where the pointer is now)
// are held for it and given to it when it plays again. The window stays open when a session's form
// goes, for the next session; a new session is told that the window is in front, as a new window is.
class WindowGate : public ForwardingPlatform {
public:
    using ForwardingPlatform::ForwardingPlatform;

    bool PollEvent(platform::Event& event) override {
        if (!held_.empty()) {
            event = held_.front();
            held_.pop_front();
            return true;
        }
        return inner_.PollEvent(event);
    }
    void HideWindow() override {}

    // Keeps an event that came while the game was away for the game.
    void Hold(const platform::Event& event) {
        using Type = platform::Event::Type;
        switch (event.Kind) {
        case Type::MouseDown:
        case Type::MouseUp:
            // A click on another screen is no click in the game.
            return;
        case Type::MouseMove:
            if (!held_.empty() && held_.back().Kind == Type::MouseMove) {
                held_.back() = event;
                return;
            }
            break;
        default:
            break;
        }
        held_.push_back(event);
    }

    // A new session begins in the window the last one left: it is told the window is in front.
    void NewSession() {
        if (inner_.IsForeground()) {
            held_.push_back(platform::Event{platform::Event::Type::FocusGained});
        }
    }
    // The next event from the window itself, for a screen outside the game.
    bool PollWindow(platform::Event& event) { return inner_.PollEvent(event); }

private:
    std::deque<platform::Event> held_;
};

// The window lent to a run watched from the records: the window's events are held for the game, but
// for a closed window, which ends the watch (and then the game).
class WatchedWindow : public ForwardingPlatform {
public:
    explicit WatchedWindow(WindowGate& gate)
        : ForwardingPlatform(static_cast<platform::Platform&>(gate)), gate_(gate) {}

    bool PollEvent(platform::Event& event) override {
        while (gate_.PollWindow(event)) {
            if (event.Kind == platform::Event::Type::Quit) {
                return true;
            }
            gate_.Hold(event);
        }
        return false;
    }

private:
    WindowGate& gate_;
};
