#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace platform {

// Keeps a modal error box from outliving a stop request (StopSignal). The box is shown by a
// child process that the calling thread waits for; while a watch lives, a helper thread
// looks for a received stop signal and then ends the calling thread's child processes, so
// that the wait returns and the event loop can quit. Should the box not go away (a box shown
// in this process), the process exits with 128 + the signal after `graceMs`.
class ErrorBoxWatch {
public:
    explicit ErrorBoxWatch(int graceMs = 1000);
    ~ErrorBoxWatch();
    ErrorBoxWatch(const ErrorBoxWatch&) = delete;
    ErrorBoxWatch& operator=(const ErrorBoxWatch&) = delete;

    // True when the box was ended by a stop request rather than by the user.
    bool Stopped() const { return stopped_; }

private:
    void Watch();

    int graceMs_;
    int thread_; // the kernel id of the thread that shows the box
    bool done_ = false;
    bool stopped_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread helper_;
};

} // namespace platform
