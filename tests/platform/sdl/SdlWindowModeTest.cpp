#include "platform/sdl/SdlWindowMode.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {
// SDL's video on its off-screen driver: real windows without a display.
class SdlWindowModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            GTEST_SKIP() << "SDL's off-screen video is not available: " << SDL_GetError();
        }
    }
    void TearDown() override {
        if (window != nullptr) {
            SDL_DestroyWindow(window);
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    SDL_Window* window = nullptr;
};
} // namespace

TEST_F(SdlWindowModeTest, TheWindowCannotBeMadeSmallerThanThePicture) {
    for (const bool windowed : {true, false}) {
        window = SdlWindowMode::Create("test", windowed);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        if (!windowed) {
            SdlWindowMode::Toggle(window, false);
        }
        SDL_SetWindowSize(window, 300, 200);
        int w = 0, h = 0;
        SDL_GetWindowSize(window, &w, &h);
        EXPECT_EQ(w, 640) << (windowed ? "made as a window" : "made full screen, then a window");
        EXPECT_EQ(h, 480);
        SDL_DestroyWindow(window);
        window = nullptr;
    }
}
