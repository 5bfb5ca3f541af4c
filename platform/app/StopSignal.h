#pragma once

namespace platform {

// SIGINT, SIGTERM and SIGHUP as a request to end the program: the handler only records the
// signal, and each back-end's event poll turns it into one Quit event, so that every mode (the
// game, a recording, a playback in a window or headless, the simulator) ends through its usual
// path, closing what it writes. A modal error box is ended too (see ErrorBoxWatch).
class StopSignal {
public:
    // Installs the handlers (without SA_RESTART, so that blocking waits wake).
    static void Install();
    // The signal received, 0 while none has been.
    static int Received();
    // True once for a received signal, false before and afterwards: a back-end's event poll
    // delivers the stop as one Quit event, so that no loop keeps receiving it.
    static bool TakeQuit();
    // For tests: forget a received signal.
    static void Clear();
    // Ends the process by the received signal with its default action, as the shell expects of
    // a program stopped by it (exit status 128 + signal). Returns when no signal was received.
    static void ReRaise();
};

} // namespace platform
