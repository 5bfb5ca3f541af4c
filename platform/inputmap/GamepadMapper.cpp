#include "platform/inputmap/GamepadMapper.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {
constexpr int kEsc = 1;
constexpr int kKeyR = 19;
constexpr int kPause = 197;
constexpr int kUp = 200;
constexpr int kLeft = 203;
constexpr int kRight = 205;
constexpr int kDown = 208;
constexpr uint8_t kHeld = 0x80;

// The share of full speed for a stick position: none inside the dead zone, then growing with
// the square of the deflection so that small movements stay precise.
double StickSpeed(int value, int deadZone) {
    const double span = 32767.0 - deadZone;
    const double over = std::max(0.0, std::abs(static_cast<double>(value)) - deadZone);
    const double share = std::min(1.0, over / span);
    return (value < 0 ? -1.0 : 1.0) * share * share;
}
} // namespace

void GamepadMapper::SetDeadZone(double share) {
    const int travel = static_cast<int>(std::lround(std::clamp(share, 0.05, 0.95) * 32767.0));
    stickThreshold_ = travel;
    pointerDeadZone_ = travel;
}

bool GamepadMapper::AnyButtonA() const {
    return std::any_of(pads_.begin(), pads_.end(), [](const auto& p) { return p.second.Buttons[PadEvent::ButtonA]; });
}

void GamepadMapper::Handle(const PadEvent& event) {
    const bool heldBefore = AnyButtonA();
    switch (event.Kind) {
    case PadEvent::Type::Added:
        pads_.try_emplace(event.Pad);
        break;
    case PadEvent::Type::Removed:
        pads_.erase(event.Pad);
        break;
    case PadEvent::Type::Button:
        if (event.Which < PadEvent::OtherControl) {
            pads_[event.Pad].Buttons[event.Which] = event.Pressed;
        }
        break;
    case PadEvent::Type::Axis:
        if (event.Which >= PadEvent::LeftX && event.Which <= PadEvent::RightY) {
            pads_[event.Pad].Axes[event.Which - PadEvent::LeftX] = event.Value;
        }
        break;
    }
    // A is one shared left button: it goes down with the first A held and up with the last
    // released, a pad unplugged with A held included.
    const bool heldAfter = AnyButtonA();
    if (heldBefore != heldAfter) {
        Event e;
        e.Kind = heldAfter ? Event::Type::MouseDown : Event::Type::MouseUp;
        e.Button = 1;
        e.X = static_cast<int>(pointerX_);
        e.Y = static_cast<int>(pointerY_);
        pending_.push_back(e);
    }
}

void GamepadMapper::AddHeldKeys(KeyState& keys) const {
    for (const auto& [id, pad] : pads_) {
        const int x = pad.Axes[0], y = pad.Axes[1];
        if (pad.Buttons[PadEvent::DpadUp] || y <= -stickThreshold_) {
            keys[kUp] = kHeld;
        }
        if (pad.Buttons[PadEvent::DpadDown] || y >= stickThreshold_) {
            keys[kDown] = kHeld;
        }
        if (pad.Buttons[PadEvent::DpadLeft] || x <= -stickThreshold_) {
            keys[kLeft] = kHeld;
        }
        if (pad.Buttons[PadEvent::DpadRight] || x >= stickThreshold_) {
            keys[kRight] = kHeld;
        }
        if (pad.Buttons[PadEvent::ButtonB] || pad.Buttons[PadEvent::ButtonBack]) {
            keys[kEsc] = kHeld;
        }
        if (pad.Buttons[PadEvent::ButtonStart]) {
            keys[kPause] = kHeld;
        }
        if (pad.Buttons[PadEvent::ButtonY]) {
            keys[kKeyR] = kHeld;
        }
    }
}

void GamepadMapper::Tick(uint32_t nowMs, int width, int height) {
    // Unsigned difference: right across the clock's wrap-around.
    const uint32_t elapsed = ticked_ ? nowMs - lastTick_ : 0;
    lastTick_ = nowMs;
    ticked_ = true;
    if (pads_.empty() || width <= 0 || height <= 0) {
        return;
    }
    // A long pause (a modal box, a stalled machine) must not fling the pointer across the screen.
    const double ms = std::min<uint32_t>(elapsed, 100);
    double dx = 0, dy = 0;
    for (const auto& [id, pad] : pads_) {
        dx += StickSpeed(pad.Axes[2], pointerDeadZone_) * kPointerSpeed * ms;
        dy += StickSpeed(pad.Axes[3], pointerDeadZone_) * kPointerSpeed * ms;
    }
    if (dx == 0 && dy == 0) {
        return;
    }
    const int oldX = static_cast<int>(pointerX_), oldY = static_cast<int>(pointerY_);
    pointerX_ = std::clamp(pointerX_ + dx, 0.0, width - 1.0);
    pointerY_ = std::clamp(pointerY_ + dy, 0.0, height - 1.0);
    const int x = static_cast<int>(pointerX_), y = static_cast<int>(pointerY_);
    if (x != oldX || y != oldY) {
        Event e;
        e.Kind = Event::Type::MouseMove;
        e.X = x;
        e.Y = y;
        pending_.push_back(e);
    }
}

void GamepadMapper::PointerMovedTo(int x, int y) {
    pointerX_ = x;
    pointerY_ = y;
}

bool GamepadMapper::Poll(Event& event) {
    if (pending_.empty()) {
        return false;
    }
    event = pending_.front();
    pending_.pop_front();
    return true;
}

} // namespace platform
