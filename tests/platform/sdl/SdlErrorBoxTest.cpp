#include "platform/sdl/SdlErrorBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {
// Ten pixels a byte.
int TenEach(const std::string& text) {
    return static_cast<int>(text.size()) * 10;
}

SDL_Event Key(SDL_Keycode key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    return e;
}

SDL_Event Button(Uint32 type, Uint32 windowId) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = windowId;
    e.button.button = SDL_BUTTON_LEFT;
    return e;
}

// The keyboard and mouse events left in SDL's queue, taken out. Polling stops at SDL's marker of
// where its last pump ended, so the queue is read directly.
std::vector<SDL_Event> Drain() {
    std::vector<SDL_Event> events;
    SDL_PumpEvents();
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
        if ((e.type >= SDL_KEYDOWN && e.type < SDL_JOYAXISMOTION) || e.type == SDL_QUIT) {
            events.push_back(e);
        }
    }
    return events;
}

// The box on SDL's off-screen video driver, with whatever font the machine has.
class SdlErrorBoxShown : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            GTEST_SKIP() << "SDL's off-screen video is not available: " << SDL_GetError();
        }
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

    // Shows the box with `events` queued before it; false when no font lets it be made.
    bool ShowWith(const std::vector<SDL_Event>& events) {
        Drain();
        for (SDL_Event e : events) {
            SDL_PushEvent(&e);
        }
        return SdlErrorBox::Show(nullptr, "Vorkalith", "/home/u/levels/1.vrk: Read beyond end of file");
    }
};
} // namespace

TEST(SdlErrorBox, TextGrowsWithTheScreenAndStaysReadableOnSmallOnes) {
    EXPECT_EQ(SdlErrorBox::TextHeight(480), 16);
    EXPECT_EQ(SdlErrorBox::TextHeight(768), 17);
    EXPECT_EQ(SdlErrorBox::TextHeight(1080), 24);
    EXPECT_EQ(SdlErrorBox::TextHeight(2160), 48);
}

TEST(SdlErrorBox, WrapsAtSpacesAndKeepsTheMessagesOwnLines) {
    const struct {
        std::string Text;
        std::vector<std::string> Lines;
    } cases[] = {
        {"one two three", {"one two", "three"}},
        {"one  two", {"one two"}},
        {"a/very/long/path.vrk: short", {"a/very/long/path.vrk:", "short"}},
        {"first\n\nthird line", {"first", "", "third", "line"}},
        {"", {""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SdlErrorBox::Wrap(c.Text, 80, TenEach), c.Lines) << c.Text;
    }
}

TEST(SdlErrorBox, ControlCharactersAreShownNotObeyed) {
    EXPECT_EQ(SdlErrorBox::Printable("a\tb\x1b[2J\nc\x7f"), "a\\x09b\\x1b[2J\nc\\x7f");
    EXPECT_EQ(SdlErrorBox::Printable("уровень 1.vrk"), "уровень 1.vrk");
}

TEST_F(SdlErrorBoxShown, ReturnEnterSpaceAndEscCloseTheBox) {
    for (const SDL_Keycode key : {SDLK_RETURN, SDLK_KP_ENTER, SDLK_SPACE, SDLK_ESCAPE}) {
        // A key that does not close the box is used up by it, so the 'a' behind a closing key is
        // still queued only when that key closed the box; the quit ends the box either way.
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        if (!ShowWith({Key(key), Key(SDLK_a), quit})) {
            GTEST_SKIP() << "no font to draw the box with";
        }
        const std::vector<SDL_Event> left = Drain();
        ASSERT_FALSE(left.empty());
        EXPECT_EQ(left[0].type, static_cast<Uint32>(SDL_KEYDOWN)) << "key " << key;
        EXPECT_FALSE(SdlErrorBox::ClosesBox(SDLK_a));
    }
}

TEST_F(SdlErrorBoxShown, AReleaseBehindTheBoxIsKeptForTheGameAndAPressIsNot) {
    constexpr Uint32 kGameWindow = 9999;
    if (!ShowWith(
            {Button(SDL_MOUSEBUTTONUP, kGameWindow), Button(SDL_MOUSEBUTTONDOWN, kGameWindow), Key(SDLK_ESCAPE)})) {
        GTEST_SKIP() << "no font to draw the box with";
    }
    const std::vector<SDL_Event> left = Drain();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].type, static_cast<Uint32>(SDL_MOUSEBUTTONUP));
    EXPECT_EQ(left[0].button.windowID, kGameWindow);
}
