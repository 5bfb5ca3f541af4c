// Vorkalith: reads the command line and the player's settings, finds the level files, and plays:
// the game in sessions that keep their runs, or a demo, a verification or the records.
#include "app/desktop/GameSession.h"
#include "app/desktop/LeaderboardSender.h"
#include "client/RunSubmitter.h"
#include "demo/DailyPlatform.h"
#include "demo/DemoCommands.h"
#include "demo/RemappingPlatform.h"
#include "demo/WindowGate.h"
#include "game/CommandLine.h"
#include "game/LevelFolder.h"
#include "game/MainForm.h"
#include "game/WindowIcon.h"
#include "platform/app/Application.h"
#include "platform/app/StopSignal.h"
#include "platform/base/ControlEscape.h"
#include "platform/base/Exception.h"
#include "platform/base/Translate.h"
#include "platform/sdl/FontLocator.h"
#include "platform/sdl/SdlPlatform.h"
#include "records/RecordsCommands.h"
#include "settings/SettingsFile.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {
// The level file the game starts at, which a level folder must hold; none for a demo replayed,
// verified or watched, which names the files it reads.
std::string FirstLevelFile(const CommandLine& options) {
    if (!options.PlaybackFile.empty() || !options.VerifyFile.empty() || options.Watch != 0) {
        return {};
    }
    return std::to_string(options.StartLevel > 0 ? options.StartLevel : 1) + ".vrk";
}

// The game as it always was, in the window: with --record into its demo, with --level from that
// level; neither the player's interface nor the runs.
int RunPlainGame(platform::Platform& live, const CommandLine& options, const std::vector<std::string>& arguments,
                 const std::optional<DemoDaily>& daily) {
    if (!options.RecordFile.empty()) {
        return RecordGame(live, options.RecordFile, arguments, options.Force, daily);
    }
    TApplication application(live, arguments);
    application.SetTitle("Vorkalith");
    if (!CreateMainForm(application)) {
        return 1;
    }
    application.Run();
    return 0;
}

// Sessions of the game one after another in the same window, as long as the player starts a new
// one (the daily challenge from the records screen).
int RunSessions(RemappingPlatform& keys, const CommandLine& options, const std::vector<std::string>& arguments,
                const Settings& settings) {
    WindowGate gate(keys);
    GameSession::Start start;
    start.Arguments = arguments;
    start.Daily = options.Daily;
    start.Server = settings.Server;
    // With a server in the settings, the records screen offers to send a run there.
    std::unique_ptr<LeaderboardSender> sender;
    if (!settings.Server.empty()) {
        sender = std::make_unique<LeaderboardSender>(settings.Server);
        start.Submitter = sender.get();
    }
    for (;;) {
        bool started = false;
        const GameSession::Next next = GameSession(keys, gate, start).Run(started);
        if (!started) {
            return 1;
        }
        if (next == GameSession::Next::Quit || platform::StopSignal::Received() != 0) {
            return 0;
        }
        start.Daily = true;
    }
}

