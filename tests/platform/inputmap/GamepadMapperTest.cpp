#include "platform/inputmap/GamepadMapper.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {
PadEvent Button(int pad, PadEvent::Control which, bool pressed) {
    PadEvent e;
    e.Kind = PadEvent::Type::Button;
    e.Pad = pad;
    e.Which = which;
    e.Pressed = pressed;
    return e;
}
PadEvent Axis(int pad, PadEvent::Control which, int value) {
    PadEvent e;
    e.Kind = PadEvent::Type::Axis;
    e.Pad = pad;
    e.Which = which;
    e.Value = value;
    return e;
}
PadEvent Plug(int pad, bool in) {
    PadEvent e;
    e.Kind = in ? PadEvent::Type::Added : PadEvent::Type::Removed;
    e.Pad = pad;
    return e;
}
KeyState Held(const GamepadMapper& m) {
    KeyState k{};
    m.AddHeldKeys(k);
    return k;
}
constexpr int kEsc = 1, kUp = 200, kLeft = 203, kRight = 205, kDown = 208;
} // namespace

TEST(GamepadMapper, NoPadAddsNothingAndMakesNoEvents) {
    GamepadMapper m;
    KeyState keys{};
    keys[kUp] = 0x80;
    KeyState before = keys;
    m.AddHeldKeys(keys);
    EXPECT_EQ(keys, before);
    m.Tick(0, 640, 480);
    m.Tick(1000, 640, 480);
    Event e;
    EXPECT_FALSE(m.Poll(e));
    EXPECT_FALSE(m.Connected());
}

TEST(GamepadMapper, DpadAndBackHoldTheirKeys) {
    GamepadMapper m;
    m.Handle(Plug(3, true));
    m.Handle(Button(3, PadEvent::DpadLeft, true));
    m.Handle(Button(3, PadEvent::ButtonBack, true));
    KeyState k = Held(m);
    EXPECT_EQ(k[kLeft], 0x80);
    EXPECT_EQ(k[kEsc], 0x80);
    EXPECT_EQ(k[kRight], 0);
    m.Handle(Button(3, PadEvent::DpadLeft, false));
    m.Handle(Button(3, PadEvent::ButtonBack, false));
    m.Handle(Button(3, PadEvent::ButtonB, true));
    k = Held(m);
    EXPECT_EQ(k[kLeft], 0);
    EXPECT_EQ(k[kEsc], 0x80);
}

TEST(GamepadMapper, StartHoldsThePauseKeyAndYTheRKey) {
    GamepadMapper m;
    m.Handle(Plug(0, true));
    m.Handle(Button(0, PadEvent::ButtonStart, true));
    m.Handle(Button(0, PadEvent::ButtonY, true));
    KeyState k = Held(m);
    EXPECT_EQ(k[197], 0x80);
    EXPECT_EQ(k[19], 0x80);
    m.Handle(Button(0, PadEvent::ButtonStart, false));
    EXPECT_EQ(Held(m)[197], 0);
}

TEST(GamepadMapper, ADeadZoneSetCountsForBothSticks) {
    GamepadMapper m;
    m.SetDeadZone(0.25);
    m.Handle(Plug(0, true));
    m.Handle(Axis(0, PadEvent::LeftX, 9000));
    EXPECT_EQ(Held(m)[kRight], 0x80);
    m.Tick(0, 640, 480);
    m.Handle(Axis(0, PadEvent::RightX, 8100));
    m.Tick(50, 640, 480);
    Event e;
    EXPECT_FALSE(m.Poll(e));
}

TEST(GamepadMapper, LeftStickPastTheThresholdIsAnArrow) {
    GamepadMapper m;
    m.Handle(Plug(0, true));
    m.Handle(Axis(0, PadEvent::LeftX, GamepadMapper::kStickThreshold - 1));
    m.Handle(Axis(0, PadEvent::LeftY, -GamepadMapper::kStickThreshold));
    KeyState k = Held(m);
    EXPECT_EQ(k[kRight], 0);
    EXPECT_EQ(k[kUp], 0x80);
    m.Handle(Axis(0, PadEvent::LeftX, -32768));
    m.Handle(Axis(0, PadEvent::LeftY, 32767));
    k = Held(m);
    EXPECT_EQ(k[kLeft], 0x80);
    EXPECT_EQ(k[kDown], 0x80);
    EXPECT_EQ(k[kUp], 0);
}

