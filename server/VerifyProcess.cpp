#include "server/VerifyProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define VK_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VK_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

// The descriptor the child finds its demo on.
constexpr int kDemoDescriptor = 3;

// A descriptor closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    void Close() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = -1;
    }

private:
    int fd_;
};

std::string Reason(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void Limit(int resource, rlim_t value) {
    const rlimit limit{value, value};
    ::setrlimit(resource, &limit);
}

// `fd` as `target`, left open across exec. dup2 onto itself would keep the close-on-exec flag.
bool MoveTo(int fd, int target) {
    if (fd == target) {
        return ::fcntl(fd, F_SETFD, 0) == 0;
    }
    return ::dup2(fd, target) == target;
}

// In the child between fork and exec: only calls that are safe there.
[[noreturn]] void Exec(const std::vector<char*>& argv, int demo, int output, const VerifyLimits& limits) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int null = ::open("/dev/null", O_RDWR);
    if (null < 0 || !MoveTo(null, 0) || !MoveTo(output, 1) || !MoveTo(null, 2) || !MoveTo(demo, kDemoDescriptor)) {
        ::_exit(125);
    }
    // Nothing else of the server (its sockets, its database) reaches the child.
    ::close_range(kDemoDescriptor + 1, ~0U, 0);
    // The soft limit sends SIGXCPU, which ends the process; the hard one a second later SIGKILL.
    const rlimit cpu{static_cast<rlim_t>(limits.CpuSeconds), static_cast<rlim_t>(limits.CpuSeconds) + 1};
    ::setrlimit(RLIMIT_CPU, &cpu);
#ifndef VK_ADDRESS_SANITIZER
    // The sanitizers reserve terabytes of address space for their shadow memory.
    Limit(RLIMIT_AS, static_cast<rlim_t>(limits.MemoryBytes));
#endif
    Limit(RLIMIT_CORE, 0);
    Limit(RLIMIT_FSIZE, 0);
    Limit(RLIMIT_NPROC, 0);
    ::execv(argv[0], argv.data());
    ::_exit(126);
}

} // namespace

ChildOutcome VerifyProcess::Run(const std::string& program, const std::string& levelsDir, const std::string& demo,
                                const VerifyLimits& limits) {
    ChildOutcome outcome;
    Descriptor memory(::memfd_create("vorkalith-demo", MFD_CLOEXEC));
    if (memory.Get() < 0 || !WriteAll(memory.Get(), demo) || ::lseek(memory.Get(), 0, SEEK_SET) != 0) {
        outcome.Failure = Reason("cannot hold the demo in memory");
        return outcome;
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        outcome.Failure = Reason("cannot make a pipe");
        return outcome;
    }
    Descriptor reading(ends[0]);
    Descriptor writing(ends[1]);

    std::string demoPath = "/proc/self/fd/" + std::to_string(kDemoDescriptor);
    std::string mode = "--verify-child";
    std::string levelsOption = "--levels";
    std::string levels = levelsDir;
    std::vector<char*> argv{
        const_cast<char*>(program.c_str()), mode.data(), demoPath.data(), levelsOption.data(), levels.data(), nullptr};
    const pid_t pid = ::fork();
    if (pid < 0) {
        outcome.Failure = Reason("cannot start a verifying process");
        return outcome;
    }
    if (pid == 0) {
        Exec(argv, memory.Get(), writing.Get(), limits);
    }
    outcome.Started = true;
    writing.Close();
    memory.Close();

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limits.WallSeconds);
    char buffer[65536];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            outcome.TimedOut = true;
            break;
        }
        pollfd wait{reading.Get(), POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            outcome.TimedOut = ready == 0;
            break;
        }
        const ssize_t n = ::read(reading.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        if (outcome.Output.size() + static_cast<std::size_t>(n) > kMaxOutput) {
            outcome.OutputCut = true;
            break;
        }
        outcome.Output.append(buffer, static_cast<std::size_t>(n));
    }
    if (outcome.TimedOut || outcome.OutputCut) {
        ::kill(pid, SIGKILL);
    }
    while (::waitpid(pid, &outcome.WaitStatus, 0) < 0 && errno == EINTR) {
    }
    return outcome;
}
