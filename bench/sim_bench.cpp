// Speed of vorkalith-sim in play: whole message-loop passes of the real game on the scripted
// headless platform (events, frame, presentation), with the state line made every 100 frames as
// a script with `frames 100` / `state` does. Items are frames; the target is 5,000 frames a second.
// Run from the folder holding the level files (build/run).
#include "demo/HeadlessSession.h"
#include "game/MainForm.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

// Starts a game from the menu with a click on its first item.
void StartGame(HeadlessSession& session) {
    using K = DemoInput::Kind;
    session.Apply({K::MouseMove, 320, 240});
    session.Frames(2);
    session.Apply({K::MouseDown, 320, 240, 1});
    session.Frames(1);
    session.Apply({K::MouseUp, 320, 240, 1});
    session.Frames(1);
}

// Plays in blocks of 100 frames, the ship turning each block; a game that ends starts again.
void PlayBlocks(benchmark::State& state, bool withState) {
    HeadlessSession session(SessionStart{});
    if (!session.MakeForm()) {
        state.SkipWithError("the game cannot start");
        return;
    }
    StartGame(session);
    constexpr std::array<int, 4> kKeys = {205, 208, 203, 200};
    std::size_t turn = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        session.Apply({DemoInput::Kind::KeyUp, kKeys[turn % 4]});
        session.Apply({DemoInput::Kind::KeyDown, kKeys[++turn % 4]});
        session.Frames(100);
        if (withState) {
            bytes += session.State().size();
        }
        if (session.Form().World.GameState != 1) {
            state.PauseTiming();
            StartGame(session);
            state.ResumeTiming();
        }
    }
    benchmark::DoNotOptimize(bytes);
    state.SetItemsProcessed(state.iterations() * 100);
}

void BM_SimPlayWithStateEvery100(benchmark::State& state) {
    PlayBlocks(state, true);
}
BENCHMARK(BM_SimPlayWithStateEvery100)->Unit(benchmark::kMillisecond);

void BM_SimPlayWithoutState(benchmark::State& state) {
    PlayBlocks(state, false);
}
BENCHMARK(BM_SimPlayWithoutState)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
