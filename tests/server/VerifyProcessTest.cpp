// The limits a verifying child runs under, with small shell scripts standing in for the server's
// child mode (they are given the same arguments and ignore them).
#include "server/VerifyProcess.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class VerifyProcessTest : public ::testing::Test {
protected:
    std::string Script(const std::string& body) {
        const std::filesystem::path path =
            std::filesystem::temp_directory_path() /
            ("vorkalith-child-" + std::to_string(::getpid()) + "-" + std::to_string(scripts_.size()) + ".sh");
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        scripts_.push_back(path);
        return path.string();
    }
    void TearDown() override {
        for (const auto& path : scripts_) {
            std::filesystem::remove(path);
        }
    }
    std::vector<std::filesystem::path> scripts_;
};

TEST_F(VerifyProcessTest, TheChildReadsTheDemoFromMemoryAndItsOutputComesBack) {
    const ChildOutcome outcome = VerifyProcess::Run(Script("exec cat /proc/self/fd/3"), ".", "vorkalith-demo 2\n", {});
    ASSERT_TRUE(outcome.Started) << outcome.Failure;
    EXPECT_EQ(outcome.Output, "vorkalith-demo 2\n");
    EXPECT_TRUE(WIFEXITED(outcome.WaitStatus) && WEXITSTATUS(outcome.WaitStatus) == 0);
}

TEST_F(VerifyProcessTest, AChildOverItsProcessorTimeIsEndedByTheKernel) {
    const ChildOutcome outcome = VerifyProcess::Run(Script("while :; do :; done"), ".", "", {1, 10, 256 << 20});
    ASSERT_TRUE(WIFSIGNALED(outcome.WaitStatus));
    EXPECT_TRUE(WTERMSIG(outcome.WaitStatus) == SIGXCPU || WTERMSIG(outcome.WaitStatus) == SIGKILL);
    EXPECT_FALSE(outcome.TimedOut);
}

TEST_F(VerifyProcessTest, AChildOverItsClockTimeIsKilled) {
    const auto start = std::chrono::steady_clock::now();
    const ChildOutcome outcome = VerifyProcess::Run(Script("exec sleep 30"), ".", "", {10, 1, 256 << 20});
    EXPECT_TRUE(outcome.TimedOut);
    EXPECT_TRUE(WIFSIGNALED(outcome.WaitStatus) && WTERMSIG(outcome.WaitStatus) == SIGKILL);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_F(VerifyProcessTest, AChildThatWritesWithoutEndIsCutOff) {
    const ChildOutcome outcome = VerifyProcess::Run(Script("exec yes"), ".", "", {10, 10, 256 << 20});
    EXPECT_TRUE(outcome.OutputCut);
    EXPECT_LE(outcome.Output.size(), VerifyProcess::kMaxOutput);
}

} // namespace
