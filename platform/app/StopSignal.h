#pragma once

namespace platform {

// SIGINT and SIGTERM as a request to end the program: the handler only records the signal,
// and the event loop turns it into a quit at its next turn, so that everything is torn down
// in order. A modal error box is ended too (see ErrorBoxWatch).
class StopSignal {
public:
    // Installs the handlers for SIGINT and SIGTERM (without SA_RESTART, so blocking waits wake).
    static void Install();
    // The signal received, 0 while none has been.
    static int Received();
    // For tests: forget a received signal.
    static void Clear();
    // Ends the process by the received signal with its default action, as the shell expects of
    // a program stopped by it. Returns when no signal was received.
    static void ReRaise();
};

} // namespace platform
