#include "GameFixture.h"
#include "ScratchFolder.h"

#include "game/Game.h"
#include "sprite/ImageSprite.h"

#include <gtest/gtest.h>

using platform::PadEvent;

// A whole game worked with a controller only: the headless platform is given the controller's
// events, which pass through the same mapping as on the real display.
class GamepadPlay : public GameFixture {
protected:
    void Pad(PadEvent::Type kind, PadEvent::Control which = PadEvent::OtherControl, int value = 0,
             bool pressed = false) {
        PadEvent e;
        e.Kind = kind;
        e.Pad = 7;
        e.Which = which;
        e.Value = value;
        e.Pressed = pressed;
        platform.PushPadEvent(e);
    }
    void Press(PadEvent::Control which, bool pressed) { Pad(PadEvent::Type::Button, which, 0, pressed); }
    void Stick(PadEvent::Control axis, int value) { Pad(PadEvent::Type::Axis, axis, value); }

    ScratchFolder folder; // no level files: an empty field to steer on
};

TEST_F(GamepadPlay, APadStartsAGameFromTheMenuAndSteersTheShip) {
    Start();
    Pad(PadEvent::Type::Added);
    Mouse(platform::Event::Type::MouseMove, 100, 100);
    TGame& world = form->World;
    for (int i = 0; i < 400 && world.TitleSprite->Y < 0; ++i) {
        RunFrames(1);
    }
    ASSERT_GE(world.TitleSprite->Y, 0);
    ASSERT_EQ(world.MenuChoice, 0);

    // The right stick walks the pointer onto the menu's first item ("Старт").
    for (int i = 0; i < 200; ++i) {
        const double x = world.PointerSprite->X, y = world.PointerSprite->Y;
        if (x >= 300 && y >= 235) {
            break;
        }
        Stick(PadEvent::RightX, x < 300 ? 32767 : 0);
        Stick(PadEvent::RightY, y < 235 ? 32767 : 0);
        RunFrames(1);
    }
    Stick(PadEvent::RightX, 0);
    Stick(PadEvent::RightY, 0);
    RunFrames(1);
    ASSERT_EQ(world.MenuChoice, 1) << world.PointerSprite->X << "," << world.PointerSprite->Y;

    // A clicks it.
    Press(PadEvent::ButtonA, true);
    RunFrames(2);
    Press(PadEvent::ButtonA, false);
    RunFrames(1);
    ASSERT_EQ(world.GameState, 1);
    EXPECT_FALSE(world.MouseHeld);

    // The d-pad turns the ship down, and it travels down.
    Press(PadEvent::DpadDown, true);
    RunFrames(1);
    Press(PadEvent::DpadDown, false);
    EXPECT_EQ(world.Heading, 3);
    const double y0 = world.ShipSprite->Y;
    RunFrames(20);
    EXPECT_GT(world.ShipSprite->Y, y0);

    // The left stick turns it right.
    Stick(PadEvent::LeftX, 30000);
    RunFrames(1);
    Stick(PadEvent::LeftX, 0);
    EXPECT_EQ(world.Heading, 2);
    const double x0 = world.ShipSprite->X;
    RunFrames(20);
    EXPECT_GT(world.ShipSprite->X, x0);

    // B leaves play for the menu.
    Press(PadEvent::ButtonB, true);
    RunFrames(1);
    Press(PadEvent::ButtonB, false);
    EXPECT_EQ(world.GameState, 0);
}
