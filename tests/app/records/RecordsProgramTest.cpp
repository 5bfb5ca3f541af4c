#include "app/ProgramFixture.h"

#include <algorithm>
#include <regex>
#include <sstream>

namespace {

class RecordsProgramTest : public ProgramFixture {
protected:
    // The lines of a program's output.
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    // A number a state line holds.
    static long long Value(const std::string& line, const std::string& key) {
        std::smatch match;
        EXPECT_TRUE(std::regex_search(line, match, std::regex("\"" + key + "\":(-?[0-9]+)"))) << line;
        return match.empty() ? 0 : std::stoll(match[1]);
    }
    static std::vector<std::string> Fields(const std::string& line) {
        std::vector<std::string> fields;
        std::istringstream in(line);
        for (std::string field; std::getline(in, field, '\t');) {
            fields.push_back(field);
        }
        return fields;
    }
    // A click on the menu's first item, "Старт", once the title rests.
    static std::string StartGame(int wait) {
        return "mouse 320 240\nframes " + std::to_string(wait) + "\nbutton down\nframes 1\nbutton up\n";
    }
    static std::string Escape() { return "key esc down\nframes 1\nkey esc up\n"; }
};

TEST_F(RecordsProgramTest, ASessionOfThreeGamesIsListedBestFirstAndItsBestRunPlaysAgain) {
#ifdef VK_SANITIZED
    GTEST_SKIP() << "some 50,000 frames, left to the Release build";
#endif
    // On the one-cell levels the first game runs through all 24 levels to the end screen.
    programFolder = VK_SHORT_LEVELS_DIR;
    Write("three.sim", "utc 09:15:00.132\n" + StartGame(2) + "frames 23300\nstate\n" + Escape() + "frames 10\n" +
                           StartGame(120) + "frames 900\nstate\n" + Escape() + StartGame(120) + "frames 300\nstate\n");
    ASSERT_EQ(ExitCode(Run("sim", {kSim, "--record-runs", File("three.sim")})), 0) << Err("sim");
    EXPECT_EQ(Err("sim"), "");
    const std::vector<std::string> states = Lines(Out("sim"));
    ASSERT_EQ(states.size(), 3u) << Out("sim");
    EXPECT_EQ(Value(states[0], "GameState"), 5);
    EXPECT_EQ(Value(states[0], "Level"), 25);

    ASSERT_EQ(ExitCode(Run("scores", {kGame, "--scores"})), 0) << Err("scores");
    const std::vector<std::string> rows = Lines(Out("scores"));
    ASSERT_EQ(rows.size(), 3u) << Out("scores");
    std::vector<long long> best;
    for (const std::string& state : states) {
        best.push_back(Value(state, "Score"));
    }
    std::sort(best.rbegin(), best.rend());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::vector<std::string> fields = Fields(rows[i]);
        ASSERT_EQ(fields.size(), 11u) << rows[i];
        EXPECT_EQ(fields[0], std::to_string(i + 1));
        EXPECT_EQ(fields[1], std::to_string(best[i])) << rows[i];
    }
    EXPECT_EQ(Fields(rows[0])[2], "24");
    EXPECT_EQ(Fields(rows[0])[6], "end-screen");

    ASSERT_EQ(ExitCode(Run("json", {kGame, "--scores", "--json"})), 0);
    EXPECT_NE(Out("json").find("\"Rank\": 3"), std::string::npos) << Out("json");

    // The best run played again ends as it was recorded (the program compares the whole line).
    ASSERT_EQ(ExitCode(Run("watch", {kGame, "--watch", "1", "--headless"})), 0) << Err("watch");
    const std::string last = Out("watch");
    EXPECT_EQ(Value(last, "Score"), best[0]);
    EXPECT_EQ(Value(last, "GameState"), 5);
    EXPECT_EQ(Value(last, "Frames"), std::stoll(Fields(rows[0])[10]));
    EXPECT_EQ(ExitCode(Run("none", {kGame, "--watch", "4", "--headless"})), 1);
}

TEST_F(RecordsProgramTest, KeysBoundInTheSettingsSteerAndATypoIsNamedWithItsLine) {
    Write("config/vorkalith/settings.toml", "# WASD\n[keys]\nleft = [\"a\", \"left\"]\nright = [\"d\", \"right\"]\n"
                                            "up = [\"w\", \"up\"]\ndown = [\"s\", \"down\"]\n");
    // A = 30, S = 31, D = 32, W = 17 by key position; the ship turns as the arrows turn it.
    Write("wasd.sim", StartGame(2) + "scankey 32 down\nframes 60\nstate\nscankey 32 up\nscankey 31 down\nframes 60\n"
                                     "state\nscankey 31 up\nscankey 30 down\nframes 60\nstate\n");
    ASSERT_EQ(ExitCode(Run("wasd", {kSim, "--record-runs", File("wasd.sim")})), 0) << Err("wasd");
    EXPECT_EQ(Err("wasd"), "");
    const std::vector<std::string> states = Lines(Out("wasd"));
    ASSERT_EQ(states.size(), 3u);
    EXPECT_EQ(Value(states[0], "Heading"), 2);
    EXPECT_EQ(Value(states[1], "Heading"), 3);
    EXPECT_EQ(Value(states[2], "Heading"), 4);
    // The demo holds the keys as the game read them: it replays the same whatever the settings.
    ASSERT_EQ(ExitCode(Run("replayed", {kGame, "--watch", "1", "--headless"})), 0) << Err("replayed");
    EXPECT_EQ(Value(Out("replayed"), "Frames"), Value(states[2], "Frame"));
    // Without the settings the same keys do nothing.
    ASSERT_EQ(ExitCode(Run("plain", {kSim, File("wasd.sim")})), 0);
    EXPECT_EQ(Value(Lines(Out("plain"))[2], "Heading"), 0);

    Write("config/vorkalith/settings.toml", "window = true\n[keys]\nlfet = [\"a\"]\n");
    Write("short.sim", "frames 3\n");
    ASSERT_EQ(ExitCode(Run("typo", {kSim, "--record-runs", File("short.sim")})), 0);
    EXPECT_EQ(Err("typo"), "vorkalith-sim: settings.toml:3: unknown key 'keys.lfet' (left, right, up, down, "
                           "escape); the default is used\n");
    // The game itself starts with the same warning.
    auto game = Start("game", {kGame});
    std::this_thread::sleep_for(kStartUp);
    game->Signal(SIGTERM);
    game->Wait(std::chrono::seconds(10));
    EXPECT_NE(Err("game").find("vorkalith: settings.toml:3: unknown key 'keys.lfet'"), std::string::npos)
        << Err("game");
}

TEST_F(RecordsProgramTest, AnUnusableDataFolderIsToldOnceAndTheGamePlaysOn) {
    // The data folder is a file: no folder can be made in it.
    Write("data", "not a folder\n");
    Write("game.sim", StartGame(2) + "frames 30\n" + Escape() + "frames 5\nstate\n");
    ASSERT_EQ(ExitCode(Run("sim", {kSim, "--record-runs", File("game.sim")})), 0) << Err("sim");
    EXPECT_EQ(Lines(Err("sim")).size(), 1u) << Err("sim");
    EXPECT_NE(Err("sim").find("this game is not recorded"), std::string::npos) << Err("sim");
    EXPECT_EQ(Lines(Out("sim")).size(), 1u);
    EXPECT_EQ(ReadAll(File("data")), "not a folder\n");
}

} // namespace
