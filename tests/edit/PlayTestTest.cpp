#include "EditorFixture.h"

#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/ScreenHash.h"
#include "demo/StateJson.h"
#include "game/LevelFolder.h"
#include "game/MainForm.h"
#include "level/LevelFiles.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace levels;

namespace {

constexpr int kUp = 200, kLeft = 203, kRight = 205, kDown = 208;

std::string StateOf(const TForm1& form, uint64_t frame) {
    return StateJson::Full(form, frame, ScreenHash::OfForm(form));
}

using PlayTestTest = EditorFixture;

// The play-test records what the game read; the game started from that recording (with its
// --level and the play-test's level folder) goes through the same states, frame by frame.
// With VK_KEEP_PLAYTEST_DEMO=FILE the recording is kept there (tests/demos/make-demos.sh).
TEST_F(PlayTestTest, StateLinesEqualThoseOfTheGameStartedOnTheLevelFileWithTheSameInputs) {
    const Level level = LoadLevelFile(std::string(VK_TESTS_DIR) + "/demos/playtest-level.txt");
    const std::string demoFile = (folder.Path() / "playtest.vkd").string();
    OpenCells(level, 7, demoFile);
    platform.PressKey(key::F5);
    Frames(1);
    platform.ReleaseKey(key::F5);
    ASSERT_NE(session->CurrentPlayTest(), nullptr);

    std::vector<std::string> played;
    const std::pair<int, int> steering[] = {{kLeft, 50}, {kUp, 40}, {0, 20}, {kRight, 90}, {kDown, 60}, {kLeft, 40}};
    for (const auto& [key, frames] : steering) {
        platform.Keys = {};
        if (key != 0) {
            platform.PressKey(key);
        }
        for (int i = 0; i < frames; ++i) {
            Frames(1);
            PlayTest& test = *session->CurrentPlayTest();
            played.push_back(StateOf(test.Form(), test.Frames()));
        }
    }
    EXPECT_EQ(session->CurrentPlayTest()->Form().World.Level, 7);
    EXPECT_NE(played.front(), played.back());
    platform.Keys = {};
    platform.PressKey(key::Esc);
    Frames(1);
    ASSERT_EQ(session->CurrentPlayTest(), nullptr);

    const Demo demo = DemoReader::ReadFile(demoFile);
    EXPECT_EQ(demo.Arguments, (std::vector<std::string>{"--level", "7"}));
    LevelFolder::Use(session->PlayTestFolder());
    std::vector<std::string> replayed;
    {
        DemoPlayer player(nullptr, demo);
        ASSERT_TRUE(player.MakeForm());
        player.Play(false, [&] { replayed.push_back(StateOf(player.Form(), player.Frames())); });
        EXPECT_FALSE(player.EndedEarly());
        EXPECT_EQ(player.Form().World.GameState, 0);
    }
    LevelFolder::Use("");
    if (const char* keep = std::getenv("VK_KEEP_PLAYTEST_DEMO")) {
        std::filesystem::copy_file(demoFile, keep, std::filesystem::copy_options::overwrite_existing);
    }
    // The replay has the Esc frame on top, after which the play-test was over.
    ASSERT_EQ(replayed.size(), played.size() + 1) << "frames";
    for (std::size_t i = 0; i < played.size(); ++i) {
        ASSERT_EQ(played[i], replayed[i]) << "frame " << i + 1;
    }
}

TEST_F(PlayTestTest, EscReturnsToTheEditorWithTheLevelUntouched) {
    Level level = LevelDocument::NewCells();
    level.Set(3, 3, MineRight);
    level.Set(20, 3, Wall);
    OpenCells(level, 12);
    Click({5, 5});
    const Level edited = Cells();
    Press(key::F5);
    ASSERT_NE(session->CurrentPlayTest(), nullptr);
    EXPECT_EQ(session->CurrentPlayTest()->Form().World.Level, 12);
    platform.PressKey(kLeft);
    Frames(100);
    platform.Keys = {};
    platform.PressKey(key::Esc);
    Frames(3);
    EXPECT_EQ(session->CurrentPlayTest(), nullptr);
    EXPECT_FALSE(E().Ended()) << "the Esc that ended the play-test does not end the editor";
    EXPECT_EQ(E().CurrentScreen(), Editor::Screen::Edit);
    platform.Keys = {};
    Frames(2);
    EXPECT_EQ(Cells(), edited);
    EXPECT_TRUE(E().Document().Modified());
    Press(key::Z, {key::ControlLeft});
    EXPECT_EQ(Cells(), level);
}

TEST_F(PlayTestTest, ClosingTheWindowDuringAPlayTestEndsAnEditorWithoutChanges) {
    OpenCells(LevelDocument::NewCells());
    Press(key::F5);
    ASSERT_NE(session->CurrentPlayTest(), nullptr);
    platform.PushEvent(platform::Event{platform::Event::Type::Quit});
    EXPECT_FALSE(Frames(2));
    EXPECT_TRUE(E().Ended());
}

} // namespace
