#pragma once

#include "platform/app/Platform.h"

#include <cstdint>
#include <deque>
#include <map>

namespace platform {

// Something that happened on a game controller, in the back-end's neutral terms.
struct PadEvent {
    enum class Type { Added, Removed, Button, Axis };
    enum Control {
        ButtonA,
        ButtonB,
        ButtonBack,
        ButtonStart,
        ButtonY,
        DpadUp,
        DpadDown,
        DpadLeft,
        DpadRight,
        LeftX,
        LeftY,
        RightX,
        RightY,
        OtherControl,
    };
    Type Kind = Type::Added;
    int Pad = 0;                  // the controller's id, stable while it is connected
    Control Which = OtherControl; // the button or axis
    bool Pressed = false;         // buttons
    int Value = 0;                // axes: -32768 .. 32767, positive right or down
};

// Makes game controllers play as the keyboard and mouse do: the d-pad and the left stick hold
// the arrow keys, B and Back hold Esc, Start holds the Pause key and Y the R key, the right stick
// moves the pointer and A is the left mouse button. With no controller connected it adds nothing.
class GamepadMapper {
public:
    static constexpr int kStickThreshold = 16000; // left stick: how far counts as an arrow key
    static constexpr int kPointerDeadZone = 8000; // right stick: rest position tolerance
    static constexpr double kPointerSpeed = 0.8;  // right stick fully over: pixels per millisecond

    // Both sticks count from `share` of their full travel (0.05 to 0.95, clamped) instead of
    // kStickThreshold and kPointerDeadZone.
    void SetDeadZone(double share);

    void Handle(const PadEvent& event);

    // Adds the keys held on any controller to `keys`.
    void AddHeldKeys(KeyState& keys) const;

    // Moves the pointer by the right sticks for the time since the last call, kept inside a
    // display of width x height; a move is queued as a MouseMove event.
    void Tick(uint32_t nowMs, int width, int height);

    // The real mouse moved: the stick carries on from there.
    void PointerMovedTo(int x, int y);

    // The next mouse event made by a controller; false when none is pending.
    bool Poll(Event& event);

    bool Connected() const { return !pads_.empty(); }

private:
    struct Pad {
        bool Buttons[PadEvent::OtherControl] = {};
        int Axes[4] = {}; // LeftX, LeftY, RightX, RightY
    };

    bool AnyButtonA() const;

    int stickThreshold_ = kStickThreshold;
    int pointerDeadZone_ = kPointerDeadZone;
    std::map<int, Pad> pads_;
    std::deque<Event> pending_;
    double pointerX_ = 320;
    double pointerY_ = 240;
    uint32_t lastTick_ = 0;
    bool ticked_ = false;
};

} // namespace platform
