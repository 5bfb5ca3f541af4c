#pragma once

#include "settings/Settings.h"

#include <string>
#include <vector>

// The settings file, $XDG_CONFIG_HOME/vorkalith/settings.toml (by default
// ~/.config/vorkalith/settings.toml), in TOML:
//
//     window = true            # a window rather than full screen (Alt+Enter and F11 change it)
//     integer_scale = false    # scale by whole numbers only
//     pad_dead_zone = 0.3      # how far a stick must move before it counts (0.05 to 0.95)
//     server = "https://..."   # the leaderboard to offer runs to
//     lang = "ru"              # the language of the texts
//     [keys]
//     left = ["a", "left"]     # also right, up, down, escape; each key a name of KeyNames.h
//
// The program never writes over the player's text, but for the remembered window mode.
class SettingsFile {
public:
    // The default path; empty when neither XDG_CONFIG_HOME nor HOME is set.
    static std::string DefaultPath();

    // The settings of the file at `path`. A missing file gives the defaults quietly; everything
    // else the file holds that cannot be used (an unknown key, a bad value, a file that is not
    // TOML) is named in `warnings` with its line, "settings.toml:7: unknown key 'lfet'", and
    // whatever it was to set keeps its default.
    static Settings Read(const std::string& path, std::vector<std::string>& warnings);
    // The same from the file's text; `name` names it in the warnings.
    static Settings Parse(const std::string& text, const std::string& name, std::vector<std::string>& warnings);

    // Writes the window mode into the file, changing only the value of its `window` line (or adding
    // the line before the first table), so that comments and keys the program does not know stay
    // as they are; the file is made when missing. Returns "" when done, else why not: a file that
    // is not TOML is left alone.
    static std::string RememberWindowMode(const std::string& path, bool window);
    // The new text of the file for the window mode, from its old text; nullopt when the text is not
    // TOML or its window line cannot be found.
    static std::optional<std::string> WithWindowMode(const std::string& text, bool window);
};
