#include "app/ProgramFixture.h"

#include <thread>

namespace {

class SimProgramTest : public ProgramFixture {};

TEST_F(SimProgramTest, AScriptThatIsNoRegularFileIsRefusedAtOnce) {
    ASSERT_EQ(::mkfifo(File("pipe").c_str(), 0600), 0);
    for (const std::string& script : {File(""), File("pipe"), std::string("/dev/zero")}) {
        auto child = Start("odd", {kSim, script});
        const auto status = child->Wait(std::chrono::seconds(1));
        ASSERT_TRUE(status.has_value()) << script << " still read after 1 s";
        EXPECT_EQ(ExitCode(*status), 1) << script;
        EXPECT_NE(Err("odd").find("cannot open: not a regular file"), std::string::npos) << Err("odd");
    }
}

TEST_F(SimProgramTest, AStopSignalEndsTheRunSoonWithItsDemoClosed) {
    Write("long.sim", "frames 4294967295\n");
    struct Run {
        std::string Name;
        int Signal;
    };
    const Run runs[] = {{"int", SIGINT}, {"term", SIGTERM}, {"hup", SIGHUP}};
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (const Run& run : runs) {
        children.push_back(Start(run.Name, {kSim, "--to-demo", File(run.Name + ".vkd"), File("long.sim")}));
    }
    std::this_thread::sleep_for(kStartUp);
    for (std::size_t i = 0; i < children.size(); ++i) {
        ExpectStopsBy(*children[i], runs[i].Signal, runs[i].Name);
        const std::string demo = ReadAll(File(runs[i].Name + ".vkd"));
        EXPECT_NE(demo.find(" q\nend "), std::string::npos) << runs[i].Name;
        EXPECT_NE(Out(runs[i].Name).find("{\"terminated\": true}"), std::string::npos) << runs[i].Name;
    }
}

TEST_F(SimProgramTest, ADemoTargetIsNeverEmptyNorAnExistingFileUnlessForced) {
    Write("short.sim", "frames 3\n");
    EXPECT_EQ(ExitCode(Run("empty", {kSim, "--to-demo", "", File("short.sim")})), 2);
    Write("old.vkd", "keep me\n");
    EXPECT_EQ(ExitCode(Run("refused", {kSim, "--to-demo", File("old.vkd"), File("short.sim")})), 1);
    EXPECT_NE(Err("refused").find("old.vkd: already exists"), std::string::npos) << Err("refused");
    EXPECT_EQ(ReadAll(File("old.vkd")), "keep me\n");
    EXPECT_EQ(ExitCode(Run("forced", {kSim, "--force", "--to-demo", File("old.vkd"), File("short.sim")})), 0);
    EXPECT_NE(ReadAll(File("old.vkd")).find("end 3\n"), std::string::npos);
}

// --help, and any message of the command line or the script, is in the language of the
// environment, or of --lang wherever it stands before "--".
TEST_F(SimProgramTest, ItsMessagesAreInTheLanguageTheEnvironmentOrLangAsksFor) {
    struct Case {
        std::string Name;
        Environment Set;
        std::vector<std::string> Options;
        std::string Words;
    };
    const Case cases[] = {
        {"nothing-set", {}, {}, "usage: vorkalith-sim"},
        {"lang-c", {{"LANG", "C"}}, {}, "usage: vorkalith-sim"},
        {"english", {{"LANGUAGE", "en"}}, {}, "usage: vorkalith-sim"},
        {"russian", {{"LANGUAGE", "ru"}}, {}, "использование: vorkalith-sim"},
        {"locale-not-installed", {{"LANG", "ru_RU.UTF-8"}}, {}, "использование: vorkalith-sim"},
        {"option", {{"LANGUAGE", "en"}}, {"--lang", "ru"}, "использование: vorkalith-sim"},
        {"option-source", {{"LANGUAGE", "ru"}}, {"--lang=C"}, "usage: vorkalith-sim"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {kSim};
        arguments.insert(arguments.end(), c.Options.begin(), c.Options.end());
        arguments.push_back("--help");
        EXPECT_EQ(ExitCode(Run(c.Name, arguments, RLIM_INFINITY, Languages(c.Set))), 0) << c.Name;
        EXPECT_TRUE(Out(c.Name).starts_with(c.Words)) << c.Name << ":\n" << Out(c.Name);
    }
    // A usage error before --lang is told in its language all the same.
    EXPECT_EQ(ExitCode(Run("bad", {kSim, "--bogus", "--lang", "ru"})), 2);
    EXPECT_NE(Err("bad").find("vorkalith-sim: неизвестный параметр '--bogus'\nиспользование:"), std::string::npos)
        << Err("bad");
    // So is a bad line of the script, with the words of the script as they are.
    Write("bad.sim", "frames 3\nframes x\n");
    EXPECT_EQ(ExitCode(Run("script", {kSim, File("bad.sim")}, RLIM_INFINITY, Languages({{"LANGUAGE", "ru"}}))), 2);
    EXPECT_NE(Err("script").find("bad.sim:2: неверное число кадров \"x\""), std::string::npos) << Err("script");
    EXPECT_EQ(Out("script"), "");
}

} // namespace
