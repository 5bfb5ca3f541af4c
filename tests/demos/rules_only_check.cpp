// rules_only_check: proves that a replay by the rules alone plays the same game as a drawn one.
// Each demo, and each generated session, is played both ways side by side; after every frame the
// two state lines must be equal, every key included but ScreenHash (a replay by the rules alone
// presents nothing, so there is no screen to hash; both lines are written with hash 0). For the
// demos the runs that --verify reports must also be those a run tracker sees in the drawn replay.
//
//   rules_only_check --levels DIR DEMO...
//   rules_only_check --levels DIR --sessions N --frames F [--seed S] [--utc HH:MM:SS.mmm]
//
// A generated session steers at random, clicks through the menu and its screens, presses Esc,
// loses and regains the focus and changes the clock step; games end by game over, Esc or the end
// screen, as the levels in DIR allow. Without --utc each session starts at a time of day of its
// own. Exit status 1 at the first difference, naming the frame and the first differing key.
#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/DemoText.h"
#include "demo/DemoVerifier.h"
#include "demo/HeadlessSession.h"
#include "demo/RunTracker.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"
#include "sprite/ImageSprite.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

std::string StateOf(const TForm1& form, uint64_t frame) {
    return StateJson::Full(form, frame, 0);
}

// Where two state lines part: the text of the drawn one from the key before the first difference.
std::string Difference(const std::string& drawn, const std::string& rulesOnly) {
    std::size_t at = 0;
    while (at < drawn.size() && at < rulesOnly.size() && drawn[at] == rulesOnly[at]) {
        ++at;
    }
    const std::size_t key = drawn.rfind(",\"", at);
    const std::size_t from = key == std::string::npos ? 0 : key + 1;
    return "drawn " + drawn.substr(from, 80) + "\n  rules only " + rulesOnly.substr(from, 80);
}

std::string RunText(const GameRun& run) {
    return std::to_string(run.FirstFrame) + ".." + std::to_string(run.LastFrame) + " best " +
           std::to_string(run.BestScore) + " score " + std::to_string(run.Score) + " level " +
           std::to_string(run.Level) + " orbs " + std::to_string(run.OrbsEaten) + " " + RunTracker::Name(run.End);
}

bool CheckDemo(const std::string& file, uint64_t& frames) {
    const Demo demo = DemoReader::ReadFile(file);
    DemoPlayer drawn(nullptr, demo);
    DemoPlayer rulesOnly(nullptr, demo, DemoPlayer::Mode::RulesOnly);
    if (!drawn.MakeForm() || !rulesOnly.MakeForm()) {
        std::cerr << file << ": the game cannot start\n";
        return false;
    }
    RunTracker tracker;
    uint64_t seen = 0;
    while (drawn.Step()) {
        if (!rulesOnly.Step()) {
            std::cerr << file << ": the rules-only replay ended at frame " << rulesOnly.Frames() << '\n';
            return false;
        }
        const std::string a = StateOf(drawn.Form(), drawn.Frames());
        const std::string b = StateOf(rulesOnly.Form(), rulesOnly.Frames());
        if (a != b) {
            std::cerr << file << ": frame " << drawn.Frames() << " differs\n  " << Difference(a, b) << '\n';
            return false;
        }
        if (drawn.Frames() != seen) {
            seen = drawn.Frames();
            tracker.AfterFrame(drawn.Form().World, seen, drawn.ElapsedMs());
        }
    }
    if (rulesOnly.Step()) {
        std::cerr << file << ": the rules-only replay goes on after frame " << drawn.Frames() << '\n';
        return false;
    }
    tracker.Finish(drawn.GameEnded() ? RunEnd::Closed : RunEnd::Unfinished);
    frames += seen;

    const Verification verified = DemoVerifier::Replay(demo);
    bool same = verified.Runs.size() == tracker.Runs().size();
    for (std::size_t i = 0; same && i < verified.Runs.size(); ++i) {
        same = RunText(verified.Runs[i].Played) == RunText(tracker.Runs()[i]);
    }
    if (!same) {
        std::cerr << file << ": --verify finds other runs than the drawn replay\n";
        for (const VerifiedRun& run : verified.Runs) {
            std::cerr << "  verified " << RunText(run.Played) << '\n';
        }
        for (const GameRun& run : tracker.Runs()) {
            std::cerr << "  drawn    " << RunText(run) << '\n';
        }
        return false;
    }
    std::cout << std::filesystem::path(file).filename().string() << ": " << seen << " frames, " << tracker.Runs().size()
              << " runs alike\n";
    return true;
}

