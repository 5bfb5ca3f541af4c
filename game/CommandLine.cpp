#include "game/CommandLine.h"

#include "game/TerminalText.h"

#ifndef VK_VERSION
#define VK_VERSION "0"
#endif

bool CommandLine::Parse(const std::vector<std::string>& arguments, std::string& error) {
    *this = CommandLine{};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        // An option that takes a value accepts it as the next argument or after '='.
        auto value = [&](const std::string& name, std::string& into) {
            if (arg == name) {
                if (i + 1 >= arguments.size()) {
                    error = "option '" + name + "' needs a value";
                    return false;
                }
                into = arguments[++i];
            } else {
                into = arg.substr(name.size() + 1);
            }
            if (into.empty()) {
                error = "option '" + name + "' needs a value";
                return false;
            }
            return true;
        };
        auto takes = [&](const std::string& name) { return arg == name || arg.starts_with(name + "="); };

        if (arg == "-h" || arg == "--help") {
            Help = true;
        } else if (arg == "--version") {
            Version = true;
        } else if (arg == "-sf") {
            SlowFlip = SlowFlip || i == 0;
        } else if (arg == "-f") {
            // Listed on the game's options screen; the game has always accepted and ignored it.
        } else if (arg == "--window") {
            Window = true;
        } else if (arg == "--integer-scale") {
            IntegerScale = true;
        } else if (arg == "--headless") {
            Headless = true;
        } else if (arg == "--force") {
            Force = true;
        } else if (takes("--levels")) {
            if (!value("--levels", LevelsDir)) {
                return false;
            }
        } else if (takes("--record")) {
            if (!value("--record", RecordFile)) {
                return false;
            }
        } else if (takes("--playback")) {
            if (!value("--playback", PlaybackFile)) {
                return false;
            }
        } else if (arg.starts_with("-")) {
            error = "unknown option '" + TerminalText(arg) + "'";
            return false;
        } else {
            error = "unexpected argument '" + TerminalText(arg) + "'";
            return false;
        }
    }
    if (!RecordFile.empty() && !PlaybackFile.empty()) {
        error = "--record and --playback cannot be used together";
        return false;
    }
    return true;
}

std::string CommandLine::Usage() {
    return "usage: vorkalith [-sf] [OPTION]...\n"
           "A small full-screen arcade game: steer the ship with the arrow keys, eat orbs, avoid mines.\n"
           "\n"
           "  -sf                  as the first argument: present frames from a 1 ms timer (slow machines)\n"
           "      --window         start in a resizable window instead of full screen\n"
           "      --integer-scale  scale the picture by whole numbers only (sharp pixels, black bars)\n"
           "      --levels DIR     read the level files 1.vrk .. 24.vrk from DIR\n"
           "      --record FILE    record the game played into FILE\n"
           "      --playback FILE  play back the game recorded in FILE\n"
           "      --headless       with --playback: play back without a window\n"
           "      --force          with --playback: go on even where the recording's files differ\n"
           "  -h, --help           print this help and exit\n"
           "      --version        print the version and exit\n"
           "\n"
           "Keys: arrows steer, Esc leaves play and screens, Alt+Enter or F11 switches between full screen\n"
           "and a window. The menu is worked with the mouse; its last item (\"Выход\") quits.\n"
           "Levels are looked for in --levels DIR, $VORKALITH_LEVELS, the current folder,\n"
           "$XDG_DATA_HOME/vorkalith/levels, the installed folder, $XDG_DATA_DIRS and the program's own folder.\n";
}

std::string CommandLine::TryHelp() {
    return "Try 'vorkalith --help' for more information.\n";
}

std::string CommandLine::VersionLine() {
    return std::string("vorkalith ") + VK_VERSION;
}
