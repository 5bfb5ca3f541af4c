#pragma once

#include "demo/Demo.h"

#include <optional>
#include <string>
#include <vector>

class RemappingPlatform;
class RunKeeper;
class TForm1;
class RunSender;
class WindowGate;

// One session of the desktop game as a player plays it: the game with the player's interface,
// recorded into the runs folder, each run kept in the records; the records screen opened from the
// menu (R, the pad's Y), its runs watched in the window, and the daily challenge started from it.
class GameSession {
public:
    // What comes after the session.
    enum class Next { Quit, Daily };

    struct Start {
        std::vector<std::string> Arguments;
        bool Daily = false;             // the daily challenge of today
        std::string Server;             // the leaderboard of the settings, empty for none
        RunSender* Submitter = nullptr; // the leaderboard's client, null while there is none
    };

    // `keys` is the window's platform with the player's keys; `gate` the window as sessions share it.
    GameSession(RemappingPlatform& keys, WindowGate& gate, Start start);

    // Plays the session to its end; false in `started` when the game could not start.
    Next Run(bool& started);

private:
    // The records screen, until it is closed; returns true when the daily challenge is to start.
    bool VisitRecords(TForm1& form, const RunKeeper* keeper);

    RemappingPlatform& keys_;
    WindowGate& gate_;
    Start start_;
};
