#include "platform/app/StopSignal.h"

#include <csignal>

namespace platform {

namespace {
volatile std::sig_atomic_t received = 0;
// Touched by the event polls of the main thread only.
bool quitTaken = false;

extern "C" void OnStopSignal(int signal) {
    received = signal;
}

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
} // namespace

void StopSignal::Install() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    for (const int signal : kStopSignals) {
        sigaction(signal, &action, nullptr);
    }
}

int StopSignal::Received() {
    return received;
}

bool StopSignal::TakeQuit() {
    if (received == 0 || quitTaken) {
        return false;
    }
    quitTaken = true;
    return true;
}

void StopSignal::Clear() {
    received = 0;
    quitTaken = false;
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
