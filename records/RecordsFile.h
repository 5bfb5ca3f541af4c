#pragma once

#include "records/RecordsStore.h"

#include <string>
#include <vector>

// The records of a runs folder: the best runs as JSON in `records.json`, replaced whole through a
// temporary file and a rename, so that a crash or a full disk leaves the old table whole. Games
// running at once each add their runs under an exclusive lock (`records.lock`), reading the file
// again and merging, so that none loses another's runs. A damaged file is moved aside to
// `records.json.damaged-DATE` and a new table started.
class RecordsFile : public RecordsStore {
public:
    // The most a records file may hold; a larger one is taken for damaged.
    static constexpr std::size_t kMaxBytes = 1u << 20;

    explicit RecordsFile(std::string folder);

    const std::string& Path() const { return path_; }

    // The table as the file holds it; a missing file holds none.
    RecordsUpdate Read() const override;
    // Enters a run into the table: under the lock, the file read again, the run merged in and
    // the best kKept written back.
    RecordsUpdate Add(const RunRecord& run) const override;

    // The table as JSON text, and read back from it; false (with `why`) for a text that is not a
    // records table.
    static std::string Format(const std::vector<RunRecord>& table);
    static bool Parse(const std::string& text, std::vector<RunRecord>& table, std::string& why);

private:
    // The table, or the error that keeps it from being read; a damaged file is moved aside.
    RecordsUpdate Load() const;

    std::string folder_;
    std::string path_;
};
