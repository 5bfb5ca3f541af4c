#include "game/CommandLine.h"

#include "game/TerminalText.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"

#ifndef VK_VERSION
#define VK_VERSION "0"
#endif

namespace {

// 1 to 24 written in decimal digits; 0 for anything else.
int ParseLevelNumber(const std::string& text) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    const int number = std::stoi(text);
    return number >= 1 && number <= 24 ? number : 0;
}

} // namespace

bool CommandLine::Parse(const std::vector<std::string>& arguments, std::string& error) {
    *this = CommandLine{};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        // An option that takes a value accepts it as the next argument or after '='.
        auto value = [&](const std::string& name, std::string& into) {
            if (arg == name) {
                if (i + 1 >= arguments.size()) {
                    error = Fill(Tr("option '{}' needs a value"), {name});
                    return false;
                }
                into = arguments[++i];
            } else {
                into = arg.substr(name.size() + 1);
            }
            if (into.empty()) {
                error = Fill(Tr("option '{}' needs a value"), {name});
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
        } else if (arg == "--fullscreen") {
            FullScreen = true;
        } else if (arg == "--scores") {
            Scores = true;
        } else if (arg == "--json") {
            Json = true;
        } else if (arg == "--integer-scale") {
            IntegerScale = true;
        } else if (arg == "--headless") {
            Headless = true;
        } else if (arg == "--force") {
            Force = true;
        } else if (arg == "--daily") {
            Daily = true;
        } else if (takes("--levels")) {
            if (!value("--levels", LevelsDir)) {
                return false;
            }
        } else if (takes("--level")) {
            std::string number;
            if (!value("--level", number)) {
                return false;
            }
            StartLevel = ParseLevelNumber(number);
            if (StartLevel == 0) {
                error = Fill(Tr("option '--level' needs a level number from 1 to 24, not '{}'"), {number});
                return false;
            }
        } else if (takes("--lang")) {
            if (!value("--lang", Language)) {
                return false;
            }
        } else if (takes("--watch")) {
            std::string number;
            if (!value("--watch", number)) {
                return false;
            }
            Watch = number.size() <= 2 && number.find_first_not_of("0123456789") == std::string::npos
                        ? std::stoi(number)
                        : 0;
            if (Watch == 0) {
                error = Fill(Tr("option '--watch' needs the number of a run of the records (1 to 10), not '{}'"),
                             {TerminalText(number)});
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
        } else if (takes("--verify")) {
            if (!value("--verify", VerifyFile)) {
                return false;
            }
        } else if (takes("--submit")) {
            if (!value("--submit", SubmitFile)) {
                return false;
            }
        } else if (takes("--server")) {
            if (!value("--server", ServerUrl)) {
                return false;
            }
        } else if (takes("--name")) {
            if (!value("--name", PlayerName)) {
                return false;
            }
        } else if (arg.starts_with("-")) {
            error = Fill(Tr("unknown option '{}'"), {TerminalText(arg)});
            return false;
        } else {
            error = Fill(Tr("unexpected argument '{}'"), {TerminalText(arg)});
            return false;
        }
    }
    if (!RecordFile.empty() && !PlaybackFile.empty()) {
        error = Tr("--record and --playback cannot be used together");
        return false;
    }
    if (!VerifyFile.empty() && (!RecordFile.empty() || !PlaybackFile.empty() || Daily)) {
        error = Tr("--verify cannot be used with --record, --playback or --daily");
        return false;
    }
    if (Window && FullScreen) {
        error = Tr("--window and --fullscreen cannot be used together");
        return false;
    }
    if (Json && !Scores) {
        error = Tr("--json needs --scores");
        return false;
    }
    if ((Scores || Watch != 0) && (Scores == (Watch != 0) || !RecordFile.empty() || !PlaybackFile.empty() ||
                                   !VerifyFile.empty() || Daily || StartLevel != 0)) {
        error = Tr("--scores and --watch are used alone (--watch with --headless or the window's options)");
        return false;
    }
    if (Daily && !PlaybackFile.empty()) {
        error = Tr("--daily cannot be used with --playback: a demo replays the start it recorded");
        return false;
    }
    if (!SubmitFile.empty() && ServerUrl.empty()) {
        error = Tr("--submit needs --server URL");
        return false;
    }
    if (SubmitFile.empty() && !PlayerName.empty()) {
        error = Tr("--name needs --submit");
        return false;
    }
    return true;
}

std::string CommandLine::Usage() {
    return Tr("usage: vorkalith [-sf] [OPTION]...\n"
              "A small full-screen arcade game: steer the ship with the arrow keys, eat orbs, avoid mines.\n"
              "\n"
              "  -sf                  as the first argument: present frames from a 1 ms timer (slow machines)\n"
              "      --window         start in a resizable window instead of full screen\n"
              "      --fullscreen     start in full screen whatever the settings say\n"
              "      --integer-scale  scale the picture by whole numbers only (sharp pixels, black bars)\n"
              "      --levels DIR     read the level files 1.vrk .. 24.vrk from DIR\n"
              "      --level N        start playing at level N (1 to 24) instead of the menu\n"
              "      --record FILE    record the game played into FILE\n"
              "      --playback FILE  play back the game recorded in FILE\n"
              "      --headless       with --playback or --watch: play back without a window\n"
              "      --force          with --playback: go on even where the recording's files differ or it was\n"
              "                       cut short; with --record: replace an existing FILE\n"
              "      --verify FILE    replay the demo FILE by the rules alone and print each game in it as a\n"
              "                       line of JSON (scores, level, orbs, how it ended, installed levels, daily)\n"
              "      --daily          play the daily challenge: the orbs are placed from today's UTC date, the\n"
              "                       same for everyone that day\n"
              "      --scores         print the records, the ten best runs, one a line, tab-separated: rank,\n"
              "                       best score, level, orbs, play time, date, how it ended, daily date,\n"
              "                       demo, first and last frame (--json: as one JSON document)\n"
              "      --watch N        play run N of the records from its start (--headless: print the\n"
              "                       state line of its last frame instead)\n"
              "      --submit FILE    upload the demo FILE to the leaderboard server given by --server URL, which\n"
              "                       replays it, and print its verdict; --name NAME gives the player's name\n"
              "      --lang CODE      show the texts in language CODE (en, ru)\n"
              "  -h, --help           print this help and exit\n"
              "      --version        print the version and exit\n"
              "\n"
              "Keys: arrows steer, Esc leaves play and screens, P or Pause pauses play, R opens the records\n"
              "(Up/Down choose, Enter watches, D plays the daily challenge), Alt+Enter or F11 switches between\n"
              "full screen and a window. The menu is worked with the mouse; its last item (\"Выход\") quits.\n"
              "Every game is recorded in $XDG_DATA_HOME/vorkalith/runs (but with --record or --level) and its\n"
              "runs kept in the records there; settings are read from $XDG_CONFIG_HOME/vorkalith/settings.toml\n"
              "(see vorkalith(6)).\n"
              "Levels are looked for in --levels DIR, $VORKALITH_LEVELS, the current folder,\n"
              "$XDG_DATA_HOME/vorkalith/levels, the installed folder, $XDG_DATA_DIRS and the program's own folder.\n"
              "The texts are shown in the language of LANGUAGE, LC_ALL, LC_MESSAGES or LANG (--lang overrides it);\n"
              "the game's own language is Russian.\n");
}

std::string CommandLine::TryHelp() {
    return Tr("Try 'vorkalith --help' for more information.\n");
}

std::string CommandLine::VersionLine() {
    return std::string("vorkalith ") + VK_VERSION;
}
