#include "demo/ScriptedPlatform.h"

ScriptedPlatform::ScriptedPlatform(platform::Platform& inner, const platform::TimeOfDay& utc, uint32_t clock,
                                   bool foreground)
    : ForwardingPlatform(inner), utc_(utc), clock_(clock), foreground_(foreground) {}

bool ScriptedPlatform::PollEvent(platform::Event& event) {
    // The inner platform's own events are looked at a bounded number per call, so that a source
    // that keeps answering cannot hold the loop; of them only a closed window counts.
    platform::Event own;
    for (int i = 0; i < kInnerEventsPerPoll && inner_.PollEvent(own); ++i) {
        if (own.Kind == platform::Event::Type::Quit && !windowClosed_) {
            windowClosed_ = true;
            quitPending_ = true;
        }
    }
    // A closed window is delivered once, ahead of the script's events, which it drops.
    if (quitPending_) {
        quitPending_ = false;
        events_.clear();
        event = platform::Event{platform::Event::Type::Quit};
        return true;
    }
    if (windowClosed_ || events_.empty()) {
        return false;
    }
    event = events_.front();
    events_.pop_front();
    return true;
}

void ScriptedPlatform::ShowErrorBox(const std::string& title, const std::string& message) {
    if (OnError) {
        OnError(message);
    }
    inner_.ShowErrorBox(title, message);
}

void ScriptedPlatform::BeginFrame(const DemoFrame& frame) {
    StepClock(frame.Delta);
    for (const DemoInput& input : frame.Inputs) {
        Apply(input);
    }
}

void ScriptedPlatform::Apply(const DemoInput& input) {
    using Kind = DemoInput::Kind;
    using Type = platform::Event::Type;
    switch (input.What) {
    case Kind::KeyDown:
    case Kind::KeyUp:
        keys_[static_cast<std::size_t>(input.A & 0xff)] = input.What == Kind::KeyDown ? 0x80 : 0;
        break;
    case Kind::MouseMove:
        events_.push_back(platform::Event{Type::MouseMove, input.A, input.B, 0});
        break;
    case Kind::MouseDown:
        events_.push_back(platform::Event{Type::MouseDown, input.A, input.B, input.C});
        break;
    case Kind::MouseUp:
        events_.push_back(platform::Event{Type::MouseUp, input.A, input.B, input.C});
        break;
    case Kind::FocusGained:
        events_.push_back(platform::Event{Type::FocusGained});
        break;
    case Kind::FocusLost:
        events_.push_back(platform::Event{Type::FocusLost});
        break;
    case Kind::Expose:
        events_.push_back(platform::Event{Type::Expose});
        break;
    case Kind::Quit:
        events_.push_back(platform::Event{Type::Quit});
        break;
    case Kind::Foreground:
        foreground_ = input.A != 0;
        break;
    }
}
