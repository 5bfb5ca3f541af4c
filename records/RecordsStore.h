#pragma once

#include "records/RunRecord.h"

#include <string>
#include <vector>

// The table after reading or changing the records, and what went wrong on the way.
struct RecordsUpdate {
    std::vector<RunRecord> Table; // best first
    // Why the records could not be read or written (naming where they are kept and the cause);
    // they are then as they were. Empty when all went well.
    std::string Error;
    // Damaged records that were moved aside, in one line; empty when none were.
    std::string Warning;
};

// Where a player's records table is kept: the records file of the runs folder on the desktop
// (RecordsFile), the browser's own storage in the page. Either keeps the best kKept runs in the
// same order.
class RecordsStore {
public:
    // How many runs the table keeps.
    static constexpr std::size_t kKept = 10;

    virtual ~RecordsStore() = default;

    // The table as kept; none when nothing is kept yet.
    virtual RecordsUpdate Read() const = 0;
    // Enters a run into the table as kept now (with the runs other games entered meanwhile) and
    // keeps the best kKept.
    virtual RecordsUpdate Add(const RunRecord& run) const = 0;

    // `table` with `run` entered: the run added unless the table holds it already, the best first
    // (RunRecord::Before), no more than kKept.
    static std::vector<RunRecord> Merged(std::vector<RunRecord> table, const RunRecord& run);
};