TEST(GamepadMapper, UnpluggingReleasesEverythingItHeld) {
    GamepadMapper m;
    m.Handle(Plug(1, true));
    m.Handle(Button(1, PadEvent::DpadUp, true));
    m.Handle(Button(1, PadEvent::ButtonA, true));
    Event e;
    ASSERT_TRUE(m.Poll(e));
    EXPECT_EQ(e.Kind, Event::Type::MouseDown);
    m.Handle(Plug(1, false));
    EXPECT_EQ(Held(m)[kUp], 0);
    ASSERT_TRUE(m.Poll(e));
    EXPECT_EQ(e.Kind, Event::Type::MouseUp);
    EXPECT_FALSE(m.Connected());
}

TEST(GamepadMapper, AOnTwoPadsIsOneButton) {
    GamepadMapper m;
    m.Handle(Button(1, PadEvent::ButtonA, true));
    m.Handle(Button(2, PadEvent::ButtonA, true));
    m.Handle(Button(1, PadEvent::ButtonA, false));
    Event e;
    ASSERT_TRUE(m.Poll(e));
    EXPECT_EQ(e.Kind, Event::Type::MouseDown);
    EXPECT_FALSE(m.Poll(e)); // pad 2 still holds it
    m.Handle(Button(2, PadEvent::ButtonA, false));
    ASSERT_TRUE(m.Poll(e));
    EXPECT_EQ(e.Kind, Event::Type::MouseUp);
}

TEST(GamepadMapper, RightStickMovesThePointerByTimeAndStopsAtTheEdge) {
    GamepadMapper m;
    m.Handle(Plug(0, true));
    m.PointerMovedTo(100, 100);
    m.Tick(1000, 640, 480);
    m.Handle(Axis(0, PadEvent::RightX, 32767));
    m.Tick(1010, 640, 480); // 10 ms at full speed
    Event e;
    ASSERT_TRUE(m.Poll(e));
    EXPECT_EQ(e.Kind, Event::Type::MouseMove);
    EXPECT_EQ(e.X, 100 + static_cast<int>(10 * GamepadMapper::kPointerSpeed));
    EXPECT_EQ(e.Y, 100);
    // A long stall counts as at most 100 ms; many ticks end at the right edge.
    for (uint32_t t = 1110; t < 3000; t += 100) {
        m.Tick(t, 640, 480);
    }
    Event last;
    while (m.Poll(e)) {
        last = e;
    }
    EXPECT_EQ(last.X, 639);
}

TEST(GamepadMapper, RightStickInsideTheDeadZoneDoesNotDrift) {
    GamepadMapper m;
    m.Handle(Plug(0, true));
    m.Handle(Axis(0, PadEvent::RightX, GamepadMapper::kPointerDeadZone));
    m.Handle(Axis(0, PadEvent::RightY, -GamepadMapper::kPointerDeadZone));
    m.Tick(0, 640, 480);
    m.Tick(100, 640, 480);
    Event e;
    EXPECT_FALSE(m.Poll(e));
}

TEST(GamepadMapper, ClockWrapAroundIsAShortStep) {
    GamepadMapper m;
    m.Handle(Plug(0, true));
    m.PointerMovedTo(300, 200);
    m.Tick(0xFFFFFFF0u, 640, 480);
    m.Handle(Axis(0, PadEvent::RightY, 32767));
    m.Tick(0x10u, 640, 480); // 32 ms later
    Event e;
    ASSERT_TRUE(m.Poll(e));
    EXPECT_EQ(e.Y, 200 + static_cast<int>(32 * GamepadMapper::kPointerSpeed));
}
