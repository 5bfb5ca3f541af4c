#include "server/Worker.h"

#include "server/Judge.h"

#include <chrono>
#include <iostream>
#include <thread>

namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

Worker::Worker(RunStore& store, WorkerSettings settings, std::string owner)
    : store_(store), settings_(std::move(settings)), owner_(std::move(owner)) {}

bool Worker::VerifyOne() {
    const int64_t now = NowMs();
    const std::optional<LeasedRun> run = store_.Lease(owner_, now, now + settings_.LeaseSeconds * int64_t{1000});
    if (!run) {
        return false;
    }
    Verdict verdict;
    if (run->Attempts > settings_.MaxAttempts) {
        verdict.Reason =
            "the replay never finished: " + std::to_string(run->Attempts - 1) + " workers stopped during it";
    } else {
        const ChildOutcome outcome =
            VerifyProcess::Run(settings_.Program, settings_.LevelsDir, run->Demo, settings_.Limits);
        if (!outcome.Started) {
            // The server's own trouble (no memory, no processes left), not the demo's: the run
            // stays queued and is taken again when its lease runs out.
            std::cerr << "vorkalith-server: worker " << owner_ << ": " << outcome.Failure << std::endl;
            return false;
        }
        verdict = Judge::Of(outcome, run->ClaimedScore, settings_.InstalledSet, settings_.Limits);
    }
    if (store_.Decide(run->Id, owner_, verdict, NowMs()) && OnDecided) {
        OnDecided(run->Id, verdict);
    }
    return true;
}

void Worker::Run(const std::atomic<bool>& stop, int idleMs) {
    while (!stop) {
        bool worked = false;
        try {
            worked = VerifyOne();
        } catch (const SqlError& e) {
            // The database is away for a moment (restarting, locked): the run stays queued and its
            // lease runs out.
            std::cerr << "vorkalith-server: worker " << owner_ << ": " << e.what() << std::endl;
        }
        if (!worked) {
            std::this_thread::sleep_for(std::chrono::milliseconds(idleMs));
        }
    }
}
