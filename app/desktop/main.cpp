// Vorkalith: reads the command line, finds the level files, starts the application with its
// main form and runs the message loop.
#include "client/RunSubmitter.h"
#include "demo/DailyPlatform.h"
#include "demo/DemoCommands.h"
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

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {
// The level file the game starts at, which a level folder must hold; none for a demo replayed or
// verified, which names the files it reads.
std::string FirstLevelFile(const CommandLine& options) {
    if (!options.PlaybackFile.empty() || !options.VerifyFile.empty()) {
        return {};
    }
    return std::to_string(options.StartLevel > 0 ? options.StartLevel : 1) + ".vrk";
}

int RunGame(const CommandLine& options, const std::vector<std::string>& arguments) {
    std::unique_ptr<platform::SdlPlatform> sdl;
    try {
        sdl = std::make_unique<platform::SdlPlatform>();
    } catch (const std::exception& e) {
        std::cerr << "vorkalith: " << e.what() << '\n';
        return 1;
    }
    sdl->SetPresentation(options.Window, options.IntegerScale);
    sdl->SetIcon(WindowIcon::kSize, WindowIcon::Pixels());
    if (const std::string warning = platform::FontLocator().MissingFontsWarning({"Arial black", "System"});
        !warning.empty()) {
        std::cerr << "vorkalith: " << warning << '\n';
    }
    if (!options.PlaybackFile.empty()) {
        return PlayDemo(sdl.get(), options.PlaybackFile, options.Force);
    }
    // The daily challenge gives the game the seed of today's date as its time of day.
    std::unique_ptr<DailyPlatform> daily;
    platform::Platform* live = sdl.get();
    if (options.Daily) {
        daily = std::make_unique<DailyPlatform>(*sdl);
        live = daily.get();
    }
    if (!options.RecordFile.empty()) {
        return RecordGame(*live, options.RecordFile, arguments, options.Force,
                          daily ? std::optional<DemoDaily>(daily->Daily()) : std::nullopt);
    }
    TApplication application(*live, arguments);
    application.SetTitle("Vorkalith");
    if (!CreateMainForm(application)) {
        return 1;
    }
    application.Run();
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    UseUserLanguage();
    CommandLine options;
    std::string error;
    bool parsed = options.Parse(arguments, error);
    // --lang also holds for what the parse says: it is read again in the language asked for.
    if (!options.Language.empty()) {
        SetLanguage(options.Language);
        parsed = options.Parse(arguments, error);
    }
    if (!parsed) {
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
    if (const std::string demoError = DemoUsageError(options.PlaybackFile, options.Headless, options.Force);
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

    if (const std::string demoError =
            DemoUsageError(options.PlaybackFile, options.Headless, options.Force, options.RecordFile);
        !demoError.empty()) {
        std::cerr << "vorkalith: " << demoError << '\n' << CommandLine::TryHelp();
        return 2;
    }
    int status = 0;
    if (!options.VerifyFile.empty()) {
        status = VerifyDemo(options.VerifyFile);
    } else if (options.Headless) {
        status = PlayDemo(nullptr, options.PlaybackFile, options.Force);
    } else {
        status = RunGame(options, arguments);
    }
    // Stopped by a signal: everything is torn down; end as the signal would have.
    platform::StopSignal::ReRaise();
    return status;
}
