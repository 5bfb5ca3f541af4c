#include "records/RunsFolder.h"

#include "game/ScratchFolder.h"
#include "platform/files/FileLock.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class RunsFolderTest : public ::testing::Test {
protected:
    RunsFolderTest() : folder((scratch.Path() / "runs").string()) { fs::create_directories(folder.Path()); }

    // A session demo of `bytes` bytes, `age` minutes old.
    void Session(const std::string& name, int age, std::size_t bytes = 10) {
        scratch.Write("runs/" + name, std::string(bytes, 'x'));
        fs::last_write_time(folder.PathOf(name), fs::file_time_type::clock::now() - std::chrono::minutes(age));
    }
    bool Has(const std::string& name) const { return fs::exists(folder.PathOf(name)); }
    static RunRecord PointingTo(const std::string& demo) {
        RunRecord r;
        r.Demo = demo;
        return r;
    }

    ScratchFolder scratch;
    RunsFolder folder;
};

TEST_F(RunsFolderTest, OnlyOldDemosThatNoRecordPointsToAreRemoved) {
    const std::size_t sessions = RunsFolder::kKeptSessions + 5;
    for (std::size_t i = 0; i < sessions; ++i) {
        Session("session-" + std::to_string(i) + ".vkd", static_cast<int>(sessions - i));
    }
    scratch.Write("runs/other.txt", "not a session\n");
    // The oldest three are pointed to by a record, or are the session being played.
    const std::vector<std::string> removed =
        folder.Prune({PointingTo("session-0.vkd"), PointingTo("session-1.vkd")}, "session-2.vkd");
    EXPECT_EQ(removed.size(), 2u);
    EXPECT_TRUE(Has("session-0.vkd") && Has("session-1.vkd") && Has("session-2.vkd"));
    EXPECT_FALSE(Has("session-3.vkd") || Has("session-4.vkd"));
    EXPECT_TRUE(Has("session-5.vkd") && Has("other.txt"));
}

TEST_F(RunsFolderTest, PastTheByteBoundEvenNewDemosGoOldestFirst) {
    Session("session-old.vkd", 3, 400);
    Session("session-mid.vkd", 2, 400);
    Session("session-new.vkd", 1, 400);
    EXPECT_EQ(folder.Prune({}, "session-new.vkd", 30, 1000), std::vector<std::string>{"session-old.vkd"});
}

TEST_F(RunsFolderTest, ADemoLeftUnderItsTemporaryNameIsPutInPlaceUnlessItsGameStillRuns) {
    Session("session-crashed.vkd.tmp1-0-aa", 5);
    Session("session-running.vkd.tmp2-0-bb", 5);
    const platform::FileLock running(folder.PathOf("session-running.vkd.tmp2-0-bb"), platform::FileLock::Mode::Shared,
                                     false, false);
    ASSERT_TRUE(running.Held());
    folder.Recover();
    EXPECT_TRUE(Has("session-crashed.vkd"));
    EXPECT_FALSE(Has("session-crashed.vkd.tmp1-0-aa"));
    EXPECT_TRUE(Has("session-running.vkd.tmp2-0-bb"));
    EXPECT_FALSE(Has("session-running.vkd"));
}

TEST_F(RunsFolderTest, NewSessionNamesAreSessionNamesAndNeverTaken) {
    const std::string first = folder.NewSessionName();
    EXPECT_TRUE(RunsFolder::IsSessionName(first)) << first;
    scratch.Write("runs/" + first, "taken");
    EXPECT_NE(folder.NewSessionName(), first);
    EXPECT_FALSE(RunsFolder::IsSessionName("records.json"));
    EXPECT_FALSE(RunsFolder::IsSessionName("session-.vkd"));
}

TEST_F(RunsFolderTest, ATagTellsApartSessionsStartedInTheSameSecond) {
    const std::string tagged = folder.NewSessionName("123456789");
    EXPECT_TRUE(RunsFolder::IsSessionName(tagged)) << tagged;
    EXPECT_TRUE(tagged.ends_with("-123456789.vkd")) << tagged;
    scratch.Write("runs/" + tagged, "taken");
    EXPECT_NE(folder.NewSessionName("123456789"), tagged);
}

} // namespace
