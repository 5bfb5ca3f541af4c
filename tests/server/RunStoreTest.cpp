// The store's queue and boards on an SQLite file of its own (the same statements run on
// PostgreSQL in the server's tests).
#include "server/RunStore.h"
#include "server/Migrations.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class RunStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = std::filesystem::temp_directory_path() /
                ("vorkalith-store-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++) + ".db");
        store_ = RunStore::Open(path_.string());
    }
    void TearDown() override {
        store_.reset();
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(path_.string() + suffix);
        }
    }

    int64_t Add(std::optional<std::string> name, std::string demo = "demo") {
        return store_->Add(NewRun{std::move(name), std::nullopt, std::move(demo), "127.0.0.1", 1000});
    }
    // Takes the next run as `owner` and stores a verified entry of `score` for it.
    void Verify(const std::string& owner, int64_t score, std::optional<std::string> daily = std::nullopt) {
        const std::optional<LeasedRun> run = store_->Lease(owner, 0, 1000);
        ASSERT_TRUE(run);
        Verdict verdict;
        verdict.Verified = true;
        verdict.Entry = RunResult{1, 5, 100, score, score, 1, 0, "game-over", true, std::move(daily)};
        ASSERT_TRUE(store_->Decide(run->Id, owner, verdict, 0));
    }
    std::vector<std::string> Names(const BoardQuery& query) {
        std::vector<std::string> names;
        for (const RunRecord& run : store_->Board(query)) {
            names.push_back(run.Name.value_or("-") + ":" + std::to_string(run.Result->BestScore));
        }
        return names;
    }

    static inline int counter_ = 0;
    std::filesystem::path path_;
    std::unique_ptr<RunStore> store_;
};

TEST_F(RunStoreTest, ALeaseThatRanOutGoesToTheNextWorkerAndTheFirstCannotDecideAnyMore) {
    const int64_t first = Add("a", "one");
    const int64_t second = Add("b", "two");
    const std::optional<LeasedRun> taken = store_->Lease("w1", 100, 200);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->Id, first);
    EXPECT_EQ(taken->Demo, "one");
    EXPECT_EQ(store_->Lease("w2", 150, 250)->Id, second);
    EXPECT_FALSE(store_->Lease("w3", 199, 300));
    // w1 died: at 201 its lease has run out.
    const std::optional<LeasedRun> again = store_->Lease("w3", 201, 300);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Id, first);
    EXPECT_EQ(again->Attempts, 2);
    Verdict rejected;
    rejected.Reason = "damaged at line 3: x";
    EXPECT_FALSE(store_->Decide(first, "w1", rejected, 300));
    EXPECT_TRUE(store_->Decide(first, "w3", rejected, 300));
    EXPECT_FALSE(store_->Decide(first, "w3", rejected, 300)); // decided once only
    EXPECT_EQ(store_->Find(first)->Status, "rejected");
    EXPECT_EQ(store_->Find(first)->Reason, "damaged at line 3: x");
    EXPECT_EQ(store_->Queued(), 1);
}

TEST_F(RunStoreTest, TheBoardsListEachNamesBestAndTheDailyBoardItsDateOnly) {
    Add("ann");
    Add("ann");
    Add(std::nullopt);
    Add(std::nullopt);
    Add("bob");
    Add("cat");
    Verify("w", 100, "2026-03-01");
    Verify("w", 300);
    Verify("w", 50);
    Verify("w", 50);
    Verify("w", 300, "2026-03-01");
    Verify("w", 70, "2026-03-02");
    // Equal scores and levels: the earlier upload first.
    EXPECT_EQ(Names({}), (std::vector<std::string>{"ann:300", "bob:300", "cat:70", "-:50", "-:50"}));
    EXPECT_EQ(Names({"2026-03-01", 50}), (std::vector<std::string>{"bob:300", "ann:100"}));
    EXPECT_EQ(Names({std::nullopt, 2}), (std::vector<std::string>{"ann:300", "bob:300"}));
}

TEST_F(RunStoreTest, MigrationsRunOnceAndANewerSchemaIsRefused) {
    store_.reset();
    store_ = RunStore::Open(path_.string());
    EXPECT_EQ(Migrations::Apply(store_->Connection()), Migrations::Latest());
    store_->Connection().Run("INSERT INTO schema_migrations (version, applied_at) VALUES (?, 0)",
                             {int64_t{Migrations::Latest() + 1}});
    EXPECT_THROW(RunStore::Open(path_.string()), SqlError);
}

} // namespace
