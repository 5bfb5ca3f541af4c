#include "app/ProgramFixture.h"

#include <thread>

namespace {

class GameProgramTest : public ProgramFixture {};

TEST_F(GameProgramTest, EveryModeEndsSoonAfterAStopSignalByThatSignalWithItsRecordingClosed) {
    Write("endless.vkd", EndlessDemo());
    const std::string demo = File("endless.vkd");
    struct Mode {
        std::string Name;
        std::vector<std::string> Arguments;
        int Signal;
    };
    // The busy headless playbacks go first, so that the others are timed on a quieter machine.
    const Mode modes[] = {
        {"headless-int", {kGame, "--playback", demo, "--headless"}, SIGINT},
        {"headless-term", {kGame, "--playback", demo, "--headless"}, SIGTERM},
        {"window-int", {kGame, "--window", "--playback", demo}, SIGINT},
        {"window-term", {kGame, "--window", "--playback", demo}, SIGTERM},
        {"game-term", {kGame, "--window"}, SIGTERM},
        {"record-hup", {kGame, "--window", "--record", File("recorded.vkd")}, SIGHUP},
    };
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (const Mode& mode : modes) {
        children.push_back(Start(mode.Name, mode.Arguments));
    }
    std::this_thread::sleep_for(kStartUp);
    for (std::size_t i = 0; i < children.size(); ++i) {
        ExpectStopsBy(*children[i], modes[i].Signal, modes[i].Name);
        EXPECT_EQ(Err(modes[i].Name), "") << modes[i].Name;
    }
    // The recording has its end line and the stop as a closed window, and plays back.
    const std::string recorded = ReadAll(File("recorded.vkd"));
    ASSERT_NE(recorded.find(" q\nend "), std::string::npos)
        << recorded.substr(recorded.size() - std::min<std::size_t>(recorded.size(), 200));
    EXPECT_EQ(ExitCode(Run("replay", {kGame, "--playback", File("recorded.vkd"), "--headless"})), 0) << Err("replay");
}

TEST_F(GameProgramTest, ARecordingNeverTakesAnExistingFileOrAFifo) {
    Write("old.vkd", EndlessDemo());
    const std::string old = File("old.vkd");
    EXPECT_EQ(ExitCode(Run("again", {kGame, "--window", "--record", old})), 1);
    EXPECT_NE(Err("again").find("old.vkd: already exists (--force replaces it)"), std::string::npos) << Err("again");
    EXPECT_EQ(ReadAll(old), EndlessDemo());
    ASSERT_EQ(::mkfifo(File("pipe").c_str(), 0600), 0);
    EXPECT_EQ(ExitCode(Run("fifo", {kGame, "--window", "--record", File("pipe")})), 1);
    EXPECT_NE(Err("fifo").find("pipe: not a regular file"), std::string::npos) << Err("fifo");
}

TEST_F(GameProgramTest, ARecordingThatFillsTheDiskPlaysWithForceUpToItsLastWholeFrame) {
    // The simulator records through the same writer; the file may not grow past 4 KiB.
    std::string script = "frames 2\n";
    for (int i = 0; i < 400; ++i) {
        script += "mouse " + std::to_string(100 + i % 300) + " 200\nframes 1\n";
    }
    Write("fill.sim", script);
    const int status = Run("fill", {kSim, "--to-demo", File("full.vkd"), File("fill.sim")}, 4096);
    EXPECT_EQ(ExitCode(status), 1);
    EXPECT_NE(Err("fill").find("full.vkd: cannot write: File too large; the demo is cut short there"),
              std::string::npos)
        << Err("fill");
    const std::string text = ReadAll(File("full.vkd"));
    ASSERT_GT(text.size(), 3000u);
    ASSERT_EQ(text.back(), '\n');
    // The frames of its whole lines: one a frame line, N a repeat line.
    std::size_t frames = 0;
    for (std::size_t at = text.find('\n'); at + 1 < text.size(); at = text.find('\n', at + 1)) {
        frames += text.compare(at + 1, 2, "f ") == 0   ? 1
                  : text.compare(at + 1, 2, "r ") == 0 ? std::stoul(text.substr(at + 3))
                                                       : 0;
    }
    EXPECT_EQ(ExitCode(Run("refused", {kGame, "--playback", File("full.vkd"), "--headless"})), 1);
    EXPECT_NE(Err("refused").find("cut short"), std::string::npos) << Err("refused");
    EXPECT_EQ(ExitCode(Run("forced", {kGame, "--playback", File("full.vkd"), "--headless", "--force"})), 0)
        << Err("forced");
    EXPECT_NE(Out("forced").find("{\"Frames\":" + std::to_string(frames) + ","), std::string::npos)
        << Out("forced") << " for " << frames << " frames";
}

TEST_F(GameProgramTest, ControlCharactersOfADemoAreEscapedInItsMessages) {
    Write("evil.vkd", "vorkalith-demo 1\nutc 09:15:00.000\nclock 4000\nforeground 1\nf 16 k+\x1b]0;owned\x07\nend 1\n");
    EXPECT_EQ(ExitCode(Run("evil", {kGame, "--playback", File("evil.vkd"), "--headless"})), 1);
    const std::string err = Err("evil");
    EXPECT_NE(err.find("bad input \"k+\\x1b]0;owned\\x07\""), std::string::npos) << err;
    EXPECT_EQ(err.find('\x1b'), std::string::npos);
    EXPECT_EQ(ExitCode(Run("option", {kGame, "--\x1b[2J"})), 2);
    EXPECT_EQ(Err("option").find('\x1b'), std::string::npos);
}

} // namespace
