// Cost of one frame of the game on the headless 640 x 480 16-bit display: the frame handler
// with its poll, clear, state branch (sprite tree, texts) and pointer, without presentation, and a
// play frame with presentation (its items per second are the headless frames per second).
// Items are frames. Run from the folder holding the level files (build/run) to play on level 1.
#include "bench/BenchGame.h"
#include "game/MainForm.h"
#include "game/MenuScreens.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_MenuFrame(benchmark::State& state) {
    BenchGame game;
    for (auto _ : state) {
        game.form->DXTimerTimer(game.form, 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MenuFrame);

void BM_PlayFrame(benchmark::State& state) {
    BenchGame game;
    TGame& world = game.form->World;
    StartNewGame(world);
    // A long tail and the ship steering right along the top row.
    world.OrbsEaten = 100;
    world.Heading = 2;
    for (auto _ : state) {
        game.form->DXTimerTimer(game.form, 1);
        if (world.GameState != 1) {
            StartNewGame(world);
            world.OrbsEaten = 100;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlayFrame);

// A play frame with presentation on; items per second are the headless frames per second.
void BM_PlayFramePresented(benchmark::State& state) {
    BenchGame game(true);
    TGame& world = game.form->World;
    StartNewGame(world);
    world.OrbsEaten = 100;
    world.Heading = 2;
    const int shown = game.platform.ShowCount;
    for (auto _ : state) {
        game.form->DXTimerTimer(game.form, 1);
        if (world.GameState != 1) {
            StartNewGame(world);
            world.OrbsEaten = 100;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["shown"] = benchmark::Counter(game.platform.ShowCount - shown, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlayFramePresented);

} // namespace

BENCHMARK_MAIN();
