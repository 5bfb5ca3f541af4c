#pragma once

#include "records/RunRecord.h"

#include <string>
#include <vector>

// The records table as `vorkalith --scores` prints it.
class ScoresText {
public:
    // One line a run, best first, its fields separated by tabs: rank, best score, level, orbs
    // eaten, play time (M:SS), local date and time, how it ended, the daily date or "-", the
    // session demo, its first and last frame.
    static std::string Tsv(const std::vector<RunRecord>& table);
    // The table as one JSON document: {"Runs": [{"Rank": 1, "BestScore": ..., ...}, ...]}.
    static std::string Json(const std::vector<RunRecord>& table);
    // Play time as minutes and seconds, "12:05".
    static std::string PlayTime(uint64_t milliseconds);
};
