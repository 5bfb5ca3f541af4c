#pragma once

#include "demo/RunTracker.h"
#include "demo/SessionObserver.h"
#include "records/RecordsStore.h"
#include "records/RunRecord.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Keeps the runs of one recorded session: each run that ends is entered into the records, with
// the state line after its last frame and where it lies in the session's demo. Records that
// cannot be written are reported once (OnWarning) and the session goes on.
class RunKeeper : public SessionObserver {
public:
    // `demoName` is the session demo's name where the records keep demos; `dailyDate` the date of
    // a daily session, empty otherwise.
    RunKeeper(std::unique_ptr<RecordsStore> records, std::string demoName, std::string dailyDate = {});

    void AfterFrame(const TForm1& form, uint64_t frame, uint64_t elapsedMs) override;
    void SessionEnded(const TForm1& form, bool closed, uint64_t frames, uint64_t elapsedMs) override;

    // The last run this session entered, when it made the table; that row is marked.
    const std::optional<RunRecord>& LastKept() const { return lastKept_; }
    // The table as last read or written.
    const std::vector<RunRecord>& Table() const { return table_; }
    // Told of the first failure to keep a run and of a damaged records file moved aside, one line each.
    std::function<void(const std::string& message)> OnWarning;

private:
    void Keep(const TForm1& form, const GameRun& run, uint64_t elapsedMs);

    std::unique_ptr<RecordsStore> records_;
    std::string demoName_;
    std::string dailyDate_;
    RunTracker tracker_;
    // When the run going on started, by the wall clock.
    int64_t startedAt_ = 0;
    // The clock after the last frame, and the time the run going on spent paused.
    uint64_t lastElapsedMs_ = 0;
    uint64_t pausedMs_ = 0;
    std::optional<RunRecord> lastKept_;
    std::vector<RunRecord> table_;
    bool failureTold_ = false;
};
