// vorkalith-sim: the real game on the headless display, driven by a script, for tests and tools.
//
//   vorkalith-sim [--utc HH:MM:SS.mmm] [--daily YYYY-MM-DD] [--to-demo DEMO [--force] | --record-runs]
//                 [--lang CODE] [SCRIPT] [-- GAME-ARGS]
//   vorkalith-sim --from-demo DEMO
//
// Runs in the folder of the level files. Without SCRIPT the script is read from standard input.
// Output is JSON lines (state objects, errors, the end of the application). --to-demo also
// records the run as a demo; --record-runs plays as the desktop game does (its interface, the
// player's key settings) and keeps the session's demo and runs in the records; --from-demo prints
// the script that replays a demo; --daily plays the daily challenge of a date; --lang shows the
// texts (the game's and the program's own) in another language than the user's.
#include "demo/DemoReader.h"
#include "demo/DemoText.h"
#include "demo/DemoWriter.h"
#include "demo/HeadlessSession.h"
#include "demo/SimScript.h"
#include "demo/Simulator.h"
#include "records/SessionRuns.h"
#include "settings/SettingsFile.h"

#include "platform/app/StopSignal.h"
#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"
#include "platform/files/WholeFile.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    N_("usage: vorkalith-sim [--utc HH:MM:SS.mmm] [--daily YYYY-MM-DD] [--to-demo DEMO [--force] | --record-runs]\n"
       "                     [--lang CODE] [SCRIPT] [-- GAME-ARGS]\n"
       "       vorkalith-sim --from-demo DEMO\n");

// TRANSLATORS: the script's commands and words (frames, key, down, up, utc, ...) and the JSON
// output's names stay as they are: the program reads and writes them in every language.
constexpr const char* kHelp =
    N_("Runs the game on the headless display, driven by a script (one command a line, '#' comments):\n"
       "  frames N                       run N frames\n"
       "  key CODE|left|up|right|down|esc|pause down|up\n"
       "                                 a key by virtual-key code\n"
       "  scankey CODE down|up           a key by the keyboard's key code\n"
       "  mouse X Y                      the pointer moves\n"
       "  button down|up [BUTTON [X Y]]  a mouse button (1 by default) at the pointer\n"
       "  focus in|out                   the window comes to the front or goes behind\n"
       "  foreground 0|1                 the window has the keyboard focus or not (no event)\n"
       "  event focus-in|focus-out|expose|quit\n"
       "  tick MS|60hz                   the clock step of each frame (60hz by default)\n"
       "  state                          print the game's state as one JSON line\n"
       "  shot FILE                      write the screen as a PNG\n"
       "Before the first frame: utc HH:MM:SS.mmm, clock MS, arg TEXT, level NAME BYTES DIGEST, daily YYYY-MM-DD\n"
       "(a daily session; utc is its real start), interface (the desktop game's title hint and pause).\n"
       "Output: JSON lines: state objects, {\"error\": MESSAGE}, {\"terminated\": true}.\n"
       "Options:\n"
       "  --utc HH:MM:SS.mmm   the time of day the game starts at (default 00:00:00.000)\n"
       "  --daily YYYY-MM-DD   a daily session of that date: the game is seeded from the date, and\n"
       "                       --utc is the real time of day it starts at\n"
       "  --to-demo DEMO       also record the run as a demo (an existing DEMO is refused)\n"
       "  --force              with --to-demo: replace an existing DEMO\n"
       "  --record-runs        play as the desktop game does (its title hint and pause, the keys of\n"
       "                       $XDG_CONFIG_HOME/vorkalith/settings.toml) and keep the session's demo and\n"
       "                       its runs in $XDG_DATA_HOME/vorkalith/runs, as the game does\n"
       "  --from-demo DEMO     print the script that replays DEMO exactly\n"
       "  --lang CODE          show the texts in language CODE (en, ru): the game's, in the state\n"
       "                       lines' ScoreText, and this program's own\n"
       "  --help               this text\n"
       "Exit status: 0 done, 1 failure, 2 bad usage or a bad script line; stopped by SIGINT, SIGTERM or\n"
       "SIGHUP, the run ends as if the window were closed (the demo is closed with its end line).\n");

// `message` is already made safe for a terminal.
int Usage(const std::string& message) {
    std::cerr << "vorkalith-sim: " << message << '\n' << Tr(kUsage);
    return 2;
}

// The value of --lang, as the last one given before "--" has it ("" when there is none), so that
// every message of the command line, whatever its place, is told in that language.
std::string LanguageOption(int argc, char** argv) {
    std::string language;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            break;
        }
        if (arg == "--lang" && i + 1 < argc) {
            language = argv[++i];
        } else if (arg.starts_with("--lang=")) {
            language = arg.substr(7);
        } else if (arg == "--utc" || arg == "--daily" || arg == "--to-demo" || arg == "--from-demo") {
            // Their values are never taken for an option.
            ++i;
        }
    }
    return language;
}

} // namespace

