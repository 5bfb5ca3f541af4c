#include "demo/RecordingPlatform.h"

#include "demo/DemoWriter.h"
#include "demo/LevelDigests.h"
#include "game/LevelLoader.h"

RecordingPlatform::RecordingPlatform(platform::Platform& inner, DemoWriter& writer,
                                     const std::vector<std::string>& arguments, const std::optional<DemoDaily>& daily,
                                     bool playerInterface)
    : ForwardingPlatform(inner), writer_(writer), utc_(inner.UtcTimeOfDay()), clock_(inner.Milliseconds()),
      foreground_(inner.IsForeground()) {
    writer_.Header(utc_, clock_, foreground_, arguments, daily, playerInterface);
    SetLevelFileObserver([this](const std::string& fileName, std::span<const uint8_t> bytes) {
        writer_.Level(LevelDigest{fileName, bytes.size(), LevelDigests::Of(bytes)});
    });
}

RecordingPlatform::~RecordingPlatform() {
    SetLevelFileObserver(nullptr);
}

bool RecordingPlatform::PollEvent(platform::Event& event) {
    if (!inner_.PollEvent(event)) {
        return false;
    }
    using Kind = DemoInput::Kind;
    using Type = platform::Event::Type;
    DemoInput input;
    switch (event.Kind) {
    case Type::Quit:
        input.What = Kind::Quit;
        break;
    case Type::MouseMove:
        input = DemoInput{Kind::MouseMove, event.X, event.Y, 0};
        break;
    case Type::MouseDown:
        input = DemoInput{Kind::MouseDown, event.X, event.Y, event.Button};
        break;
    case Type::MouseUp:
        input = DemoInput{Kind::MouseUp, event.X, event.Y, event.Button};
        break;
    case Type::FocusGained:
        input.What = Kind::FocusGained;
        break;
    case Type::FocusLost:
        input.What = Kind::FocusLost;
        break;
    case Type::Expose:
        input.What = Kind::Expose;
        break;
    }
    frame_.Inputs.push_back(input);
    return true;
}

bool RecordingPlatform::IsForeground() {
    const bool now = inner_.IsForeground();
    if (now != foreground_) {
        foreground_ = now;
        frame_.Inputs.push_back(DemoInput{DemoInput::Kind::Foreground, now ? 1 : 0});
    }
    return now;
}

void RecordingPlatform::GetKeyState(platform::KeyState& keys) {
    inner_.GetKeyState(keys);
    for (std::size_t code = 0; code < keys.size(); ++code) {
        const bool held = (keys[code] & 0x80) != 0;
        if (held != ((keys_[code] & 0x80) != 0)) {
            frame_.Inputs.push_back(
                DemoInput{held ? DemoInput::Kind::KeyDown : DemoInput::Kind::KeyUp, static_cast<int>(code)});
        }
    }
    // Only the held bit is kept: it is all that a replay gives back.
    for (std::size_t code = 0; code < keys.size(); ++code) {
        keys[code] &= 0x80;
    }
    keys_ = keys;
}

void RecordingPlatform::BeginFrame() {
    const uint32_t now = inner_.Milliseconds();
    frame_.Delta = now - clock_;
    clock_ = now;
    elapsedMs_ += frame_.Delta;
}

void RecordingPlatform::EndFrame() {
    writer_.Frame(frame_);
    frame_ = DemoFrame{};
}
