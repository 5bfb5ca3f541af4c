#include "platform/sdl/ErrorBoxWatch.h"
#include "platform/app/StopSignal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {
// A child process standing in for the error box: it waits until it is ended.
pid_t StartBox() {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::pause();
        ::_exit(0);
    }
    return pid;
}

// Waits for the child as the box's caller does, retrying when a signal interrupts.
int WaitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) == -1 && errno == EINTR) {
    }
    return status;
}
} // namespace

TEST(ErrorBoxWatch, AStopSignalEndsTheBoxBeingWaitedFor) {
    StopSignal::Install();
    StopSignal::Clear();
    const pid_t box = StartBox();
    ASSERT_GT(box, 0);
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    bool stopped = false;
    {
        ErrorBoxWatch watch(5000);
        std::raise(SIGTERM);
        status = WaitFor(box);
        stopped = watch.Stopped();
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_TRUE(stopped);
    EXPECT_LT(waited, std::chrono::seconds(2));
    StopSignal::Clear();
}

TEST(ErrorBoxWatch, WithoutASignalTheBoxIsLeftAlone) {
    StopSignal::Install();
    StopSignal::Clear();
    const pid_t box = StartBox();
    ASSERT_GT(box, 0);
    {
        ErrorBoxWatch watch;
        ::usleep(100 * 1000);
        EXPECT_FALSE(watch.Stopped());
    }
    // Still there: end it ourselves.
    EXPECT_EQ(::waitpid(box, nullptr, WNOHANG), 0);
    ::kill(box, SIGKILL);
    WaitFor(box);
}
