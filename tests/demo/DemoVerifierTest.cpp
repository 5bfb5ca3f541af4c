#include "demo/DemoVerifier.h"

#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "game/MainForm.h"

#include "demo/VerifySupport.h"
#include "game/ScratchFolder.h"
#include "support/FileText.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using K = DemoInput::Kind;

class DemoVerifierTest : public ::testing::Test {
protected:
    void SetUp() override { CopyInstalledLevels(folder.Path()); }

    // Records a session on the levels of the folder: a game started, then `steps`.
    std::string Record(const std::string& name, std::vector<SessionStep> steps) {
        SessionStart start;
        start.Utc = {9, 15, 0, 132};
        start.DemoFile = (folder.Path() / name).string();
        start.RulesOnly = true;
        std::vector<SessionStep> all = StartGame();
        all.insert(all.end(), steps.begin(), steps.end());
        PlaySession(start, all);
        return start.DemoFile;
    }

    // The runs a drawn replay goes through, as a tracker sees them.
    static std::vector<GameRun> DrawnRuns(const Demo& demo) {
        DemoPlayer player(nullptr, demo);
        EXPECT_TRUE(player.MakeForm());
        RunTracker tracker;
        player.Play(false, [&] { tracker.AfterFrame(player.Form().World, player.Frames(), player.ElapsedMs()); });
        tracker.Finish(player.GameEnded() ? RunEnd::Closed : RunEnd::Unfinished);
        return tracker.Runs();
    }

    static void ExpectSameRuns(const Verification& verified, const std::vector<GameRun>& runs) {
        ASSERT_EQ(verified.Runs.size(), runs.size());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const GameRun& a = verified.Runs[i].Played;
            const GameRun& b = runs[i];
            EXPECT_EQ(a.FirstFrame, b.FirstFrame);
            EXPECT_EQ(a.LastFrame, b.LastFrame);
            EXPECT_EQ(a.BestScore, b.BestScore);
            EXPECT_EQ(a.Score, b.Score);
            EXPECT_EQ(a.Level, b.Level);
            EXPECT_EQ(a.OrbsEaten, b.OrbsEaten);
            EXPECT_EQ(a.End, b.End);
        }
    }

    ScratchFolder folder;
};

// Left into the wall beside the start, the energy runs out and the game is lost.
std::vector<SessionStep> IntoTheWall() {
    return {{{{K::KeyDown, 203}}, 150}, {{{K::KeyDown, 1}}, 1}, {{{K::KeyUp, 1}}, 10}};
}

TEST_F(DemoVerifierTest, AHandEditedDemoVerifiesToWhatItsReplayGives) {
    const std::string file = Record("wall.vkd", IntoTheWall());
    const Verification original = DemoVerifier::Replay(DemoVerifier::Read(file));
    ASSERT_EQ(original.Runs.size(), 1u);
    EXPECT_EQ(original.Runs[0].Played.End, RunEnd::GameOver);
    EXPECT_TRUE(original.Runs[0].InstalledLevels);

    // Right instead of left, and a claim in a comment that nothing reads.
    std::string text = ReadAll(file);
    const std::size_t left = text.find("k+203");
    ASSERT_NE(left, std::string::npos);
    text.replace(left, 5, "k+205");
    text.insert(text.find("\nclock") + 1, "# BestScore 999999\n");
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;

    const Demo edited = DemoVerifier::Read(file);
    const Verification verified = DemoVerifier::Replay(edited);
    ExpectSameRuns(verified, DrawnRuns(edited));
    ASSERT_EQ(verified.Runs.size(), 1u);
    EXPECT_EQ(verified.Runs[0].Played.End, RunEnd::Escape);
    EXPECT_LT(verified.Runs[0].Played.BestScore, 999999);
    EXPECT_FALSE(verified.EndedEarly);
}

