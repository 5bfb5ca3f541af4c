#include "records/RecordsFile.h"

#include "game/ScratchFolder.h"
#include "support/FileSizeLimit.h"
#include "support/FileText.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <thread>

namespace {

RunRecord Record(int32_t best, int level, int64_t startedAt, const std::string& demo = "session-a.vkd") {
    RunRecord r;
    r.BestScore = best;
    r.Level = level;
    r.StartedAt = startedAt;
    r.LocalTime = "2024-05-01 12:00:00";
    r.Demo = demo;
    r.FirstFrame = static_cast<uint64_t>(startedAt) + 1;
    r.LastFrame = r.FirstFrame + 10;
    r.Ended = "game-over";
    r.FinalState = "{}";
    return r;
}

std::vector<int64_t> Starts(const std::vector<RunRecord>& table) {
    std::vector<int64_t> starts;
    for (const RunRecord& r : table) {
        starts.push_back(r.StartedAt);
    }
    return starts;
}

class RecordsFileTest : public ::testing::Test {
protected:
    std::string Folder() const { return (scratch.Path() / "runs").string(); }
    ScratchFolder scratch;
};

TEST_F(RecordsFileTest, KeepsTheTenBestRunsATieGoingToTheHigherLevelThenTheEarlierRun) {
    const RecordsFile file(Folder());
    // Start times name the runs: 1..12.
    const RunRecord runs[] = {Record(500, 3, 1), Record(900, 2, 2),  Record(500, 4, 3), Record(500, 3, 4),
                              Record(100, 1, 5), Record(-5, 1, 6),   Record(700, 2, 7), Record(0, 1, 8),
                              Record(900, 2, 9), Record(300, 2, 10), Record(50, 1, 11), Record(60, 1, 12)};
    for (const RunRecord& run : runs) {
        ASSERT_EQ(file.Add(run).Error, "");
    }
    const RecordsUpdate read = file.Read();
    EXPECT_EQ(Starts(read.Table), (std::vector<int64_t>{2, 9, 7, 3, 1, 4, 10, 5, 12, 11}));
    // The same run entered twice is one run.
    EXPECT_EQ(Starts(file.Add(runs[1]).Table).size(), RecordsFile::kKept);
}

TEST_F(RecordsFileTest, GamesAddingAtOnceLoseNoneOfEachOthersRuns) {
    // Each writer has its own lock and reads the file again under it, as two games do.
    auto add = [this](const std::string& demo) {
        const RecordsFile file(Folder());
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(file.Add(Record(100 * i, 1, i, demo)).Error, "");
        }
    };
    std::thread first(add, "session-1.vkd"), second(add, "session-2.vkd");
    first.join();
    second.join();
    EXPECT_EQ(RecordsFile(Folder()).Read().Table.size(), 10u);
}

TEST_F(RecordsFileTest, ADamagedFileIsMovedAsideWithAWarningAndANewTableStarted) {
    std::filesystem::create_directories(Folder());
    const std::string path = Folder() + "/records.json";
    for (const std::string& damage : {std::string("{\"Format\": 1, \"Runs\": [{\"Bes"),
                                      std::string("{\"Format\": 1, \"Runs\": [{\"BestScore\": \"a lot\"}]}")}) {
        std::filesystem::remove_all(Folder());
        std::filesystem::create_directories(Folder());
        scratch.Write("runs/records.json", damage);
        const RecordsUpdate update = RecordsFile(Folder()).Add(Record(10, 1, 1));
        EXPECT_EQ(update.Error, "");
        EXPECT_NE(update.Warning.find("records.json: damaged"), std::string::npos) << update.Warning;
        EXPECT_EQ(update.Table.size(), 1u);
        int moved = 0;
        for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
            if (entry.path().filename().string().starts_with("records.json.damaged-")) {
                EXPECT_EQ(ReadAll(entry.path()), damage);
                ++moved;
            }
        }
        EXPECT_EQ(moved, 1);
    }
}

TEST_F(RecordsFileTest, AFailingWriteLeavesThePreviousTableWhole) {
    const RecordsFile file(Folder());
    ASSERT_EQ(file.Add(Record(10, 1, 1)).Error, "");
    const std::string before = ReadAll(file.Path());
    {
        // A full disk: a new table cannot be written beyond the old one's size.
        const FileSizeLimit full(before.size());
        const RecordsUpdate update = file.Add(Record(20, 1, 2));
        EXPECT_NE(update.Error.find("records.json"), std::string::npos) << update.Error;
    }
    EXPECT_EQ(ReadAll(file.Path()), before);
}

TEST_F(RecordsFileTest, AnUnusableFolderIsAnErrorAndNothingIsThrown) {
    scratch.Write("runs", "a file where the folder should be\n");
    const RecordsUpdate update = RecordsFile(Folder()).Add(Record(10, 1, 1));
    EXPECT_NE(update.Error, "");
    EXPECT_EQ(RecordsFile(Folder()).Read().Table.size(), 0u);
}

TEST_F(RecordsFileTest, RecordsReadBackAsWrittenAndRefuseWhatPointsOutOfTheFolder) {
    const RunRecord run = Record(42, 7, 1700000000000);
    std::vector<RunRecord> table;
    std::string why;
    ASSERT_TRUE(RecordsFile::Parse(RecordsFile::Format({run}), table, why)) << why;
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].Json(), run.Json());
    for (const std::string& demo : {std::string("../x.vkd"), std::string("/etc/passwd"), std::string(".hidden")}) {
        RunRecord outside = run;
        outside.Demo = demo;
        EXPECT_FALSE(RecordsFile::Parse(RecordsFile::Format({outside}), table, why)) << demo;
    }
}

} // namespace
