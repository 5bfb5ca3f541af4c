#include "platform/app/StopSignal.h"

#include <csignal>

namespace platform {

namespace {
volatile std::sig_atomic_t received = 0;

extern "C" void OnStopSignal(int signal) {
    received = signal;
}
} // namespace

void StopSignal::Install() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int StopSignal::Received() {
    return received;
}

void StopSignal::Clear() {
    received = 0;
}

void StopSignal::ReRaise() {
    const int signal = received;
    if (signal == 0) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    std::raise(signal);
}

} // namespace platform
