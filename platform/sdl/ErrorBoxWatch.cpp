#include "platform/sdl/ErrorBoxWatch.h"

#include "platform/app/StopSignal.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

namespace {
constexpr auto kPoll = std::chrono::milliseconds(20);

// Ends every child process of the given thread of this process; false when it has none. The
// box's process inherited this program's signal handlers, so only SIGKILL is sure to end it.
bool EndChildren(int thread) {
    std::ifstream list("/proc/self/task/" + std::to_string(thread) + "/children");
    bool any = false;
    for (long pid = 0; list >> pid;) {
        if (pid > 0) {
            ::kill(static_cast<pid_t>(pid), SIGKILL);
            any = true;
        }
    }
    return any;
}
} // namespace

ErrorBoxWatch::ErrorBoxWatch(int graceMs)
    : graceMs_(graceMs), thread_(static_cast<int>(::syscall(SYS_gettid))), helper_([this] { Watch(); }) {}

ErrorBoxWatch::~ErrorBoxWatch() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    wake_.notify_all();
    helper_.join();
}

void ErrorBoxWatch::Watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    int waitedMs = 0;
    while (!done_) {
        wake_.wait_for(lock, kPoll);
        if (done_ || StopSignal::Received() == 0) {
            continue;
        }
        stopped_ = true;
        EndChildren(thread_);
        waitedMs += static_cast<int>(kPoll.count());
        if (waitedMs >= graceMs_) {
            ::_exit(128 + StopSignal::Received());
        }
    }
}

} // namespace platform
