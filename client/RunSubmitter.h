#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Uploads a demo to a leaderboard server (vorkalith-server) and waits for its verdict: the
// desktop game's --submit and the records screen share it.
class RunSubmitter {
public:
    struct Request {
        std::string ServerUrl;               // http://HOST[:PORT][/PREFIX] or https://...
        std::string DemoPath;                // the demo file
        std::string Name;                    // the player's name; empty for none
        std::optional<int64_t> ClaimedScore; // the score the player expects; the server checks it
        int WaitSeconds = 120;               // how long to wait for the verdict
    };

    struct Result {
        enum class Outcome {
            Verified, // the server replayed it and lists it
            Rejected, // the server replayed it and refused it: Reason says why
            Waiting,  // still queued when the wait ended: RunUrl shows it later
            Failed,   // not uploaded (the file, the network, the server's answer): Reason says why
        };
        Outcome State = Outcome::Failed;
        int64_t Id = 0;
        std::string Reason;
        int64_t Score = 0; // the verified entry's best score
        int64_t Level = 0;
        std::string RunUrl; // where the run's state can be read
    };

    // Uploads the demo and polls for the verdict. `onQueued` is told the run's id once the server
    // has taken it. Never raises.
    static Result Submit(const Request& request, const std::function<void(int64_t)>& onQueued = {});

    // vorkalith --submit FILE --server URL [--name NAME]: Submit with the verdict printed (the
    // server's words escaped for the terminal). Returns the exit status: 0 verified, 1 otherwise.
    static int Command(const Request& request);

    // `text` escaped for a URL's query.
    static std::string QueryEscape(const std::string& text);
};