// The inputs of a generated session, frame by frame, chosen from what the drawn game shows.
class Player {
public:
    explicit Player(uint32_t seed) : random_(seed) {}

    // The inputs for the next frame and, when it changes, the clock step (-1: 60 Hz).
    std::vector<DemoInput> Next(const TGame& game, std::optional<long long>& tick) {
        using K = DemoInput::Kind;
        std::vector<DemoInput> inputs;
        if (OneIn(3000)) {
            tick = OneIn(2) ? -1 : Between(1, 40);
        }
        if (OneIn(5000)) {
            inputs.push_back({K::Expose});
        }
        // The window goes behind for a while and comes back.
        if (away_ > 0 && --away_ == 0) {
            inputs.push_back({K::FocusGained});
            inputs.push_back({K::Foreground, 1});
        } else if (away_ == 0 && OneIn(4000)) {
            away_ = Between(10, 200);
            inputs.push_back({K::FocusLost});
            inputs.push_back({K::Foreground, 0});
        }
        if (escHeld_) {
            inputs.push_back({K::KeyUp, kEsc});
            escHeld_ = false;
        }
        if (buttonHeld_ > 0) {
            inputs.push_back({K::MouseUp, x_, y_, buttonHeld_});
            buttonHeld_ = 0;
        }
        switch (game.GameState) {
        case 0:
            Menu(game, inputs);
            break;
        case 1:
        case 2:
            // Esc ends a game now and then on its first level; a game that got further is played
            // on, so that games on the one-cell levels reach the end screen.
            Steer(inputs, game.GameState == 1 && game.Level == 1 ? 2500 : 0);
            break;
        default:
            // The help, options and end screens are left with Esc after a while.
            if (OneIn(150)) {
                PressEsc(inputs);
            } else if (OneIn(200)) {
                MoveTo(inputs, Between(0, 639), Between(0, 479));
            }
            break;
        }
        return inputs;
    }

private:
    static constexpr int kEsc = 1;
    static constexpr int kArrows[] = {200, 203, 205, 208};

    bool OneIn(int n) { return std::uniform_int_distribution<int>(1, n)(random_) == 1; }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    void PressEsc(std::vector<DemoInput>& inputs) {
        inputs.push_back({DemoInput::Kind::KeyDown, kEsc});
        escHeld_ = true;
    }

    void MoveTo(std::vector<DemoInput>& inputs, int x, int y) {
        x_ = x;
        y_ = y;
        inputs.push_back({DemoInput::Kind::MouseMove, x, y});
    }

    void Click(std::vector<DemoInput>& inputs, int button) {
        inputs.push_back({DemoInput::Kind::MouseDown, x_, y_, button});
        buttonHeld_ = button;
    }

    // Mostly a new game, sometimes the options or the help screen, now and then a wander over the
    // menu; a click while the title is still coming down chooses nothing.
    void Menu(const TGame& game, std::vector<DemoInput>& inputs) {
        if (!OneIn(40)) {
            return;
        }
        const int choice = Between(1, 20);
        const int item = choice <= 15 ? 1 : choice <= 17 ? 2 : choice <= 19 ? 3 : 0;
        if (item == 0) {
            MoveTo(inputs, Between(0, 639), Between(0, 479));
            return;
        }
        MoveTo(inputs, Between(260, 380), 220 + 40 * (item - 1) + Between(2, 38));
        if (game.TitleSprite->Y >= 0 || OneIn(4)) {
            Click(inputs, OneIn(10) ? Between(2, 3) : 1);
        }
    }

    // Arrows change now and then, sometimes two at once; the pointer wanders and clicks, which
    // the menu acts on when play ends with the button held.
    void Steer(std::vector<DemoInput>& inputs, int escOneIn) {
        using K = DemoInput::Kind;
        if (OneIn(25)) {
            for (const int key : kArrows) {
                if (held_[Index(key)]) {
                    inputs.push_back({K::KeyUp, key});
                    held_[Index(key)] = false;
                }
            }
            const int count = OneIn(8) ? 2 : OneIn(10) ? 0 : 1;
            for (int i = 0; i < count; ++i) {
                const int key = kArrows[Between(0, 3)];
                if (!held_[Index(key)]) {
                    inputs.push_back({K::KeyDown, key});
                    held_[Index(key)] = true;
                }
            }
        }
        if (escOneIn > 0 && OneIn(escOneIn)) {
            PressEsc(inputs);
        }
        if (OneIn(500)) {
            MoveTo(inputs, Between(0, 639), Between(0, 479));
        }
        if (OneIn(3000)) {
            Click(inputs, Between(1, 3));
        }
    }

