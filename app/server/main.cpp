// vorkalith-server: the leaderboard server in its roles, or, in its --verify-child mode, the
// child process that replays one demo for a worker.
#include "platform/base/Translate.h"
#include "server/Server.h"
#include "server/ServerOptions.h"
#include "server/VerifyChild.h"

#include <iostream>
#include <string>
#include <vector>

#ifndef VK_VERSION
#define VK_VERSION "0"
#endif

int main(int argc, char** argv) {
    // The help, the usage errors and the log follow the user's language.
    UseUserLanguage();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    ServerOptions options;
    std::string error;
    if (!options.Parse(arguments, error)) {
        std::cerr << "vorkalith-server: " << error << '\n' << ServerOptions::TryHelp();
        return 2;
    }
    if (options.Help) {
        std::cout << ServerOptions::Usage();
        return 0;
    }
    if (options.Version) {
        std::cout << "vorkalith-server " << VK_VERSION << '\n';
        return 0;
    }
    if (!options.VerifyChildFile.empty()) {
        // The worker reads the child's findings, sorts its refusals by their first words and keeps
        // them as the run's reason, answered to every client: they stay in the source texts.
        SetLanguage("C");
        return VerifyChild::Run(options.VerifyChildFile, options.LevelsDir, std::cout);
    }
    // The workers run this very program again to verify each demo.
    return Server::Run(options, "/proc/self/exe");
}
