#include "game/CommandLine.h"

#include <gtest/gtest.h>

namespace {
CommandLine Parsed(const std::vector<std::string>& args) {
    CommandLine c;
    std::string error;
    EXPECT_TRUE(c.Parse(args, error)) << error;
    return c;
}

std::string Refusal(const std::vector<std::string>& args) {
    CommandLine c;
    std::string error;
    EXPECT_FALSE(c.Parse(args, error));
    return error;
}
} // namespace

TEST(CommandLine, NoArgumentsMeansDefaults) {
    const CommandLine c = Parsed({});
    EXPECT_FALSE(c.Help || c.Version || c.SlowFlip || c.Window || c.IntegerScale || c.Headless || c.Force);
    EXPECT_TRUE(c.LevelsDir.empty() && c.RecordFile.empty() && c.PlaybackFile.empty());
}

TEST(CommandLine, SlowFlipCountsOnlyAsTheFirstArgument) {
    EXPECT_TRUE(Parsed({"-sf"}).SlowFlip);
    EXPECT_TRUE(Parsed({"-sf", "--window"}).SlowFlip);
    // Accepted elsewhere, as before, but without effect; the capital form is not the switch.
    EXPECT_FALSE(Parsed({"--window", "-sf"}).SlowFlip);
    EXPECT_FALSE(Refusal({"-SF"}).empty());
}

TEST(CommandLine, TheOptionsScreensDashFIsAcceptedAndIgnored) {
    const CommandLine c = Parsed({"-f"});
    EXPECT_FALSE(c.SlowFlip);
}

TEST(CommandLine, FlagsAndValuesInBothSpellings) {
    const CommandLine c = Parsed({"--window", "--integer-scale", "--levels", "/x/levels", "--record=a.demo"});
    EXPECT_TRUE(c.Window);
    EXPECT_TRUE(c.IntegerScale);
    EXPECT_EQ(c.LevelsDir, "/x/levels");
    EXPECT_EQ(c.RecordFile, "a.demo");
    const CommandLine p = Parsed({"--playback", "b.demo", "--headless", "--force", "--levels=rel"});
    EXPECT_EQ(p.PlaybackFile, "b.demo");
    EXPECT_TRUE(p.Headless && p.Force);
    EXPECT_EQ(p.LevelsDir, "rel");
}

TEST(CommandLine, HelpAndVersion) {
    EXPECT_TRUE(Parsed({"--help"}).Help);
    EXPECT_TRUE(Parsed({"-h"}).Help);
    EXPECT_TRUE(Parsed({"--version"}).Version);
    EXPECT_EQ(CommandLine::VersionLine().rfind("vorkalith ", 0), 0u);
    EXPECT_NE(CommandLine::Usage().find("--levels DIR"), std::string::npos);
}

TEST(CommandLine, UsageErrorsNameTheCulprit) {
    EXPECT_EQ(Refusal({"--big-screen"}), "unknown option '--big-screen'");
    EXPECT_EQ(Refusal({"level1"}), "unexpected argument 'level1'");
    EXPECT_EQ(Refusal({"--levels"}), "option '--levels' needs a value");
    EXPECT_EQ(Refusal({"--levels="}), "option '--levels' needs a value");
    EXPECT_EQ(Refusal({"--record", "a", "--playback", "b"}), "--record and --playback cannot be used together");
    // A prefix of a known option is not that option.
    EXPECT_EQ(Refusal({"--levelsX"}), "unknown option '--levelsX'");
    // What the terminal would obey is shown instead: C0 and (UTF-8) C1 controls; letters pass.
    EXPECT_EQ(Refusal({"--\x1b[31m\xc2\x9bx"}), "unknown option '--\\x1b[31m\\xc2\\x9bx'");
    EXPECT_EQ(Refusal({"уровень\n"}), "unexpected argument 'уровень\\x0a'");
}

TEST(CommandLine, ParseStartsAfresh) {
    CommandLine c = Parsed({"--window"});
    std::string error;
    ASSERT_TRUE(c.Parse({}, error));
    EXPECT_FALSE(c.Window);
}

TEST(CommandLine, VerifyTakesADemoAndDailyStandsAlone) {
    EXPECT_EQ(Parsed({"--verify", "a.vkd", "--levels", "dir"}).VerifyFile, "a.vkd");
    EXPECT_EQ(Parsed({"--verify=b.vkd"}).VerifyFile, "b.vkd");
    const CommandLine daily = Parsed({"--daily", "--record", "c.vkd"});
    EXPECT_TRUE(daily.Daily);
    EXPECT_EQ(daily.RecordFile, "c.vkd");
    EXPECT_EQ(Refusal({"--verify"}), "option '--verify' needs a value");
    EXPECT_EQ(Refusal({"--verify", "a", "--playback", "b"}),
              "--verify cannot be used with --record, --playback or --daily");
    EXPECT_EQ(Refusal({"--verify", "a", "--daily"}), "--verify cannot be used with --record, --playback or --daily");
    EXPECT_NE(Refusal({"--daily", "--playback", "b"}).find("--daily cannot be used with --playback"),
              std::string::npos);
}

TEST(CommandLine, SubmitNeedsAServerAndANameNeedsSubmit) {
    const CommandLine c = Parsed({"--submit", "run.vkd", "--server=http://127.0.0.1:8080", "--name", "Аня"});
    EXPECT_EQ(c.SubmitFile, "run.vkd");
    EXPECT_EQ(c.ServerUrl, "http://127.0.0.1:8080");
    EXPECT_EQ(c.PlayerName, "Аня");
    EXPECT_EQ(Refusal({"--submit", "run.vkd"}), "--submit needs --server URL");
    EXPECT_EQ(Refusal({"--name", "Аня"}), "--name needs --submit");
}

TEST(CommandLine, TheRecordsAreAskedForAlone) {
    EXPECT_TRUE(Parsed({"--scores", "--json"}).Json);
    EXPECT_EQ(Parsed({"--watch", "3", "--headless", "--levels", "dir"}).Watch, 3);
    EXPECT_EQ(Parsed({"--watch=10", "--window"}).Watch, 10);
    EXPECT_TRUE(Parsed({"--fullscreen"}).FullScreen);
    EXPECT_EQ(Refusal({"--json"}), "--json needs --scores");
    EXPECT_NE(Refusal({"--watch", "0"}).find("needs the number of a run"), std::string::npos);
    EXPECT_NE(Refusal({"--watch", "-1"}).find("needs the number of a run"), std::string::npos);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--scores", "--watch", "1"}, {"--scores", "--daily"}, {"--watch", "1", "--record", "a"}}) {
        EXPECT_NE(Refusal(args).find("are used alone"), std::string::npos) << args[1];
    }
    EXPECT_EQ(Refusal({"--window", "--fullscreen"}), "--window and --fullscreen cannot be used together");
}
