// Speed of a replay by the rules alone, as --verify plays a demo, against the full headless replay
// of --playback --headless, on the same demo in one run: rounds of the two alternate, and each
// reports its median start-up and frames per second, and the ratio. The target is 50,000 frames a
// second by the rules alone on one core. GameRun from the folder holding the level files (build/run).
//
//   replay_bench [ROUNDS [DEMO]]     (5 rounds of tests/demos/level2.vkd, 8,517 frames of play)
#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Timing {
    std::vector<double> StartMs;
    std::vector<double> FramesPerSecond;
    std::string Final;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool Round(const Demo& demo, DemoPlayer::Mode mode, Timing& timing) {
    const auto begin = Clock::now();
    DemoPlayer player(nullptr, demo, mode);
    if (!player.MakeForm()) {
        return false;
    }
    // The first pass shows the form and builds the world: start-up too.
    player.Step();
    const auto started = Clock::now();
    player.Play(false);
    const auto done = Clock::now();
    timing.StartMs.push_back(std::chrono::duration<double, std::milli>(started - begin).count());
    timing.FramesPerSecond.push_back(static_cast<double>(player.Frames() - 1) /
                                     std::chrono::duration<double>(done - started).count());
    // The screen is not compared: the rules alone present nothing.
    const std::string final = player.FinalState();
    timing.Final = final.substr(0, final.find(",\"ScreenHash\""));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const std::string file = argc > 2 ? argv[2] : VK_DEMO_DIR "/level2.vkd";
    if (argc > 3 || rounds <= 0) {
        std::fprintf(stderr, "usage: replay_bench [ROUNDS [DEMO]]\n");
        return 2;
    }
    Demo demo;
    try {
        demo = DemoReader::ReadFile(file);
    } catch (const DemoError& e) {
        std::fprintf(stderr, "replay_bench: %s\n", e.what());
        return 1;
    }
    Timing drawn, rulesOnly;
    for (int i = 0; i < rounds; ++i) {
        if (!Round(demo, DemoPlayer::Mode::Drawn, drawn) || !Round(demo, DemoPlayer::Mode::RulesOnly, rulesOnly)) {
            std::fprintf(stderr, "replay_bench: the game cannot start\n");
            return 1;
        }
    }
    if (drawn.Final != rulesOnly.Final) {
        std::fprintf(stderr, "replay_bench: the replays end apart:\n  %s\n  %s\n", drawn.Final.c_str(),
                     rulesOnly.Final.c_str());
        return 1;
    }
    const double full = Median(drawn.FramesPerSecond);
    const double rules = Median(rulesOnly.FramesPerSecond);
    std::printf("%llu frames, %d rounds, medians\n", static_cast<unsigned long long>(demo.FrameCount()), rounds);
    std::printf("full replay        %10.0f frames/s, start-up %.1f ms\n", full, Median(drawn.StartMs));
    std::printf("rules-only replay  %10.0f frames/s, start-up %.1f ms\n", rules, Median(rulesOnly.StartMs));
    std::printf("ratio              %10.1f\n", rules / full);
    return 0;
}
