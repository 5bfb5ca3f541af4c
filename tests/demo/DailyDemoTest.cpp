#include "demo/DailyPlatform.h"
#include "demo/DemoReader.h"
#include "demo/DemoVerifier.h"
#include "demo/DemoWriter.h"
#include "platform/headless/HeadlessPlatform.h"

#include "demo/VerifySupport.h"
#include "game/ScratchFolder.h"
#include "support/FileText.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using K = DemoInput::Kind;

const std::string kHeader = "vorkalith-demo 2\nutc 18:44:13.069\nclock 0\nforeground 1\n";

std::vector<SessionStep> StartAndSteer() {
    std::vector<SessionStep> steps = StartGame();
    steps.push_back({{{K::KeyDown, 205}}, 300});
    steps.push_back({{{K::KeyUp, 205}, {K::KeyDown, 208}}, 300});
    return steps;
}

SessionStart Daily(const char* date, platform::TimeOfDay startedAt) {
    SessionStart start;
    start.Daily = DailyChallenge::ParseDate(date);
    start.Utc = startedAt;
    start.RulesOnly = true;
    return start;
}

TEST(DailyDemoTest, TheDailyLineIsWrittenAndReadBack) {
    const Demo daily = DemoReader::Parse(kHeader + "daily 2024-05-01 10:00:00.250\nf 16\nend 1\n");
    ASSERT_TRUE(daily.Daily);
    EXPECT_EQ(DailyChallenge::FormatDate(daily.Daily->Date), "2024-05-01");
    EXPECT_EQ(daily.Daily->StartedAt.Milliseconds, 250);
    EXPECT_EQ(DemoReader::Parse(DemoWriter::Format(daily)), daily);
    EXPECT_NE(DemoWriter::Format(daily).find("\ndaily 2024-05-01 10:00:00.250\n"), std::string::npos);
    // A demo without the line is no daily one, and is written as before.
    const Demo plain = DemoReader::Parse(kHeader + "f 16\nend 1\n");
    EXPECT_FALSE(plain.Daily);
    EXPECT_EQ(DemoWriter::Format(plain), kHeader + "f 16\nend 1\n");
    for (const char* bad :
         {"daily 2024-02-30 10:00:00.000\n", "daily 2024-05-01\n", "daily 2024-05-01 25:00:00.000\n"}) {
        try {
            DemoReader::Parse(kHeader + bad + "end 0\n");
            ADD_FAILURE() << bad;
        } catch (const DemoError& e) {
            EXPECT_EQ(e.Line, 5) << bad;
        }
    }
}

TEST(DailyDemoTest, SessionsOfOneDateMeetTheSameOrbsAndOtherDatesOthers) {
    ScratchFolder folder;
    CopyInstalledLevels(folder.Path());
    const std::string morning = PlaySession(Daily("2024-05-01", {7, 0, 0, 0}), StartAndSteer());
    const std::string night = PlaySession(Daily("2024-05-01", {23, 30, 5, 999}), StartAndSteer());
    const std::string nextDay = PlaySession(Daily("2024-05-02", {7, 0, 0, 0}), StartAndSteer());
    EXPECT_EQ(morning, night);
    EXPECT_NE(morning.find("\"GameState\":1"), std::string::npos);
    const auto orbs = [](const std::string& state) { return state.substr(state.find("\"Orbs\"")); };
    EXPECT_NE(orbs(morning), orbs(nextDay));
}

TEST(DailyDemoTest, TheDailyPlatformGivesTheGameTheSeedOfToday) {
    platform::HeadlessPlatform headless;
    DailyPlatform daily(headless);
    platform::TimeOfDay now;
    EXPECT_EQ(daily.Daily().Date, DailyChallenge::Today(now));
    EXPECT_EQ(DailyChallenge::MillisecondsOf(daily.UtcTimeOfDay()),
              DailyChallenge::MillisecondsOf(DailyChallenge::SeedOf(daily.Daily().Date)));
}

class DailyVerifyTest : public ::testing::Test {
protected:
    void SetUp() override { CopyInstalledLevels(folder.Path()); }

    // The daily date --verify gives each run of a daily session recorded with `steps`.
    std::vector<std::string> DailyRuns(SessionStart start, const std::vector<SessionStep>& steps,
                                       const std::string& edit = {}) {
        start.DemoFile = (folder.Path() / "daily.vkd").string();
        start.ReplaceDemo = true;
        PlaySession(start, steps);
        if (!edit.empty()) {
            std::string text = ReadAll(start.DemoFile);
            text.replace(text.find("\nutc ") + 1, edit.size(), edit);
            std::ofstream(start.DemoFile, std::ios::binary | std::ios::trunc) << text;
        }
        std::vector<std::string> dates;
        for (const VerifiedRun& run : DemoVerifier::Replay(DemoVerifier::Read(start.DemoFile)).Runs) {
            dates.push_back(run.Daily ? DailyChallenge::FormatDate(*run.Daily) : "-");
        }
        return dates;
    }

    // Two games: the first left with Esc, then another.
    static std::vector<SessionStep> TwoGames(long long menuFrames) {
        std::vector<SessionStep> steps = {{{}, menuFrames}};
        for (int game = 0; game < 2; ++game) {
            const std::vector<SessionStep> start = StartGame();
            steps.insert(steps.end(), start.begin(), start.end());
            steps.push_back({{{K::KeyDown, 1}}, 1});
            steps.push_back({{{K::KeyUp, 1}}, 150});
        }
        return steps;
    }

    ScratchFolder folder;
};

TEST_F(DailyVerifyTest, OnlyTheFirstGameOfADailyDemoIsTheDaysGame) {
    EXPECT_EQ(DailyRuns(Daily("2024-05-01", {10, 0, 0, 0}), TwoGames(10)),
              (std::vector<std::string>{"2024-05-01", "-"}));
    // A session that is no daily one has no daily games.
    SessionStart plain;
    plain.Utc = DailyChallenge::SeedOf({2024, 5, 1});
    plain.RulesOnly = true;
    EXPECT_EQ(DailyRuns(plain, TwoGames(10)), (std::vector<std::string>{"-", "-"}));
}

TEST_F(DailyVerifyTest, AGameStartedAfterTheDateOrOnAnotherSeedIsNoDailyOne) {
    // Two seconds in the menu from 23:59:59.000: the game starts on the next day.
    EXPECT_EQ(DailyRuns(Daily("2024-05-01", {23, 59, 59, 0}), TwoGames(120))[0], "-");
    EXPECT_EQ(DailyRuns(Daily("2024-05-01", {23, 59, 58, 0}), TwoGames(10))[0], "2024-05-01");
    // The seed of the demo edited to another time of day than the date's.
    EXPECT_EQ(DailyRuns(Daily("2024-05-01", {10, 0, 0, 0}), TwoGames(10), "utc 18:44:13.070")[0], "-");
}

} // namespace
