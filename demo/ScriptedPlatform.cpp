#include "demo/ScriptedPlatform.h"

ScriptedPlatform::ScriptedPlatform(platform::Platform& inner, const platform::TimeOfDay& utc, uint32_t clock,
                                   bool foreground)
    : ForwardingPlatform(inner), utc_(utc), clock_(clock), foreground_(foreground) {}

bool ScriptedPlatform::PollEvent(platform::Event& event) {
    platform::Event own;
    while (inner_.PollEvent(own)) {
        windowClosed_ = windowClosed_ || own.Kind == platform::Event::Type::Quit;
    }
    if (windowClosed_) {
        event = platform::Event{platform::Event::Type::Quit};
        events_.clear();
        return true;
    }
    if (events_.empty()) {
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