int RunGame(const CommandLine& options, const std::vector<std::string>& arguments, const Settings& settings) {
    std::unique_ptr<platform::SdlPlatform> sdl;
    try {
        sdl = std::make_unique<platform::SdlPlatform>();
    } catch (const std::exception& e) {
        std::cerr << "vorkalith: " << e.what() << '\n';
        return 1;
    }
    const bool windowed = options.Window || (!options.FullScreen && settings.Window.value_or(false));
    sdl->SetPresentation(windowed, options.IntegerScale || settings.IntegerScale.value_or(false));
    if (settings.PadDeadZone) {
        sdl->SetPadDeadZone(*settings.PadDeadZone);
    }
    sdl->SetIcon(WindowIcon::kSize, WindowIcon::Pixels());
    if (const std::string warning = platform::FontLocator().MissingFontsWarning({"Arial black", "System"});
        !warning.empty()) {
        std::cerr << "vorkalith: " << warning << '\n';
    }
    int status = 0;
    if (!options.PlaybackFile.empty()) {
        status = PlayDemo(sdl.get(), options.PlaybackFile, options.Force);
    } else if (options.Watch != 0) {
        status = WatchRun(sdl.get(), options.Watch);
    } else {
        // The player's keys are bound before the game, and a recording of it, reads them.
        RemappingPlatform keys(*sdl, settings.Remap());
        if (!options.RecordFile.empty() || options.StartLevel != 0) {
            // The daily challenge gives the game the seed of today's date as its time of day.
            std::unique_ptr<DailyPlatform> daily;
            if (options.Daily) {
                daily = std::make_unique<DailyPlatform>(keys);
            }
            status = RunPlainGame(daily ? static_cast<platform::Platform&>(*daily) : keys, options, arguments,
                                  daily ? std::optional<DemoDaily>(daily->Daily()) : std::nullopt);
        } else {
            status = RunSessions(keys, options, arguments, settings);
        }
    }
    // A change of window mode the player made (Alt+Enter, F11) holds for the next start.
    if (sdl->Windowed() != windowed) {
        if (const std::string error = SettingsFile::RememberWindowMode(SettingsFile::DefaultPath(), sdl->Windowed());
            !error.empty()) {
            std::cerr << "vorkalith: " << error << '\n';
        }
    }
    return status;
}
} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    UseUserLanguage();
    CommandLine options;
    std::string error;
    if (!ParseInTheirLanguage(options, arguments, error)) {
        std::cerr << "vorkalith: " << platform::EscapeControls(error) << '\n' << CommandLine::TryHelp();
        return 2;
    }
    if (options.Help) {
        std::cout << CommandLine::Usage();
        return 0;
    }
    if (options.Version) {
        std::cout << CommandLine::VersionLine() << '\n';
        return 0;
    }
    if (!options.SubmitFile.empty()) {
        RunSubmitter::Request upload;
        upload.ServerUrl = options.ServerUrl;
        upload.DemoPath = options.SubmitFile;
        upload.Name = options.PlayerName;
        return RunSubmitter::Command(upload);
    }
    if (options.Scores) {
        return PrintScores(options.Json);
    }
    const bool headlessWatch = options.Headless && options.Watch != 0;
    if (const std::string demoError =
            DemoUsageError(options.PlaybackFile, options.Headless && !headlessWatch, options.Force, options.RecordFile);
        !demoError.empty()) {
        std::cerr << "vorkalith: " << demoError << '\n' << CommandLine::TryHelp();
        return 2;
    }
    platform::StopSignal::Install();

    const LevelFolder::Choice levels = LevelFolder::Find(LevelFolder::FromEnvironment(options.LevelsDir),
                                                         LevelFolder::KindOf, FirstLevelFile(options));
    if (!levels.Refusal.empty()) {
        std::cerr << levels.Refusal << '\n';
        return 2;
    }
    LevelFolder::Use(levels.Folder);
    if (const std::string warning = LevelFolder::Warning(levels); !warning.empty()) {
        std::cerr << platform::EscapeControls(warning) << '\n';
    }

    int status = 0;
    if (!options.VerifyFile.empty()) {
        status = VerifyDemo(options.VerifyFile);
    } else if (headlessWatch) {
        status = WatchRun(nullptr, options.Watch);
    } else if (options.Headless) {
        status = PlayDemo(nullptr, options.PlaybackFile, options.Force);
    } else {
        // An unknown key or a bad value of the settings is named with its line; its default holds.
        std::vector<std::string> warnings;
        const Settings settings = SettingsFile::Read(SettingsFile::DefaultPath(), warnings);
        for (const std::string& warning : warnings) {
            std::cerr << "vorkalith: " << warning << '\n';
        }
        // The settings' language comes before the environment's; --lang before both.
        if (options.Language.empty() && !settings.Lang.empty()) {
            SetLanguage(settings.Lang);
        }
        status = RunGame(options, arguments, settings);
    }
    // Stopped by a signal: everything is torn down; end as the signal would have.
    platform::StopSignal::ReRaise();
    return status;
}
