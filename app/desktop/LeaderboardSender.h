#pragma once

#include "records/RunSender.h"

#include <string>

// The records screen's way to the leaderboard server named in the settings: the run's session
// demo is uploaded, and the verdict waited for a short while, while the screen stands still.
class LeaderboardSender : public RunSender {
public:
    explicit LeaderboardSender(std::string server) : server_(std::move(server)) {}

    std::string Submit(const RunRecord& run, const std::string& demoFile) override;

private:
    std::string server_;
};
