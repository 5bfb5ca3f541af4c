#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the server keeps of runs: the rows of its tables as the program sees them.

// A demo as uploaded, before anything is known of it.
struct NewRun {
    std::optional<std::string> Name; // trimmed, 1 to 24 printable characters; none for an unnamed run
    std::optional<int64_t> ClaimedScore;
    std::string Demo;   // the file's bytes
    std::string Client; // the address it came from
    int64_t UploadedMs = 0;
};

// The run a verifying replay found in a demo and the server lists: the demo's entry.
struct RunResult {
    int64_t RunNumber = 0; // which run of the demo, from 1
    int64_t FirstFrame = 0;
    int64_t LastFrame = 0;
    int64_t BestScore = 0;
    int64_t Score = 0;
    int64_t Level = 0;
    int64_t Orbs = 0;
    std::string Ended; // "game-over", "end-screen", "esc", "closed", "unfinished"
    bool InstalledLevels = false;
    std::optional<std::string> Daily; // YYYY-MM-DD for the day's challenge
    int64_t Frames() const { return LastFrame - FirstFrame + 1; }
};

// What verification decided.
struct Verdict {
    bool Verified = false;
    std::string Reason; // why it was rejected
    std::optional<RunResult> Entry;
};

// A run as stored.
struct RunRecord {
    int64_t Id = 0;
    std::optional<std::string> Name;
    std::optional<int64_t> ClaimedScore;
    int64_t UploadedMs = 0;
    std::string Status; // "queued", "verified", "rejected"
    std::string Reason;
    std::optional<RunResult> Result;
};

// A queued run taken by a worker, with its demo.
struct LeasedRun {
    int64_t Id = 0;
    std::optional<int64_t> ClaimedScore;
    int64_t Attempts = 0; // this one included
    std::string Demo;
};

// Which leaderboard: every verified run, or the daily challenge of one date.
struct BoardQuery {
    std::optional<std::string> DailyDate;
    int64_t Limit = 50;
};
