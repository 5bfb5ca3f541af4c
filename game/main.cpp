// Vorkalith: reads the command line, finds the level files, starts the application with its
// main form and runs the message loop.
#include "demo/DemoCommands.h"
#include "game/CommandLine.h"
#include "game/LevelFolder.h"
#include "game/MainForm.h"
#include "game/WindowIcon.h"
#include "platform/Application.h"
#include "platform/Exception.h"
#include "platform/StopSignal.h"
#include "platform/sdl/FontLocator.h"
#include "platform/sdl/SdlPlatform.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {
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
    if (!options.RecordFile.empty()) {
        return RecordGame(*sdl, options.RecordFile, arguments);
    }
    if (!options.PlaybackFile.empty()) {
        return PlayDemo(sdl.get(), options.PlaybackFile, options.Force);
    }
    TApplication application(*sdl, arguments);
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
    CommandLine options;
    std::string error;
    if (!options.Parse(arguments, error)) {
        std::cerr << "vorkalith: " << error << '\n' << CommandLine::TryHelp();
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
    if (const std::string demoError = DemoUsageError(options.PlaybackFile, options.Headless, options.Force);
        !demoError.empty()) {
        std::cerr << "vorkalith: " << demoError << '\n' << CommandLine::TryHelp();
        return 2;
    }
    platform::StopSignal::Install();

    const LevelFolder::Choice levels =
        LevelFolder::Find(LevelFolder::FromEnvironment(options.LevelsDir), LevelFolder::KindOf);
    if (!levels.Refusal.empty()) {
        std::cerr << levels.Refusal << '\n';
        return 2;
    }
    LevelFolder::Use(levels.Folder);
    if (const std::string warning = LevelFolder::Warning(levels); !warning.empty()) {
        std::cerr << warning << '\n';
    }

    const int status =
        options.Headless ? PlayDemo(nullptr, options.PlaybackFile, options.Force) : RunGame(options, arguments);
    // Stopped by a signal: everything is torn down; end as the signal would have.
    platform::StopSignal::ReRaise();
    return status;
}
