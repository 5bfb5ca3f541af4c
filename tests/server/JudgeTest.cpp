#include "server/Judge.h"

#include <csignal>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

// A run line as the verifying child writes it.
std::string RunLine(int number, int best, int level, bool installed, const char* daily = nullptr) {
    nlohmann::json line{{"Run", number},     {"FirstFrame", 5},      {"LastFrame", 100},
                        {"BestScore", best}, {"Score", -1},          {"Level", level},
                        {"OrbsEaten", 3},    {"Ended", "game-over"}, {"InstalledLevels", installed}};
    line["Daily"] = daily ? nlohmann::json(daily) : nlohmann::json(nullptr);
    return line.dump() + "\n";
}

constexpr const char* kClean = "{\"Frames\":100,\"DemoFrames\":100,\"EndedEarly\":false}\n";

ChildOutcome Exited(std::string output, int status = 0) {
    ChildOutcome outcome;
    outcome.Started = true;
    outcome.Output = std::move(output);
    outcome.WaitStatus = status << 8; // as waitpid reports an exit
    return outcome;
}

Verdict Judged(const ChildOutcome& outcome, std::optional<int64_t> claimed = std::nullopt, bool installed = true) {
    return Judge::Of(outcome, claimed, installed, VerifyLimits{});
}

TEST(JudgeTest, TheEntryIsTheBestRunByScoreThenLevelThenTheEarlierOne) {
    const Verdict verdict = Judged(Exited(RunLine(1, 500, 1, true) + RunLine(2, 900, 1, true) +
                                          RunLine(3, 900, 2, true) + RunLine(4, 900, 2, true) + kClean));
    ASSERT_TRUE(verdict.Verified);
    EXPECT_EQ(verdict.Entry->RunNumber, 3);
}

TEST(JudgeTest, ADailyFirstGameIsTheEntryEvenWhenALaterRunIsBetter) {
    const Verdict verdict = Judged(Exited(RunLine(1, 100, 1, true, "2026-03-01") + RunLine(2, 900, 1, true) + kClean));
    ASSERT_TRUE(verdict.Verified);
    EXPECT_EQ(verdict.Entry->RunNumber, 1);
    EXPECT_EQ(verdict.Entry->Daily, "2026-03-01");
}

TEST(JudgeTest, OnTheInstalledSetOnlyRunsFromTheFirstInstalledLevelCount) {
    const std::string output = RunLine(1, 900, 7, false) + RunLine(2, 100, 1, true) + kClean;
    EXPECT_EQ(Judged(Exited(output)).Entry->RunNumber, 2);
    EXPECT_EQ(Judged(Exited(output), std::nullopt, false).Entry->RunNumber, 1);
    const Verdict none = Judged(Exited(RunLine(1, 900, 7, false) + kClean));
    EXPECT_FALSE(none.Verified);
    EXPECT_TRUE(none.Reason.starts_with("other level files"));
}

TEST(JudgeTest, TheClaimedScoreIsCheckedAgainstTheEntrysBestScore) {
    const std::string output = RunLine(1, 900, 1, true) + kClean;
    EXPECT_TRUE(Judged(Exited(output), 900).Verified);
    const Verdict wrong = Judged(Exited(output), 901);
    EXPECT_FALSE(wrong.Verified);
    EXPECT_EQ(wrong.Reason, "claimed score not what the replay gives: claimed 901, the replay gives 900");
}

TEST(JudgeTest, TheChildsRefusalsBecomeReasons) {
    const auto reason = [](const std::string& closing) { return Judged(Exited(closing)).Reason; };
    EXPECT_EQ(reason("{\"Error\":\"damaged\",\"Line\":12,\"Message\":\"bad input\"}\n"),
              "damaged at line 12: bad input");
    EXPECT_EQ(reason("{\"Error\":\"levels\",\"Line\":0,\"Message\":\"x\"}\n"), "other level files: x");
    EXPECT_EQ(reason("{\"Error\":\"cap\",\"Line\":0,\"Message\":\"too long\"}\n"), "over a cap: too long");
    EXPECT_TRUE(reason("{\"Frames\":7,\"DemoFrames\":9,\"EndedEarly\":true}\n").starts_with("damaged: the game ended"));
    EXPECT_TRUE(reason(kClean).starts_with("no game in the demo"));
}

TEST(JudgeTest, AChildThatDidNotFinishIsNeverVerified) {
    // Runs written before the end do not count without the closing line.
    ChildOutcome timedOut = Exited(RunLine(1, 900, 1, true));
    timedOut.TimedOut = true;
    timedOut.WaitStatus = SIGKILL;
    EXPECT_TRUE(Judged(timedOut).Reason.starts_with("over a cap: the replay took more than 20 s"));

    ChildOutcome cpu = Exited(RunLine(1, 900, 1, true));
    cpu.WaitStatus = SIGXCPU;
    EXPECT_TRUE(Judged(cpu).Reason.find("processor time") != std::string::npos);

    EXPECT_FALSE(Judged(Exited(RunLine(1, 900, 1, true) + kClean, 1)).Verified);
    EXPECT_FALSE(Judged(Exited(RunLine(1, 900, 1, true) + "{garbage\n")).Verified);
}

} // namespace
