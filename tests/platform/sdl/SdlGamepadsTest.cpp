#include "platform/sdl/SdlGamepads.h"

#include <gtest/gtest.h>

#include <memory>

using namespace platform;

namespace {
constexpr int kEsc = 1, kUp = 200, kLeft = 203;

KeyState Held(const SdlGamepads& pads) {
    KeyState keys{};
    pads.Mapper.AddHeldKeys(keys);
    return keys;
}
} // namespace

// SDL's own controller path, from a pad plugged in through its buttons and sticks to its
// removal, with a software pad standing in for a device.
TEST(SdlGamepads, APadPluggedInPlaysAndLeavesNothingHeldWhenUnplugged) {
    SdlGamepads pads;
    pads.HandlePending();
    if (pads.Mapper.Connected()) {
        GTEST_SKIP() << "a real controller is plugged into this machine";
    }
    std::unique_ptr<SdlVirtualPad> pad;
    try {
        pad = std::make_unique<SdlVirtualPad>();
    } catch (const std::exception& e) {
        GTEST_SKIP() << "SDL's controller subsystem is not available here: " << e.what();
    }
    pads.HandlePending();
    ASSERT_TRUE(pads.Mapper.Connected());

    pad->SetButton(PadEvent::DpadUp, true);
    pad->SetButton(PadEvent::ButtonBack, true);
    pads.HandlePending();
    KeyState keys = Held(pads);
    EXPECT_EQ(keys[kUp], 0x80);
    EXPECT_EQ(keys[kEsc], 0x80);

    pad->SetButton(PadEvent::DpadUp, false);
    pad->SetButton(PadEvent::ButtonBack, false);
    pad->SetAxis(PadEvent::LeftX, -32768);
    pad->SetButton(PadEvent::ButtonA, true);
    pads.HandlePending();
    keys = Held(pads);
    EXPECT_EQ(keys[kUp], 0);
    EXPECT_EQ(keys[kLeft], 0x80);
    Event e;
    ASSERT_TRUE(pads.Mapper.Poll(e));
    EXPECT_EQ(e.Kind, Event::Type::MouseDown);

    // Unplugged with A and the stick held: the button comes up and no arrow stays held.
    pad.reset();
    pads.HandlePending();
    EXPECT_FALSE(pads.Mapper.Connected());
    EXPECT_EQ(Held(pads)[kLeft], 0);
    ASSERT_TRUE(pads.Mapper.Poll(e));
    EXPECT_EQ(e.Kind, Event::Type::MouseUp);
}
