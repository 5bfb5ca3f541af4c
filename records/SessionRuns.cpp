#include "records/SessionRuns.h"

#include "platform/files/FileLock.h"
#include "records/RecordsFile.h"

SessionRuns::SessionRuns(const std::string& folder, const std::string& dailyDate,
                         std::function<void(const std::string&)> warn)
    : folder_(folder), warn_(std::move(warn)) {
    std::string error;
    if (folder.empty()) {
        error = "no folder for the runs ($XDG_DATA_HOME and $HOME are unset)";
    } else {
        folder_.Make(error);
    }
    if (!error.empty()) {
        NotRecorded(error);
        return;
    }
    folder_.Recover();
    demoName_ = folder_.NewSessionName();
    demoPath_ = folder_.PathOf(demoName_);
    keeper_ = std::make_unique<RunKeeper>(std::make_unique<RecordsFile>(folder_.Path()), demoName_, dailyDate);
    keeper_->OnWarning = warn_;
    ready_ = true;
}

SessionRuns::~SessionRuns() = default;

void SessionRuns::Recording(const std::string& workingPath) {
    lock_ = std::make_unique<platform::FileLock>(workingPath, platform::FileLock::Mode::Shared, false, false);
}

void SessionRuns::NotRecorded(const std::string& why) {
    ready_ = false;
    if (warn_) {
        warn_(why + "; this game is not recorded and its runs are not kept");
    }
}

void SessionRuns::Tidy() {
    lock_.reset();
    if (!ready_) {
        return;
    }
    // Only a table read whole tells which demos are pointed to; otherwise nothing is removed.
    const RecordsUpdate records = RecordsFile(folder_.Path()).Read();
    if (records.Error.empty() && records.Warning.empty()) {
        folder_.Prune(records.Table, demoName_);
    } else if (!records.Warning.empty() && warn_) {
        warn_(records.Warning);
    }
}
