#pragma once

#include "server/RunStore.h"
#include "server/VerifyProcess.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

// What a worker needs to verify runs.
struct WorkerSettings {
    std::string Program;      // the program run as the verifying child (the server itself)
    std::string LevelsDir;    // the level folder replays read
    bool InstalledSet = true; // the folder holds the installed level set
    VerifyLimits Limits;
    // How long a worker may hold a run before another may take it: longer than the child's
    // wall-clock limit, so that only a worker that died loses its lease.
    int LeaseSeconds = 30;
    // A run whose lease ran out this many times (its workers died) is rejected.
    int MaxAttempts = 3;
};

// Takes queued runs one at a time under a lease, has each replayed by a child process and
// stores the verdict. A worker that dies holding a run loses nothing: the lease runs out and
// another worker takes the run again.
class Worker {
public:
    Worker(RunStore& store, WorkerSettings settings, std::string owner);

    // Verifies the oldest run waiting; false when none was.
    bool VerifyOne();
    // Verifies runs until `stop` is set, looking for new ones every `idleMs` while none wait.
    void Run(const std::atomic<bool>& stop, int idleMs = 200);

    // Called with each run decided (id, verdict), for the log.
    std::function<void(int64_t, const Verdict&)> OnDecided;

private:
    RunStore& store_;
    WorkerSettings settings_;
    std::string owner_;
};
