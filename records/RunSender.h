#pragma once

#include "records/RunRecord.h"

#include <string>

// Sends a run of the records to a leaderboard: what the records screen offers (S) when the settings
// name a server and the program has a client for it.
class RunSender {
public:
    virtual ~RunSender() = default;
    // Sends the run that lies in `demoFile`; the line to show under the table (the verdict, or why
    // the run could not be sent).
    virtual std::string Submit(const RunRecord& run, const std::string& demoFile) = 0;
};
