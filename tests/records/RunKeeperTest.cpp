#include "records/RunKeeper.h"

#include "records/RecordsFile.h"

#include "demo/HeadlessSession.h"
#include "demo/VerifySupport.h"
#include "game/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

using K = DemoInput::Kind;

// Two games, each left with Esc.
std::vector<SessionStep> TwoGames() {
    std::vector<SessionStep> steps = StartGame();
    steps.push_back({{{K::KeyDown, 205}}, 100});
    steps.push_back({{{K::KeyUp, 205}, {K::KeyDown, 1}}, 1});
    steps.push_back({{{K::KeyUp, 1}}, 120});
    steps.push_back({{{K::MouseDown, 320, 240, 1}}, 1});
    steps.push_back({{{K::MouseUp, 320, 240, 1}, {K::KeyDown, 1}}, 1});
    steps.push_back({{{K::KeyUp, 1}}, 5});
    return steps;
}

class RunKeeperTest : public ::testing::Test {
protected:
    RunKeeperTest() {
        CopyInstalledLevels(scratch.Path());
        start.Utc = {9, 15, 0, 132};
        start.Interface = true;
    }
    std::string Folder() const { return (scratch.Path() / "runs").string(); }

    std::vector<std::string> Play() {
        std::vector<std::string> told;
        RunKeeper keeper(std::make_unique<RecordsFile>(Folder()), "session-x.vkd");
        keeper.OnWarning = [&](const std::string& message) { told.push_back(message); };
        start.Observer = &keeper;
        PlaySession(start, TwoGames());
        lastKept = keeper.LastKept();
        return told;
    }

    ScratchFolder scratch;
    SessionStart start;
    std::optional<RunRecord> lastKept;
};

TEST_F(RunKeeperTest, EachRunThatEndsIsKeptWithWhereItLiesInTheDemo) {
    EXPECT_EQ(Play(), std::vector<std::string>{});
    const std::vector<RunRecord> table = RecordsFile(Folder()).Read().Table;
    ASSERT_EQ(table.size(), 2u);
    for (const RunRecord& run : table) {
        EXPECT_EQ(run.Demo, "session-x.vkd");
        EXPECT_EQ(run.Ended, "esc");
        EXPECT_EQ(run.FinalState.find("{\"Frames\":" + std::to_string(run.LastFrame) + ","), 0u) << run.FinalState;
        EXPECT_GT(run.PlayMs, 0u);
    }
    // Both scored nothing: the earlier run comes first, and the later one is the session's new run.
    EXPECT_LT(table[0].FirstFrame, table[1].FirstFrame);
    ASSERT_TRUE(lastKept);
    EXPECT_TRUE(lastKept->SameRun(table[1]));
}

TEST_F(RunKeeperTest, TimePausedIsNoTimePlayed) {
    RunKeeper keeper(std::make_unique<RecordsFile>(Folder()), "session-x.vkd");
    start.Observer = &keeper;
    std::vector<SessionStep> steps = StartGame();
    // 60 frames played, 600 paused (P), 60 played, then Esc.
    steps.push_back({{}, 60});
    steps.push_back({{{K::KeyDown, 25}}, 1});
    steps.push_back({{{K::KeyUp, 25}}, 599});
    steps.push_back({{{K::KeyDown, 25}}, 1});
    steps.push_back({{{K::KeyUp, 25}}, 59});
    steps.push_back({{{K::KeyDown, 1}}, 1});
    PlaySession(start, steps);
    ASSERT_TRUE(keeper.LastKept());
    EXPECT_GT(keeper.LastKept()->PlayMs, 1900u);
    EXPECT_LT(keeper.LastKept()->PlayMs, 2300u);
}

TEST_F(RunKeeperTest, RecordsThatCannotBeWrittenAreToldOnceAndTheSessionPlaysOn) {
    scratch.Write("runs", "a file where the folder should be\n");
    const std::vector<std::string> told = Play();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("the runs of this game are not kept"), std::string::npos) << told[0];
    EXPECT_FALSE(lastKept);
}

} // namespace
