#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/HeadlessSession.h"
#include "demo/LevelDigests.h"
#include "demo/ScreenHash.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessPlatform.h"

#include "game/ScratchFolder.h"
#include "support/FileText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

// A level with open floor, the ship at the top left and a mine patrolling.
std::string OpenLevel() {
    std::string bytes(352, '\0');
    bytes[0] = 6;
    bytes[10 * 16 + 7] = 5;
    return bytes;
}

class RecordReplayTest : public ::testing::Test {
protected:
    // Plays a short game headless with inputs of every kind, recording it; returns the final state.
    std::string RecordGame(const std::string& demo, const std::vector<std::string>& arguments = {}) {
        SessionStart start;
        start.Utc = {9, 15, 0, 132};
        start.Arguments = arguments;
        start.DemoFile = demo;
        HeadlessSession session(start);
        EXPECT_TRUE(session.MakeForm());
        using K = DemoInput::Kind;
        session.Apply({K::MouseMove, 320, 240});
        session.Frames(3);
        session.Apply({K::MouseDown, 320, 240, 1});
        session.Frames(1);
        session.Apply({K::MouseUp, 320, 240, 1});
        session.Apply({K::KeyDown, 205});
        session.Frames(200);
        session.Apply({K::KeyUp, 205});
        session.Apply({K::KeyDown, 208});
        session.SetTick(5);
        session.Frames(150);
        session.Apply({K::FocusLost});
        session.Apply({K::Foreground, 0});
        session.Frames(20);
        session.Apply({K::FocusGained});
        session.Apply({K::Foreground, 1});
        session.Frames(20);
        const std::string final = StateJson::Final(session.Form(), session.Frame(), ScreenHash::OfForm(session.Form()));
        // The screen the headless platform was shown is the display's screen.
        EXPECT_EQ(session.ScreenHashNow(), ScreenHash::OfForm(session.Form()));
        EXPECT_TRUE(session.CloseDemo());
        return final;
    }

    std::string Replay(const std::string& demoFile) {
        const Demo demo = DemoReader::ReadFile(demoFile);
        DemoPlayer player(nullptr, demo);
        EXPECT_TRUE(player.MakeForm());
        player.Play(false);
        EXPECT_FALSE(player.EndedEarly());
        return player.FinalState();
    }

    ScratchFolder folder;
};

TEST_F(RecordReplayTest, APlaybackEndsInTheStateOfTheRecording) {
    folder.Write("1.vrk", OpenLevel());
    const std::string demo = (folder.Path() / "game.vkd").string();
    const std::string recorded = RecordGame(demo);
    EXPECT_NE(recorded.find("\"GameState\":1"), std::string::npos) << recorded;
    EXPECT_EQ(Replay(demo), recorded);
    // The demo kept what the game read: the level file's digest, the keys and the focus.
    const std::string text = ReadAll(demo);
    EXPECT_NE(text.find("level 1.vrk 352 "), std::string::npos);
    EXPECT_NE(text.find("k+205"), std::string::npos);
    EXPECT_NE(text.find("fout a0"), std::string::npos);
    // Input-free frames are kept as runs (a flush every few seconds may split one).
    std::istringstream lines(text);
    bool run = false;
    for (std::string line; std::getline(lines, line);) {
        run = run || (line.starts_with("r ") && line.ends_with(" 5"));
    }
    EXPECT_TRUE(run);
}

TEST_F(RecordReplayTest, SlowFlipGamesReplayToo) {
    folder.Write("1.vrk", OpenLevel());
    const std::string demo = (folder.Path() / "slow.vkd").string();
    const std::string recorded = RecordGame(demo, {"-sf"});
    EXPECT_EQ(Replay(demo), recorded);
}

TEST_F(RecordReplayTest, AChangedLevelFileIsNamed) {
    folder.Write("1.vrk", OpenLevel());
    const std::string demo = (folder.Path() / "game.vkd").string();
    RecordGame(demo);
    const Demo read = DemoReader::ReadFile(demo);
    EXPECT_TRUE(LevelDigests::Differing(read).empty());
    std::string changed = OpenLevel();
    changed[100] = 1;
    folder.Write("1.vrk", changed);
    EXPECT_EQ(LevelDigests::Differing(read), std::vector<std::string>{"1.vrk"});
    folder.Write("1.vrk", OpenLevel() + "more");
    EXPECT_TRUE(LevelDigests::Differing(read).empty()); // the game reads no more than the record
    std::filesystem::remove(folder.Path() / "1.vrk");
    EXPECT_EQ(LevelDigests::Differing(read), std::vector<std::string>{"1.vrk"});
}

TEST_F(RecordReplayTest, ALevelFileAbsentFromTheRecordingIsNamedOnceItExists) {
    // The game plays on without the file; a replay where it exists would play another level.
    const std::string demo = (folder.Path() / "none.vkd").string();
    RecordGame(demo);
    const Demo read = DemoReader::ReadFile(demo);
    EXPECT_TRUE(LevelDigests::Differing(read).empty());
    folder.Write("1.vrk", OpenLevel());
    EXPECT_EQ(LevelDigests::Differing(read), std::vector<std::string>{"1.vrk"});
}

TEST(ScreenHashTest, IsFnv1a64) {
    EXPECT_EQ(ScreenHash::Of({}), 0xcbf29ce484222325ull);
    const uint8_t a[] = {'a'};
    EXPECT_EQ(ScreenHash::Of(a), 0xaf63dc4c8601ec8cull);
    const uint8_t foobar[] = {'f', 'o', 'o', 'b', 'a', 'r'};
    EXPECT_EQ(ScreenHash::Of(foobar), 0x85944171f73967e8ull);
}

TEST(LevelDigestsTest, AreXxHash64) {
    EXPECT_EQ(LevelDigests::Of({}), 0xef46db3751d8e999ull);
}

} // namespace
