#include "records/RecordsStore.h"

#include <algorithm>

std::vector<RunRecord> RecordsStore::Merged(std::vector<RunRecord> table, const RunRecord& run) {
    if (std::none_of(table.begin(), table.end(), [&](const RunRecord& r) { return r.SameRun(run); })) {
        table.push_back(run);
    }
    std::sort(table.begin(), table.end(), RunRecord::Before);
    if (table.size() > kKept) {
        table.resize(kKept);
    }
    return table;
}
