#pragma once

#include "demo/Demo.h"
#include "demo/DemoPlayer.h"

#include <memory>
#include <string>

namespace platform {
class Platform;
}

// A recorded demo played in the page in place of the player's game, when the page's address
// names one (?demo=URL). The page's script has fetched it before the program started; here it
// is read, checked against the page's level files as the desktop's playback does, and played a
// frame at a time over the page's display: the page's keys and mouse do not reach the game.
class PageDemo {
public:
    // True when the page's address names a demo.
    static bool Asked();
    // Reads the demo, checks its level files and makes the game's main form. Null when it is not
    // to be played: a fetch or read error (with its line), level files other than the recorded
    // ones (without &force=1), or a form that cannot be made; the reason is in the error box.
    static std::unique_ptr<PageDemo> Open(platform::Platform& window);
    PageDemo(const PageDemo&) = delete;
    PageDemo& operator=(const PageDemo&) = delete;

    DemoPlayer& Player() { return player_; }
    // Tells the page the demo is over (Module.vkDemoEnded, the final-state line in
    // Module.vkDemoFinal and a note under the screen); the screen keeps the last frame.
    void Ended();

private:
    PageDemo(platform::Platform& window, Demo demo);
    // The demo read from the fetched file into `demo`, or why it is not to be played; a forced
    // demo on other level files is played, with the files named in `warning`.
    static std::string Read(Demo& demo, std::string& warning);

    Demo demo_; // before the player, which refers to it
    DemoPlayer player_;
};
