// vorkalith-edit: the level editor. Reads the command line, opens the level, and runs the editor
// in the game's window until it ends; or converts a level without a window.
#include "app/edit/Autosave.h"
#include "app/edit/EditCommandLine.h"
#include "app/edit/EditorSession.h"
#include "app/edit/ShownText.h"
#include "game/CommandLine.h"
#include "game/WindowIcon.h"
#include "platform/app/StopSignal.h"
#include "platform/base/Translate.h"
#include "platform/sdl/FontLocator.h"
#include "platform/sdl/SdlPlatform.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace {

int Run(const EditCommandLine& options) {
    OpenedLevel opened;
    try {
        opened = OpenTarget(options.Target, options.LevelsDir);
    } catch (const std::exception& e) {
        std::cerr << "vorkalith-edit: " << ForTerminal(e.what()) << '\n';
        return 1;
    }
    std::unique_ptr<platform::SdlPlatform> sdl;
    try {
        sdl = std::make_unique<platform::SdlPlatform>();
    } catch (const std::exception& e) {
        std::cerr << "vorkalith-edit: " << e.what() << '\n';
        return 1;
    }
    sdl->SetPresentation(options.Window, options.IntegerScale);
    sdl->SetIcon(WindowIcon::kSize, WindowIcon::Pixels());
    if (const std::string warning = platform::FontLocator().MissingFontsWarning({"Arial black", "System"});
        !warning.empty()) {
        std::cerr << "vorkalith-edit: " << warning << '\n';
    }
    std::error_code ec;
    EditorSession::Options settings{Autosave::DefaultStateFolder(), std::filesystem::current_path(ec).string(),
                                    options.RecordFile};
    std::unique_ptr<EditorSession> session;
    try {
        session = std::make_unique<EditorSession>(*sdl, std::move(opened), settings);
    } catch (const std::exception& e) {
        std::cerr << "vorkalith-edit: " << e.what() << '\n';
        return 1;
    }
    while (session->Pass()) {
        if (platform::StopSignal::Received() != 0) {
            // Stopped from outside: nothing is asked, but the changes stay in the autosave copy.
            session->GetEditor().KeepCopyNow();
            break;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    UseUserLanguage();
    EditCommandLine options;
    std::string error;
    if (!ParseInTheirLanguage(options, arguments, error)) {
        std::cerr << "vorkalith-edit: " << ForTerminal(error) << '\n' << EditCommandLine::Usage();
        return 2;
    }
    if (options.Help) {
        std::cout << EditCommandLine::Usage();
        return 0;
    }
    if (options.Version) {
        std::cout << "vorkalith-edit" << CommandLine::VersionLine().substr(std::string("vorkalith").size()) << '\n';
        return 0;
    }
    if (!options.ConvertIn.empty()) {
        return ConvertLevel(options.ConvertIn, options.ConvertOut, options.Force, std::cerr);
    }
    platform::StopSignal::Install();
    const int status = Run(options);
    platform::StopSignal::ReRaise();
    return status;
}