int main(int argc, char** argv) {
    // The game's texts in the state lines (ScoreText) follow the user's language as the game's do,
    // or the one --lang names.
    UseUserLanguage();
    if (const std::string language = LanguageOption(argc, argv); !language.empty()) {
        SetLanguage(language);
    }
    Simulator::Options options;
    std::string scriptFile;
    std::string fromDemo;
    bool gameArgs = false;
    bool recordRuns = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (gameArgs) {
            options.Arguments.push_back(arg);
        } else if (arg == "--") {
            gameArgs = true;
        } else if (arg == "--help") {
            std::cout << Tr(kUsage) << Tr(kHelp);
            return 0;
        } else if (arg == "--force") {
            options.ReplaceDemo = true;
        } else if (arg == "--record-runs") {
            recordRuns = true;
        } else if (arg == "--lang" || arg.starts_with("--lang=")) {
            // Applied before the rest (LanguageOption); here only passed over, or refused when empty.
            const char* value = arg == "--lang" ? (i + 1 < argc ? argv[++i] : "") : argv[i] + 7;
            if (*value == '\0') {
                return Usage(Fill(Tr("option '{}' needs a value"), {"--lang"}));
            }
        } else if (arg == "--utc" || arg == "--daily" || arg == "--to-demo" || arg == "--from-demo") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                return Usage(Fill(Tr("option '{}' needs a value"), {arg}));
            }
            const std::string value = argv[++i];
            if (arg == "--utc") {
                const auto time = demotext::ParseTime(value);
                if (!time) {
                    return Usage(Fill(Tr("bad time of day \"{}\" (HH:MM:SS.mmm)"), {platform::EscapeControls(value)}));
                }
                options.Utc = *time;
                options.UtcGiven = true;
            } else if (arg == "--daily") {
                options.Daily = DailyChallenge::ParseDate(value);
                if (!options.Daily) {
                    return Usage(Fill(Tr("bad date \"{}\" (YYYY-MM-DD)"), {platform::EscapeControls(value)}));
                }
            } else {
                (arg == "--to-demo" ? options.DemoFile : fromDemo) = value;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage(Fill(Tr("unknown option '{}'"), {platform::EscapeControls(arg)}));
        } else if (scriptFile.empty()) {
            scriptFile = arg;
        } else {
            return Usage(Tr("more than one script"));
        }
    }

    if (options.ReplaceDemo && options.DemoFile.empty()) {
        return Usage(Tr("--force needs --to-demo"));
    }
    if (recordRuns && (!options.DemoFile.empty() || !fromDemo.empty())) {
        return Usage(Tr("--record-runs cannot be used with --to-demo or --from-demo"));
    }
    if (!fromDemo.empty()) {
        if (!scriptFile.empty() || !options.DemoFile.empty() || options.UtcGiven || options.ReplaceDemo ||
            options.Daily || gameArgs) {
            return Usage(Tr("--from-demo takes no other arguments"));
        }
        try {
            std::cout << SimScript::FromDemo(DemoReader::ReadFile(fromDemo));
        } catch (const DemoError& e) {
            std::cerr << "vorkalith-sim: " << e.what() << '\n';
            return 1;
        }
        return 0;
    }

    // The script is read whole before the game starts, through the demo reader's checks: only a
    // regular file (or standard input), at most as large as a demo may be.
    std::string error;
    std::optional<std::string> text;
    if (scriptFile.empty() || scriptFile == "-") {
        scriptFile.assign(1, '-');
        text = platform::ReadWholeStream(0, DemoReader::kMaxFileBytes, error);
    } else {
        text = platform::ReadWholeFile(scriptFile, DemoReader::kMaxFileBytes, error);
    }
    if (!text) {
        std::cerr << "vorkalith-sim: " << platform::EscapeControls(scriptFile) << ": " << error << '\n';
        return 1;
    }
    try {
        SimScript::Check(*text);
    } catch (const ScriptError& e) {
        std::cerr << "vorkalith-sim: " << platform::EscapeControls(scriptFile) << ":" << e.Line << ": " << e.Message
                  << '\n';
        return 2;
    }
    auto warn = [](const std::string& line) { std::cerr << "vorkalith-sim: " << line << std::endl; };
    // As the desktop game: the player's keys, the interface, and the session kept in the runs.
    std::unique_ptr<SessionRuns> runs;
    if (recordRuns) {
        std::vector<std::string> warnings;
        options.Keys = SettingsFile::Read(SettingsFile::DefaultPath(), warnings).Remap();
        for (const std::string& warning : warnings) {
            warn(warning);
        }
        options.Interface = true;
        runs = std::make_unique<SessionRuns>(RunsFolder::Default(),
                                             options.Daily ? DailyChallenge::FormatDate(*options.Daily) : "", warn);
        if (runs->Ready()) {
            options.DemoFile = runs->DemoPath();
            options.Observer = &runs->Keeper();
            options.PlayUnrecorded = true;
            options.OnStart = [&runs](HeadlessSession& session) {
                if (session.Writer()) {
                    runs->Recording(session.Writer()->WorkingPath());
                }
            };
        }
    }
    // From here a stop signal ends the run as a closed window would, the demo closed properly.
    platform::StopSignal::Install();
    // Lines are written whole as they come, so that a reader sees each state at once.
    const int status = Simulator::Run(
        *text, options, [](const std::string& line) { std::cout << line << '\n'
                                                                << std::flush; }, warn);
    if (runs) {
        runs->Tidy();
    }
    platform::StopSignal::ReRaise();
    return status;
}
