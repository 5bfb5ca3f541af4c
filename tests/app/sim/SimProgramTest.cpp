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

} // namespace
