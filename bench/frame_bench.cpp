// Cost of one frame of the game on the headless 640 x 480 16-bit display: the frame handler
// with its poll, clear, state branch (sprite tree, texts) and pointer, without presentation.
// Items are frames. Run from the folder holding the level files (build/run) to play on level 1.
#include "game/MainForm.h"
#include "game/MenuScreens.h"
#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Game {
    Game() {
        platform.EchoErrors = false;
        // Slow flip keeps presentation out of the frame handler.
        app = std::make_unique<TApplication>(platform, std::vector<std::string>{"-sf"});
        form = static_cast<TForm1*>(&app->AddForm(std::make_unique<TForm1>(*app)));
        app->Step();
    }
    platform::HeadlessPlatform platform;
    std::unique_ptr<TApplication> app;
    TForm1* form = nullptr;
};

void BM_MenuFrame(benchmark::State& state) {
    Game game;
    for (auto _ : state) {
        game.form->DXTimerTimer(game.form, 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MenuFrame);

void BM_PlayFrame(benchmark::State& state) {
    Game game;
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

} // namespace

BENCHMARK_MAIN();