TEST_F(DemoVerifierTest, ADemoOnChangedLevelFilesIsNotOnTheInstalledSet) {
    // A wall taken out of level 1.
    std::string level = ReadAll(folder.Path() / "1.vrk");
    const std::size_t wall = level.find('\x01');
    ASSERT_NE(wall, std::string::npos);
    level[wall] = 0;
    folder.Write("1.vrk", level);
    const std::string file = Record("changed.vkd", IntoTheWall());
    const Verification verified = DemoVerifier::Replay(DemoVerifier::Read(file));
    ASSERT_EQ(verified.Runs.size(), 1u);
    EXPECT_FALSE(verified.Runs[0].InstalledLevels);
    EXPECT_NE(DemoVerifier::Json(verified.Runs[0], 1).find("\"InstalledLevels\":false"), std::string::npos);

    // With the installed level back in the folder, the demo needs another level file than is there.
    CopyInstalledLevels(folder.Path());
    try {
        DemoVerifier::Read(file);
        ADD_FAILURE() << "a demo of other level files was read";
    } catch (const DemoError& e) {
        EXPECT_EQ(e.Message, "demo was recorded with another 1.vrk");
    }
}

TEST_F(DemoVerifierTest, AGameOnTheInstalledLevelsThatReachedNoLevelFileIsNotOnThem) {
    // Without level 1 the game is played on an empty field.
    std::filesystem::remove(folder.Path() / "1.vrk");
    const std::string file = Record("nolevel.vkd", IntoTheWall());
    const Verification verified = DemoVerifier::Replay(DemoVerifier::Read(file));
    ASSERT_EQ(verified.Runs.size(), 1u);
    EXPECT_FALSE(verified.Runs[0].InstalledLevels);
}

TEST_F(DemoVerifierTest, RefusesDemosTooLargeOrTooLongOrDamaged) {
    auto refusal = [&](const std::string& name, const std::string& text) {
        folder.Write(name, text);
        try {
            DemoVerifier::Read((folder.Path() / name).string());
        } catch (const DemoError& e) {
            return std::to_string(e.Line) + " " + e.Message;
        }
        return std::string("accepted");
    };
    const std::string header = "vorkalith-demo 1\nutc 09:15:00.132\nclock 0\nforeground 1\n";
    std::string large = header + std::string(DemoVerifier::kMaxFileBytes, '#') + "\nend 0\n";
    EXPECT_EQ(refusal("large.vkd", large).rfind("0 too large to verify", 0), 0u);
    EXPECT_EQ(refusal("long.vkd", header + "r 432001 17\nend 432001\n").rfind("0 too long to verify", 0), 0u);
    EXPECT_EQ(refusal("ok.vkd", header + "r 432000 17\nend 432000\n"), "accepted");
    EXPECT_EQ(refusal("damaged.vkd", header + "f 16 k+999\nend 1\n"), "5 bad input \"k+999\"");
    EXPECT_EQ(refusal("short.vkd", header + "f 16\n"),
              "6 demo ends without its end line (the recording was cut short)");
    // A stranger's demo must not have files outside the level folder read.
    EXPECT_EQ(refusal("path.vkd", header + "level ../1.vrk 352 a5de07dde13d249b\nend 0\n"),
              "0 a level line names a file that the game never reads");
    EXPECT_EQ(refusal("name.vkd", header + "level 26.vrk 0 ef46db3751d8e999\nend 0\n"),
              "0 a level line names a file that the game never reads");
}

TEST_F(DemoVerifierTest, ReplayStopsAtItsFrameCapAndAClosedWindowEndsTheRun) {
    const std::string file = Record("closed.vkd", {{{}, 100}, {{{K::Quit}}, 1}});
    const Demo demo = DemoVerifier::Read(file);
    const Verification capped = DemoVerifier::Replay(demo, 50);
    EXPECT_EQ(capped.Frames, 50u);
    ASSERT_EQ(capped.Runs.size(), 1u);
    EXPECT_EQ(capped.Runs[0].Played.End, RunEnd::Unfinished);

    const Verification closed = DemoVerifier::Replay(demo);
    ASSERT_EQ(closed.Runs.size(), 1u);
    EXPECT_EQ(closed.Runs[0].Played.End, RunEnd::Closed);
    EXPECT_FALSE(closed.EndedEarly);
}

} // namespace
