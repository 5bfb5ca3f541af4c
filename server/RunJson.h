#pragma once

#include "server/RunRecord.h"

#include <nlohmann/json_fwd.hpp>
#include <vector>

// The API's JSON for runs and boards.
class RunJson {
public:
    // GET /api/runs/ID: id, name, status, reason, claimed_score, uploaded_at (ms since 1970), and
    // for a decided run with a replayed entry its result.
    static nlohmann::json Of(const RunRecord& run);
    // GET /api/leaderboard: the board's name and date, and its rows with their places.
    static nlohmann::json Board(const std::vector<RunRecord>& rows, const BoardQuery& query);
};
