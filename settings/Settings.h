#pragma once

#include "platform/inputmap/KeyRemap.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// What the player set in the settings file; whatever is not set keeps the program's default.
struct Settings {
    // The keys a player may bind, as the settings file names them, and the keys they stand for.
    struct Action {
        const char* Name;
        int Key; // the key position the game reads
    };
    static constexpr std::array<Action, 5> kActions{{
        {"left", 203},
        {"right", 205},
        {"up", 200},
        {"down", 208},
        {"escape", 1},
    }};

    std::optional<bool> Window;        // a window rather than full screen
    std::optional<bool> IntegerScale;  // scaling by whole numbers only
    std::optional<double> PadDeadZone; // share of a stick's travel before it counts, 0.05 to 0.95
    // For each action of kActions, the keys bound to it, when the file binds it.
    std::array<std::optional<std::vector<int>>, kActions.size()> Keys;
    std::string Server; // the leaderboard's address (http:// or https://), empty for none
    std::string Lang;   // the language of the texts, empty for the system's

    // The key bindings for the keyboard.
    platform::KeyRemap Remap() const;
};
