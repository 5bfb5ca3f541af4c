#pragma once

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

// A program of the build run as a child process, for tests of what a user sees of it: its exit
// status, its output (into files), and how it answers signals. A child still running at the end
// is killed.
class ChildProcess {
public:
    struct Options {
        std::string Folder = ".";                               // working folder
        std::vector<std::pair<std::string, std::string>> Env;   // variables set for the child
        std::string Stdout = "/dev/null", Stderr = "/dev/null"; // where its output goes
        std::string Stdin = "/dev/null";
        rlim_t FileSizeLimit = RLIM_INFINITY; // a full disk for its writes
    };

    ChildProcess(const std::vector<std::string>& arguments, const Options& options) {
        pid_ = ::fork();
        if (pid_ == 0) {
            Exec(arguments, options);
        }
        started_ = std::chrono::steady_clock::now();
    }
    ~ChildProcess() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void Signal(int signal) const { ::kill(pid_, signal); }

    // The wait status once the child has ended, nothing if it has not within `timeout`.
    std::optional<int> Wait(std::chrono::milliseconds timeout) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (!status_) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = status;
                ended_ = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() >= until) {
                break;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        return status_;
    }
    // When it ended (after Wait saw it end).
    std::chrono::steady_clock::time_point Ended() const { return ended_; }
    std::chrono::steady_clock::time_point Started() const { return started_; }

private:
    [[noreturn]] static void Exec(const std::vector<std::string>& arguments, const Options& options) {
        if (::chdir(options.Folder.c_str()) != 0) {
            ::_exit(120);
        }
        for (const auto& [name, value] : options.Env) {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
        Redirect(options.Stdin, O_RDONLY, 0);
        Redirect(options.Stdout, O_WRONLY | O_CREAT | O_TRUNC, 1);
        Redirect(options.Stderr, O_WRONLY | O_CREAT | O_TRUNC, 2);
        if (options.FileSizeLimit != RLIM_INFINITY) {
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = options.FileSizeLimit;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_IGN);
        }
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }

    static void Redirect(const std::string& path, int flags, int to) {
        const int descriptor = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
        if (descriptor < 0 || ::dup2(descriptor, to) < 0) {
            ::_exit(121);
        }
        ::close(descriptor);
    }

    pid_t pid_ = -1;
    std::optional<int> status_;
    std::chrono::steady_clock::time_point started_, ended_;
};
