// Time of one frame of the game, the menu's and the play's, on the headless 640 x 480 16-bit
// display: the frame handler as frame_bench runs it, timed by a plain clock so that the same
// program runs natively, as WebAssembly under node (tools/setup.sh webtest builds it) and in a
// browser page (frame_time_page, which calls vk_frame_time itself), and the three can be compared.
// Run from the folder holding the level files (build/run).
//
//   frame_time [FRAMES]
#include "bench/BenchGame.h"
#include "game/MainForm.h"
#include "game/MenuScreens.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

template <class Frame> double MicrosPerFrame(int frames, Frame&& frame) {
    // A tenth as warm-up, then the timed frames.
    for (int i = 0; i < frames / 10; ++i) {
        frame();
    }
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        frame();
    }
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / frames;
}

double MenuMicros(int frames) {
    BenchGame menu;
    return MicrosPerFrame(frames, [&] { menu.form->DXTimerTimer(menu.form, 1); });
}

double PlayMicros(int frames) {
    BenchGame play;
    TGame& world = play.form->World;
    StartNewGame(world);
    // A long tail and the ship steering right along the top row.
    world.OrbsEaten = 100;
    world.Heading = 2;
    return MicrosPerFrame(frames, [&] {
        play.form->DXTimerTimer(play.form, 1);
        if (world.GameState != 1) {
            StartNewGame(world);
            world.OrbsEaten = 100;
        }
    });
}

} // namespace

// Microseconds per frame over FRAMES frames of a fresh game: the menu's (play 0) or the play's
// (play 1); 0 for no frames. The browser page exports it, to time rounds without reloading.
extern "C" double vk_frame_time(int frames, int play) {
    if (frames <= 0) {
        return 0;
    }
    return play ? PlayMicros(frames) : MenuMicros(frames);
}

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("usage: frame_time [FRAMES]\n");
        return 0;
    }
    const int frames = argc > 1 ? std::atoi(argv[1]) : 2000;
    if (argc > 2 || frames <= 0) {
        std::fprintf(stderr, "usage: frame_time [FRAMES]\n");
        return 2;
    }
    const double menuMicros = vk_frame_time(frames, 0);
    const double playMicros = vk_frame_time(frames, 1);
    std::printf("menu frame %.1f us\nplay frame %.1f us\n", menuMicros, playMicros);
    return 0;
}
