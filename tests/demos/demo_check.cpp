// demo_check: replays a demo headless and compares what the game went through with the expected
// results: a checkpoint line every 100 frames (a few values, the digest of the whole state and the
// screen hash) and the final-state line that `vorkalith --playback DEMO --headless` prints.
//
//   demo_check [--rebuild] --levels DIR DEMO EXPECTED
//
// DIR holds the level files the demo was made with. --rebuild writes EXPECTED instead, for a rule
// change that is meant. Exit status 1 on any difference, naming the first frame where it shows.
#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/DemoText.h"
#include "demo/LevelDigests.h"
#include "demo/ScreenHash.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr uint64_t kCheckpointEvery = 100;

std::string Checkpoint(const TForm1& form, uint64_t frame) {
    const uint64_t screen = ScreenHash::OfForm(form);
    const std::string state = StateJson::Full(form, frame, screen);
    const uint64_t digest =
        ScreenHash::Of(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(state.data()), state.size()));
    const TGame& g = form.World;
    return "{\"Frame\":" + std::to_string(frame) + ",\"GameState\":" + std::to_string(g.GameState) +
           ",\"Level\":" + std::to_string(g.Level) + ",\"Score\":" + std::to_string(g.Score) +
           ",\"Energy\":" + std::to_string(g.Energy) + ",\"OrbsEaten\":" + std::to_string(g.OrbsEaten) +
           ",\"StateHash\":\"" + demotext::FormatHash(digest) + "\",\"ScreenHash\":\"" + demotext::FormatHash(screen) +
           "\"}";
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace

int main(int argc, char** argv) {
    bool rebuild = false;
    std::string levels;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rebuild") {
            rebuild = true;
        } else if (arg == "--levels" && i + 1 < argc) {
            levels = argv[++i];
        } else {
            files.push_back(std::filesystem::absolute(arg).string());
        }
    }
    if (levels.empty() || files.size() != 2) {
        std::cerr << "usage: demo_check [--rebuild] --levels DIR DEMO EXPECTED\n";
        return 2;
    }
    const std::string& demoFile = files[0];
    const std::string& expectedFile = files[1];
    Demo demo;
    try {
        demo = DemoReader::ReadFile(demoFile);
        std::filesystem::current_path(levels);
    } catch (const std::exception& e) {
        std::cerr << "demo_check: " << e.what() << '\n';
        return 1;
    }
    for (const std::string& name : LevelDigests::Differing(demo)) {
        std::cerr << "demo_check: demo was recorded with another " << name << '\n';
        return 1;
    }

    DemoPlayer player(nullptr, demo);
    if (!player.MakeForm()) {
        return 1;
    }
    std::vector<std::string> actual;
    player.Play(false, [&] {
        if (player.Frames() % kCheckpointEvery == 0) {
            actual.push_back(Checkpoint(player.Form(), player.Frames()));
        }
    });
    actual.push_back(player.FinalState());
    if (player.EndedEarly()) {
        std::cerr << "demo_check: the game ended at frame " << player.Frames() << ", before the demo did\n";
    }

    if (rebuild) {
        std::ofstream out(expectedFile, std::ios::trunc);
        for (const std::string& line : actual) {
            out << line << '\n';
        }
        out.close();
        if (!out) {
            std::cerr << "demo_check: " << expectedFile << ": cannot write\n";
            return 1;
        }
        std::cout << expectedFile << ": " << actual.size() << " lines\n";
        return 0;
    }

    const std::vector<std::string> expected = ReadLines(expectedFile);
    for (std::size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        const std::string want = i < expected.size() ? expected[i] : "(nothing)";
        const std::string got = i < actual.size() ? actual[i] : "(nothing)";
        if (want != got) {
            const uint64_t frame = (i + 1) * kCheckpointEvery;
            if (i + 1 < actual.size()) {
                std::cerr << "demo_check: " << demoFile << ": the state first differs at frame " << frame
                          << " (it agreed at frame " << frame - kCheckpointEvery << ")\n";
            } else {
                std::cerr << "demo_check: " << demoFile << ": the final state differs\n";
            }
            std::cerr << "  expected: " << want << "\n  actual:   " << got << '\n';
            return 1;
        }
    }
    std::cout << demoFile << ": " << actual.back() << '\n';
    return player.EndedEarly() ? 1 : 0;
}
