// Time of one frame of the game, the menu's and the play's, on the headless 640 x 480 16-bit
// display: the frame handler as frame_bench runs it, timed by a plain clock so that the same
// program runs natively and as WebAssembly (under node: tools/setup.sh webtest builds it) and
// the two can be compared. Run from the folder holding the level files (build/run).
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

} // namespace

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
    BenchGame menu;
    const double menuMicros = MicrosPerFrame(frames, [&] { menu.form->DXTimerTimer(menu.form, 1); });

    BenchGame play;
    TGame& world = play.form->World;
    StartNewGame(world);
    // A long tail and the ship steering right along the top row.
    world.OrbsEaten = 100;
    world.Heading = 2;
    const double playMicros = MicrosPerFrame(frames, [&] {
        play.form->DXTimerTimer(play.form, 1);
        if (world.GameState != 1) {
            StartNewGame(world);
            world.OrbsEaten = 100;
        }
    });
    std::printf("menu frame %.1f us\nplay frame %.1f us\n", menuMicros, playMicros);
    return 0;
}
