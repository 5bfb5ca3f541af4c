#include "platform/inputmap/StandardGamepad.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace platform;

namespace {
StandardPadState Connected() {
    StandardPadState s;
    s.Connected = true;
    return s;
}

KeyState Held(const GamepadMapper& m) {
    KeyState k{};
    m.AddHeldKeys(k);
    return k;
}

void Feed(GamepadMapper& m, const std::vector<PadEvent>& events) {
    for (const PadEvent& e : events) {
        m.Handle(e);
    }
}
constexpr int kEsc = 1, kLeft = 203, kDown = 208;
} // namespace

TEST(StandardGamepad, AnUnchangedPadMakesNoEvents) {
    StandardPadState pad = Connected();
    pad.Buttons[14] = true;
    pad.Axes[1] = 0.5;
    EXPECT_TRUE(StandardPadEvents(0, pad, pad).empty());
    EXPECT_TRUE(StandardPadEvents(0, StandardPadState{}, StandardPadState{}).empty());
}

// The standard layout's d-pad, B and Back reach the mapper as the desktop's controllers do.
TEST(StandardGamepad, ComingHeldAndGoingDriveTheMapper) {
    GamepadMapper m;
    StandardPadState pad = Connected();
    pad.Buttons[14] = true; // d-pad left, held as the pad comes
    pad.Buttons[1] = true;  // B
    auto events = StandardPadEvents(2, StandardPadState{}, pad);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().Kind, PadEvent::Type::Added);
    EXPECT_EQ(events.front().Pad, 2);
    Feed(m, events);
    EXPECT_EQ(Held(m)[kLeft], 0x80);
    EXPECT_EQ(Held(m)[kEsc], 0x80);

    StandardPadState later = pad;
    later.Buttons[1] = false;
    later.Axes[1] = 1.0; // left stick fully down
    Feed(m, StandardPadEvents(2, pad, later));
    EXPECT_EQ(Held(m)[kEsc], 0);
    EXPECT_EQ(Held(m)[kDown], 0x80);

    const auto gone = StandardPadEvents(2, later, StandardPadState{});
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_EQ(gone[0].Kind, PadEvent::Type::Removed);
    Feed(m, gone);
    EXPECT_FALSE(m.Connected());
    EXPECT_EQ(Held(m)[kLeft], 0);
}

// Axes outside -1..1 are held at the ends and a NaN reads as rest, never as a wild value.
TEST(StandardGamepad, AxesAreScaledAndBounded) {
    const StandardPadState rest = Connected();
    const double inputs[] = {1.0, -1.0, 0.5, 7.0, -7.0, std::nan("")};
    const int expected[] = {32767, -32767, 16384, 32767, -32768, 0};
    for (std::size_t i = 0; i < std::size(inputs); ++i) {
        StandardPadState pad = rest;
        pad.Axes[2] = inputs[i];
        const auto events = StandardPadEvents(0, rest, pad);
        if (expected[i] == 0) {
            EXPECT_TRUE(events.empty()) << i;
            continue;
        }
        ASSERT_EQ(events.size(), 1u) << i;
        EXPECT_EQ(events[0].Which, PadEvent::RightX);
        EXPECT_EQ(events[0].Value, expected[i]) << i;
    }
}
