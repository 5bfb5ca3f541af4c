// vk_demobot: plays the game on the headless display towards a goal and records the run as a demo,
// for the demos the tests replay.
//
//   vk_demobot GOAL DEMO [--utc HH:MM:SS.mmm] [--max-frames N]
//
// GOAL is one of: energy (the ship pushes against the edge until its energy runs out), mine (the
// ship seeks the mines after its fade-in), level2 (orbs are eaten until level 2 has been played a
// while), end (play goes on until the end screen, which Esc leaves; a click while the title comes
// down must not start a game). Each demo ends half a second after its goal. Run in the folder of
// the level files. Exit status 1 when the goal is not reached within the frames.
#include "demo/DemoText.h"
#include "demo/HeadlessSession.h"
#include "game/MainForm.h"
#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "sprite/ImageSprite.h"
#include "tools/ToolLanguage.h"
#include "tools/demobot/CellBot.h"

#include <iostream>
#include <string>

namespace {

constexpr int kLeft = 203;
constexpr int kEsc = 1;

// Drives the session: holds at most one key at a time and clicks menu items.
class Driver {
public:
    Driver(HeadlessSession& session, long long maxFrames) : session_(session), maxFrames_(maxFrames) {}

    TGame& Game() const { return session_.Form().World; }
    bool OutOfFrames() const { return static_cast<long long>(session_.Frame()) >= maxFrames_; }

    void Hold(int key) {
        if (key == held_) {
            return;
        }
        if (held_ != 0) {
            session_.Apply(DemoInput{DemoInput::Kind::KeyUp, held_});
        }
        if (key != 0) {
            session_.Apply(DemoInput{DemoInput::Kind::KeyDown, key});
        }
        held_ = key;
    }

    bool Frames(long long count) { return session_.Frames(count); }

    // Points at menu item n (1 new game .. 4 exit) and clicks it.
    bool Click(int item) {
        const int x = 320, y = 240 + 40 * (item - 1);
        session_.Apply(DemoInput{DemoInput::Kind::MouseMove, x, y});
        if (!Frames(2)) {
            return false;
        }
        session_.Apply(DemoInput{DemoInput::Kind::MouseDown, x, y, 1});
        if (!Frames(1)) {
            return false;
        }
        session_.Apply(DemoInput{DemoInput::Kind::MouseUp, x, y, 1});
        return Frames(1);
    }

    // Waits until the title is at rest.
    bool TitleAtRest() {
        while (Game().TitleSprite->Y < 0 && !OutOfFrames()) {
            if (!Frames(1)) {
                return false;
            }
        }
        return true;
    }

private:
    HeadlessSession& session_;
    long long maxFrames_;
    int held_ = 0;
};

bool PlayTowards(Driver& driver, const std::string& goal) {
    TGame& game = driver.Game();
    const CellBot orbs(game, CellBot::Target::Orbs);
    const CellBot mines(game, CellBot::Target::Mines);
    while (!driver.OutOfFrames()) {
        if (goal == "energy") {
            driver.Hold(game.GameState == 1 ? kLeft : 0);
        } else if (goal == "mine") {
            driver.Hold(game.GameState == 1 ? (game.Fade == 0.0 ? mines.Key() : 0) : 0);
        } else if (goal == "level2") {
            driver.Hold(game.GameState == 1 ? orbs.Key() : 0);
        } else {
            driver.Hold(0);
        }
        if (!driver.Frames(1)) {
            return false;
        }
        if ((goal == "energy" || goal == "mine") && game.GameState == 0) {
            return true;
        }
        if (goal == "level2" && game.Level == 2 && game.GameState == 1 && game.Fade == 0.0) {
            return driver.Frames(120);
        }
        if (goal == "end" && game.GameState == 5) {
            driver.Frames(60);
            driver.Hold(kEsc);
            driver.Frames(1);
            driver.Hold(0);
            // The title comes down from above: a click now must choose nothing.
            driver.Frames(20);
            if (!driver.Click(1)) {
                return false;
            }
            return game.GameState == 0;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    UseToolLanguage();
    const char* usage = Tr("usage: vk_demobot energy|mine|level2|end DEMO [--utc HH:MM:SS.mmm] [--max-frames N]\n");
    if (argc >= 2 && std::string(argv[1]) == "--help") {
        std::cout << usage;
        return 0;
    }
    if (argc < 3) {
        std::cerr << usage;
        return 2;
    }
    const std::string goal = argv[1];
    if (goal != "energy" && goal != "mine" && goal != "level2" && goal != "end") {
        std::cerr << "vk_demobot: " << Fill(Tr("unknown goal {}"), {platform::EscapeControls(goal)}) << '\n';
        return 2;
    }
    SessionStart start;
    start.DemoFile = argv[2];
    // The demos it makes are made again whenever the game changes: an old one is replaced.
    start.ReplaceDemo = true;
    start.OnDemoFailure = [](const std::string& message) { std::cerr << "vk_demobot: " << message << '\n'; };
    long long maxFrames = 200000;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--utc" && demotext::ParseTime(value)) {
            start.Utc = *demotext::ParseTime(value);
        } else if (option == "--max-frames" && demotext::ParseInteger(value, 1, 100000000)) {
            maxFrames = *demotext::ParseInteger(value, 1, 100000000);
        } else {
            std::cerr << "vk_demobot: "
                      << Fill(Tr("bad option {} {}"),
                              {platform::EscapeControls(option), platform::EscapeControls(value)})
                      << '\n';
            return 2;
        }
    }
    if (argc % 2 == 0) {
        std::cerr << "vk_demobot: " << Fill(Tr("option '{}' needs a value"), {platform::EscapeControls(argv[argc - 1])})
                  << '\n';
        return 2;
    }
    try {
        HeadlessSession session(start);
        session.OnError = [](const std::string& message) {
            std::cerr << "vk_demobot: " << Fill(Tr("error box: {}"), {message}) << '\n';
        };
        if (!session.MakeForm()) {
            return 1;
        }
        Driver driver(session, maxFrames);
        const bool reached = driver.Frames(2) && driver.TitleAtRest() && driver.Click(1) && PlayTowards(driver, goal);
        // The demo ends half a second later, while its screen still shows how the game ended.
        const bool ended = reached && driver.Frames(30);
        if (!session.CloseDemo()) {
            return 1;
        }
        if (!ended) {
            std::cerr << "vk_demobot: "
                      << Fill(Tr("goal {} not reached in {} frames"), {goal, std::to_string(session.Frame())}) << '\n';
            return 1;
        }
        std::cout << "vk_demobot: " << Fill(Tr("{} reached; {} frames"), {goal, std::to_string(session.Frame())})
                  << '\n';
    } catch (const std::exception& e) {
        std::cerr << "vk_demobot: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
