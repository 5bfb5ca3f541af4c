#include "server/Judge.h"

#include <csignal>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/wait.h>

namespace {

using nlohmann::json;

Verdict Rejected(std::string reason) {
    Verdict verdict;
    verdict.Reason = std::move(reason);
    return verdict;
}

RunResult ResultOf(const json& line) {
    RunResult run;
    run.RunNumber = line.at("Run").get<int64_t>();
    run.FirstFrame = line.at("FirstFrame").get<int64_t>();
    run.LastFrame = line.at("LastFrame").get<int64_t>();
    run.BestScore = line.at("BestScore").get<int64_t>();
    run.Score = line.at("Score").get<int64_t>();
    run.Level = line.at("Level").get<int64_t>();
    run.Orbs = line.at("OrbsEaten").get<int64_t>();
    run.Ended = line.at("Ended").get<std::string>();
    run.InstalledLevels = line.at("InstalledLevels").get<bool>();
    if (!line.at("Daily").is_null()) {
        run.Daily = line.at("Daily").get<std::string>();
    }
    return run;
}

// The reason a child that wrote no closing line ended.
std::string Failed(const ChildOutcome& outcome, const VerifyLimits& limits) {
    if (outcome.TimedOut) {
        return "over a cap: the replay took more than " + std::to_string(limits.WallSeconds) + " s";
    }
    if (outcome.OutputCut) {
        return "over a cap: the replay found too many runs";
    }
    if (WIFSIGNALED(outcome.WaitStatus)) {
        const int signal = WTERMSIG(outcome.WaitStatus);
        if (signal == SIGXCPU || signal == SIGKILL) {
            return "over a cap: the replay took more than " + std::to_string(limits.CpuSeconds) +
                   " s of processor time";
        }
        return "the replay failed (signal " + std::to_string(signal) + ")";
    }
    return "the replay failed (exit status " + std::to_string(WEXITSTATUS(outcome.WaitStatus)) + ")";
}

std::string Refusal(const json& closing) {
    const std::string kind = closing.at("Error").get<std::string>();
    const int64_t line = closing.at("Line").get<int64_t>();
    const std::string message = closing.at("Message").get<std::string>();
    if (kind == "levels") {
        return "other level files: " + message;
    }
    if (kind == "cap") {
        return "over a cap: " + message;
    }
    return line > 0 ? "damaged at line " + std::to_string(line) + ": " + message : "damaged: " + message;
}

bool Better(const RunResult& a, const RunResult& b) {
    if (a.BestScore != b.BestScore) {
        return a.BestScore > b.BestScore;
    }
    return a.Level > b.Level;
}

} // namespace

std::optional<RunResult> Judge::Entry(const std::vector<RunResult>& runs, bool installedSet) {
    if (!runs.empty() && runs.front().Daily) {
        if (installedSet && !runs.front().InstalledLevels) {
            return std::nullopt;
        }
        return runs.front();
    }
    std::optional<RunResult> best;
    for (const RunResult& run : runs) {
        if (installedSet && !run.InstalledLevels) {
            continue;
        }
        if (!best || Better(run, *best)) {
            best = run;
        }
    }
    return best;
}

Verdict Judge::Of(const ChildOutcome& outcome, const std::optional<int64_t>& claimedScore, bool installedSet,
                  const VerifyLimits& limits) {
    if (!outcome.Started) {
        return Rejected("the replay could not start: " + outcome.Failure);
    }
    std::vector<RunResult> runs;
    std::optional<json> closing;
    std::istringstream lines(outcome.Output);
    std::string text;
    try {
        while (std::getline(lines, text)) {
            const json line = json::parse(text);
            if (line.contains("Run")) {
                runs.push_back(ResultOf(line));
            } else {
                closing = line;
            }
        }
    } catch (const json::exception&) {
        return Rejected(Failed(outcome, limits));
    }
    const bool cleanExit = WIFEXITED(outcome.WaitStatus) && WEXITSTATUS(outcome.WaitStatus) == 0;
    if (!closing || !cleanExit || outcome.TimedOut || outcome.OutputCut) {
        return Rejected(Failed(outcome, limits));
    }
    try {
        if (closing->contains("Error")) {
            return Rejected(Refusal(*closing));
        }
        if (closing->at("EndedEarly").get<bool>()) {
            return Rejected("damaged: the game ended at frame " + std::to_string(closing->at("Frames").get<int64_t>()) +
                            " of the demo's " + std::to_string(closing->at("DemoFrames").get<int64_t>()) +
                            ": the replay went another way than the recording");
        }
    } catch (const json::exception&) {
        return Rejected(Failed(outcome, limits));
    }
    if (runs.empty()) {
        return Rejected("no game in the demo: it never starts one from the menu");
    }
    const std::optional<RunResult> entry = Entry(runs, installedSet);
    if (!entry) {
        return Rejected("other level files: no game in the demo was played on the installed levels from level 1");
    }
    if (claimedScore && *claimedScore != entry->BestScore) {
        return Rejected("claimed score not what the replay gives: claimed " + std::to_string(*claimedScore) +
                        ", the replay gives " + std::to_string(entry->BestScore));
    }
    Verdict verdict;
    verdict.Verified = true;
    verdict.Entry = entry;
    return verdict;
}