    static std::size_t Index(int key) {
        for (std::size_t i = 0; i < 4; ++i) {
            if (kArrows[i] == key) {
                return i;
            }
        }
        return 0;
    }

    std::mt19937 random_;
    bool held_[4] = {};
    bool escHeld_ = false;
    int buttonHeld_ = 0;
    int away_ = 0;
    int x_ = 0;
    int y_ = 0;
};

bool CheckSession(uint32_t seed, uint64_t frames, const std::optional<platform::TimeOfDay>& utc, uint64_t& played) {
    std::mt19937 random(seed);
    SessionStart start;
    if (utc) {
        start.Utc = *utc;
    } else {
        const auto ms = static_cast<int>(random() % 86'400'000u);
        start.Utc = {ms / 3'600'000, ms / 60'000 % 60, ms / 1000 % 60, ms % 1000};
    }
    HeadlessSession drawn(start);
    start.RulesOnly = true;
    HeadlessSession rulesOnly(start);
    const std::string name = "session " + std::to_string(seed) + " (utc " + demotext::FormatTime(start.Utc) + ")";
    if (!drawn.MakeForm() || !rulesOnly.MakeForm()) {
        std::cerr << name << ": the game cannot start\n";
        return false;
    }
    Player player(random());
    RunTracker runs;
    for (uint64_t frame = 1; frame <= frames; ++frame) {
        std::optional<long long> tick;
        for (const DemoInput& input : player.Next(drawn.Form().World, tick)) {
            drawn.Apply(input);
            rulesOnly.Apply(input);
        }
        if (tick) {
            drawn.SetTick(*tick);
            rulesOnly.SetTick(*tick);
        }
        const bool more = drawn.Frames(1);
        if (rulesOnly.Frames(1) != more) {
            std::cerr << name << ": only one replay ended at frame " << frame << '\n';
            return false;
        }
        const std::string a = StateOf(drawn.Form(), drawn.Frame());
        const std::string b = StateOf(rulesOnly.Form(), rulesOnly.Frame());
        if (a != b) {
            std::cerr << name << ": frame " << frame << " differs\n  " << Difference(a, b) << '\n';
            return false;
        }
        runs.AfterFrame(drawn.Form().World, frame, 0);
        ++played;
        if (!more) {
            break;
        }
    }
    runs.Finish(RunEnd::Unfinished);
    int ends[5] = {};
    int levels = 0;
    for (const GameRun& run : runs.Runs()) {
        ++ends[static_cast<int>(run.End)];
        levels = std::max(levels, run.Level);
    }
    std::cout << name << ": " << drawn.Frame() << " frames alike; " << runs.Runs().size() << " games: " << ends[0]
              << " lost, " << ends[1] << " to the end screen, " << ends[2] << " left with Esc; highest level " << levels
              << '\n';
    return true;
}

int Usage() {
    std::cerr << "usage: rules_only_check --levels DIR DEMO...\n"
                 "       rules_only_check --levels DIR --sessions N --frames F [--seed S] [--utc HH:MM:SS.mmm]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string levels;
    std::vector<std::string> demos;
    long long sessions = 0, frames = 0, seed = 1;
    std::optional<platform::TimeOfDay> utc;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool valued = i + 1 < argc;
        if (arg == "--levels" && valued) {
            levels = argv[++i];
        } else if ((arg == "--sessions" || arg == "--frames" || arg == "--seed") && valued) {
            const auto value = demotext::ParseInteger(argv[++i], 0, 1'000'000'000);
            if (!value) {
                return Usage();
            }
            (arg == "--sessions" ? sessions : arg == "--frames" ? frames : seed) = *value;
        } else if (arg == "--utc" && valued) {
            utc = demotext::ParseTime(argv[++i]);
            if (!utc) {
                return Usage();
            }
        } else if (!arg.starts_with("-")) {
            demos.push_back(std::filesystem::absolute(arg).string());
        } else {
            return Usage();
        }
    }
    if (levels.empty() || (demos.empty() == (sessions == 0))) {
        return Usage();
    }
    uint64_t played = 0;
    try {
        std::filesystem::current_path(levels);
        for (const std::string& demo : demos) {
            if (!CheckDemo(demo, played)) {
                return 1;
            }
        }
        for (long long s = 0; s < sessions; ++s) {
            if (!CheckSession(static_cast<uint32_t>(seed + s), static_cast<uint64_t>(frames), utc, played)) {
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "rules_only_check: " << e.what() << '\n';
        return 1;
    }
    std::cout << played << " frames played both ways, every state alike\n";
    return 0;
}
