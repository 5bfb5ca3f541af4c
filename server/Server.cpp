#include "server/Server.h"

#include "demo/InstalledLevels.h"
#include "demo/LevelDigests.h"
#include "game/LevelFolder.h"
#include "game/LevelLoader.h"
#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"
#include "server/HttpFront.h"
#include "server/Worker.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <limits.h>
#include <pthread.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Connections of the HTTP front, shared by its threads.
constexpr std::size_t kFrontConnections = 8;

std::string WorkerName(int index) {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    return std::string(host) + ":" + std::to_string(::getpid()) + ":" + std::to_string(index);
}

void Log(const std::string& line) {
    std::cerr << "vorkalith-server: " << platform::EscapeControls(line) << std::endl;
}

} // namespace

bool Server::FindLevels(const std::string& given, std::string& folder, bool& installedSet, std::string& error) {
    const LevelFolder::Choice choice =
        LevelFolder::Find(LevelFolder::FromEnvironment(given), LevelFolder::KindOf, given.empty() ? "1.vrk" : "");
    if (!choice.Refusal.empty()) {
        error = choice.Refusal;
        return false;
    }
    // A folder given may hold a level set of its own, even one that starts past level 1.
    if (choice.Folder.empty() || (given.empty() && !choice.HasFirstLevel)) {
        error = Tr("no level files found (--levels DIR names them)");
        return false;
    }
    char resolved[PATH_MAX];
    if (::realpath(choice.Folder.c_str(), resolved) == nullptr) {
        error = Fill(Tr("{}: cannot resolve the level folder"), {choice.Folder});
        return false;
    }
    folder = resolved;
    LevelFolder::Use(folder);
    installedSet = true;
    for (const LevelDigest& installed : InstalledLevels::Digests()) {
        if (!InstalledLevels::Matches(LevelDigests::OfFile(installed.FileName))) {
            installedSet = false;
        }
    }
    return true;
}

int Server::Run(const ServerOptions& options, const std::string& program) {
    WorkerSettings settings;
    std::string error;
    if (options.WorkerRole() && options.Workers > 0 &&
        !FindLevels(options.LevelsDir, settings.LevelsDir, settings.InstalledSet, error)) {
        Log(error);
        return 1;
    }
    settings.Program = program;
    settings.LeaseSeconds = options.LeaseSeconds;
    settings.Limits = VerifyLimits{options.CpuSeconds, options.WallSeconds, int64_t{options.MemoryMegabytes} << 20};

    // The stop signals are taken by this thread alone, after every other has started with them
    // blocked; a client that goes away mid-answer is no reason to end.
    sigset_t stops;
    sigemptyset(&stops);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&stops, signal);
    }
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::unique_ptr<StorePool> stores;
    std::unique_ptr<HttpFront> front;
    std::vector<std::unique_ptr<RunStore>> workerStores;
    try {
        if (options.WebRole()) {
            stores = std::make_unique<StorePool>(options.Database, kFrontConnections);
        }
        if (options.WorkerRole()) {
            for (int i = 0; i < options.Workers; ++i) {
                workerStores.push_back(RunStore::Open(options.Database));
            }
        }
    } catch (const SqlError& e) {
        Log(Fill(Tr("cannot open the database: {}"), {e.what()}));
        return 1;
    }
    std::thread listening;
    if (stores) {
        front = std::make_unique<HttpFront>(*stores, FrontSettings{options.WebDir, options.UploadsPerMinute,
                                                                   options.RequestsPerSecond, options.BehindProxy});
        const int port = front->Bind(options.Host, options.Port);
        if (port < 0) {
            Log(Fill(Tr("cannot listen on {}:{}"), {options.Host, std::to_string(options.Port)}));
            return 1;
        }
        const bool v6 = options.Host.find(':') != std::string::npos;
        // The one line on standard output is read by the scripts that start the server (the port
        // taken): it stays as it is in every language.
        std::cout << "vorkalith-server: listening on http://" << (v6 ? "[" + options.Host + "]" : options.Host) << ":"
                  << port << "/" << std::endl;
        listening = std::thread([&] { front->Listen(); });
    }
    std::atomic<bool> stop = false;
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < workerStores.size(); ++i) {
        workers.emplace_back([&, i] {
            Worker worker(*workerStores[i], settings, WorkerName(static_cast<int>(i)));
            worker.OnDecided = [](int64_t id, const Verdict& verdict) {
                // The reason is told as it is kept and answered, in the source texts.
                Log(verdict.Verified ? Fill(Tr("run {} verified: {} points"),
                                            {std::to_string(id), std::to_string(verdict.Entry->BestScore)})
                                     : Fill(Tr("run {} rejected: {}"), {std::to_string(id), verdict.Reason}));
            };
            worker.Run(stop);
        });
    }

    int signal = 0;
    sigwait(&stops, &signal);
    stop = true;
    if (front) {
        front->Stop();
        listening.join();
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    return 0;
}
