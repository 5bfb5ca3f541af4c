#include "demo/RunTracker.h"

#include "game/GameFixture.h"

#include <gtest/gtest.h>

namespace {

// Feeds a tracker world states as frames would leave them, one frame per call.
class RunTrackerTest : public GameFixture {
protected:
    void SetUp() override { Start(); }

    const GameRun* Frame(uint8_t state, int32_t score = 0, int32_t energy = 100, uint8_t orbs = 0, uint8_t level = 1) {
        TGame& g = form->World;
        g.GameState = state;
        g.Score = score;
        g.Energy = energy;
        g.OrbsEaten = orbs;
        g.Level = level;
        ++frame_;
        return tracker.AfterFrame(g, frame_, frame_ * 16);
    }

    RunTracker tracker;
    uint64_t frame_ = 0;
};

TEST_F(RunTrackerTest, ARunGoesFromTheStartClickToGameOverKeepingItsBestScore) {
    Frame(0);
    Frame(0);
    EXPECT_EQ(Frame(1), nullptr);
    ASSERT_NE(tracker.Current(), nullptr);
    Frame(1, 50, 150, 1);
    Frame(1, 120, 100, 3);
    Frame(1, 30, 0, 3);
    const GameRun* run = Frame(0, -3, 0, 3);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(tracker.Current(), nullptr);
    EXPECT_EQ(run->FirstFrame, 3u);
    EXPECT_EQ(run->LastFrame, 7u);
    EXPECT_EQ(run->StartMs, 48u);
    EXPECT_EQ(run->BestScore, 120);
    EXPECT_EQ(run->Score, -3);
    EXPECT_EQ(run->OrbsEaten, 3u);
    EXPECT_EQ(run->Level, 1);
    EXPECT_EQ(run->End, RunEnd::GameOver);
    EXPECT_EQ(tracker.Runs().size(), 1u);
}

TEST_F(RunTrackerTest, EscLeavesAGameThatWasNotLost) {
    Frame(1);
    Frame(1, 40, 0);
    EXPECT_EQ(Frame(0, 40, 0)->End, RunEnd::Escape);
    Frame(1);
    // No energy but a score not below zero: the game would have gone on.
    EXPECT_EQ(Frame(0, 0, 0)->End, RunEnd::Escape);
    EXPECT_EQ(tracker.Runs().size(), 2u);
}

TEST_F(RunTrackerTest, OrbsCountOnEveryLevelThoughTheCounterFallsBackInALevelChange) {
    Frame(1);
    Frame(1, 0, 100, 99);
    Frame(1, 0, 100, 100);
    Frame(2, 0, 100, 100);
    Frame(2, 0, 100, 97, 2);
    Frame(1, 0, 50, 97, 2);
    Frame(1, 0, 50, 99, 2);
    const GameRun* run = Frame(0, 10, 50, 99, 2);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->OrbsEaten, 102u);
    EXPECT_EQ(run->Level, 2);
}

TEST_F(RunTrackerTest, TheEndScreenEndsARunAtTheLastLevelPlayed) {
    Frame(1);
    Frame(2, 5000, 100, 100, 24);
    // Leaving level 24 steps the level on to one that is never played.
    const GameRun* run = Frame(5, 5005, 95, 100, 25);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->End, RunEnd::EndScreen);
    EXPECT_EQ(run->Level, 24);
    // Esc from the end screen starts nothing.
    EXPECT_EQ(Frame(0), nullptr);
    EXPECT_EQ(tracker.Current(), nullptr);
}

TEST_F(RunTrackerTest, OnlyTheStartLeadsFromTheMenuIntoARun) {
    Frame(3);
    Frame(0);
    Frame(4);
    Frame(0);
    EXPECT_EQ(tracker.Current(), nullptr);
    EXPECT_EQ(tracker.Finish(RunEnd::Unfinished), nullptr);
    EXPECT_TRUE(tracker.Runs().empty());
}

TEST_F(RunTrackerTest, FinishEndsARunStillGoing) {
    Frame(1);
    Frame(1, 70);
    const GameRun* run = tracker.Finish(RunEnd::Closed);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->End, RunEnd::Closed);
    EXPECT_EQ(run->LastFrame, 2u);
    EXPECT_EQ(run->Frames(), 2u);
    EXPECT_EQ(tracker.Finish(RunEnd::Unfinished), nullptr);
}

} // namespace
