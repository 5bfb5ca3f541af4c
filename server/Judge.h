#pragma once

#include "server/RunRecord.h"
#include "server/VerifyProcess.h"

#include <optional>
#include <vector>

// Decides on an upload from what its verifying child replayed; nothing the client sent counts
// but the claimed score, which must be what the replay gives.
//
// A demo's entry is one run of it: the day's game when the demo's first game is a daily one, and
// otherwise its best run (best score, then level, then the earlier run). A server on the
// installed level set lists only runs played on it from the first level; a server on a level set
// of its own lists any run replayed on its files.
class Judge {
public:
    static Verdict Of(const ChildOutcome& outcome, const std::optional<int64_t>& claimedScore, bool installedSet,
                      const VerifyLimits& limits);
    // The entry among the runs a replay found; nothing when none may be listed.
    static std::optional<RunResult> Entry(const std::vector<RunResult>& runs, bool installedSet);
};
