#pragma once

#include "server/RunRecord.h"

#include <string>

// The parameters of a board asked for: board=all|daily, date=YYYY-MM-DD (today's UTC date when
// left out), limit=1..100 (50 when left out).
class BoardRequest {
public:
    static constexpr int64_t kMaxLimit = 100;

    static bool Parse(const std::string& board, const std::string& date, const std::string& limit, BoardQuery& query,
                      std::string& error);
    // Today's date in coordinated universal time, YYYY-MM-DD.
    static std::string Today();
};
