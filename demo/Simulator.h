#pragma once

#include "demo/SimScript.h"
#include "platform/inputmap/KeyRemap.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Runs a simulator script with the real game on the headless platform and writes JSON lines:
// `state` objects, {"error": MESSAGE} for each error that reaches the error box and
// {"terminated": true} when the application ends.
class HeadlessSession;
class SessionObserver;

class Simulator {
public:
    struct Options {
        platform::TimeOfDay Utc;             // time of day at start-up, unless the script sets it
        bool UtcGiven = false;               // Utc overrides the script's
        std::vector<std::string> Arguments;  // the game's command line, unless empty
        std::string DemoFile;                // also record the run as a demo here
        bool ReplaceDemo = false;            // an existing DemoFile is replaced, not refused
        std::optional<UtcDate> Daily;        // a daily session on that date (Utc: its real start)
        bool Interface = false;              // the desktop game's interface (title hint, pause)
        platform::KeyRemap Keys;             // the keys as the player's settings bind them
        SessionObserver* Observer = nullptr; // told of every frame and of the end
        bool PlayUnrecorded = false;         // a demo that cannot be made is told, and the game goes on
        // Called once the game has started, before the script's first frame.
        std::function<void(HeadlessSession&)> OnStart;
    };

    // Runs a script that SimScript::Check has accepted, reading it as it goes. Lines go to `out`,
    // failures to `err`; returns the exit status: 0, or 1 when a level file differs from the
    // script's `level` line, the demo or a shot cannot be written, or the game cannot start.
    static int Run(std::string_view script, const Options& options, const std::function<void(const std::string&)>& out,
                   const std::function<void(const std::string&)>& err);
};
