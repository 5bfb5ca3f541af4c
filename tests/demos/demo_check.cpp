// demo_check: replays a demo headless and compares what the game went through with the expected
// results: a checkpoint line every 100 frames (a few values, the digest of the whole state and the
// screen hash) and the final-state line that `vorkalith --playback DEMO --headless` prints.
//
//   demo_check [--rebuild] [--lang CODE] --levels DIR DEMO EXPECTED
//
// DIR holds the level files the demo was made with. --rebuild writes EXPECTED instead, for a rule
// change that is meant. --lang replays the demo once more with the texts in language CODE, which
// must go through the same states every 100 frames but for the texts and the screen. Exit status 1
// on any difference, naming the first frame where it shows.
#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/DemoText.h"
#include "demo/LevelDigests.h"
#include "demo/ScreenHash.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"
#include "platform/base/Translate.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
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

// The whole state, without what the language may change: the texts it holds and the screen.
std::string StateApartFromTexts(const std::string& state) {
    static const std::regex texts(R"re(,?"(ScoreText|ScreenHash)":"[^"]*")re");
    return std::regex_replace(state, texts, "");
}

// The demo replayed with the texts in `language` goes through the `expected` states every 100
// frames and at the end, the texts and the screen apart.
bool SameInLanguage(const Demo& demo, const std::string& demoFile, const std::string& language,
                    const std::vector<std::string>& expected) {
    SetCatalogueFolder(VK_BUILD_LOCALE_DIR);
    SetLanguage(language);
    if (ShownLanguage() != language) {
        std::cerr << "demo_check: no catalogue for language " << language << '\n';
        return false;
    }
    DemoPlayer player(nullptr, demo);
    if (!player.MakeForm()) {
        return false;
    }
    std::vector<std::string> states;
    player.Play(false, [&] {
        if (player.Frames() % kCheckpointEvery == 0) {
            states.push_back(StateApartFromTexts(StateJson::Full(player.Form(), player.Frames(), 0)));
        }
    });
    states.push_back(StateApartFromTexts(player.FinalState()));
    for (std::size_t i = 0; i < std::max(expected.size(), states.size()); ++i) {
        if (i >= expected.size() || i >= states.size() || expected[i] != states[i]) {
            std::cerr << "demo_check: " << demoFile << ": in language " << language << " the state differs at frame "
                      << (i + 1) * kCheckpointEvery << " or at the end\n";
            return false;
        }
    }
    std::cout << demoFile << ": the same " << states.size() << " states in " << language << '\n';
    return true;
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
    std::string language;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rebuild") {
            rebuild = true;
        } else if (arg == "--lang" && i + 1 < argc) {
            language = argv[++i];
        } else if (arg == "--levels" && i + 1 < argc) {
            levels = argv[++i];
        } else {
            files.push_back(std::filesystem::absolute(arg).string());
        }
    }
    if (levels.empty() || files.size() != 2) {
        std::cerr << "usage: demo_check [--rebuild] [--lang CODE] --levels DIR DEMO EXPECTED\n";
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
    // The states the replay in another language must go through as well.
    std::vector<std::string> states;
    player.Play(false, [&] {
        if (player.Frames() % kCheckpointEvery == 0) {
            actual.push_back(Checkpoint(player.Form(), player.Frames()));
            if (!language.empty()) {
                states.push_back(StateApartFromTexts(StateJson::Full(player.Form(), player.Frames(), 0)));
            }
        }
    });
    actual.push_back(player.FinalState());
    states.push_back(StateApartFromTexts(player.FinalState()));
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
    if (!language.empty() && !SameInLanguage(demo, demoFile, language, states)) {
        return 1;
    }
    return player.EndedEarly() ? 1 : 0;
}
