#pragma once

#include "game/ScratchFolder.h"
#include "support/ChildProcess.h"
#include "support/FileText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

// The programs of the build, run from the folder of the level files, with their demos and
// output in a scratch folder, in the source language unless a test names another.
class ProgramFixture : public ::testing::Test {
protected:
    using Environment = std::vector<std::pair<std::string, std::string>>;
    // A stop takes a frame and the demo's last lines, milliseconds; the limit leaves room for a
    // machine loaded by parallel tests (2 s were seen) and still fails a program that runs on
    // towards the end of its run. Sanitized builds tear down several times slower.
#ifdef VK_SANITIZED
    static constexpr std::chrono::milliseconds kStopLimit{5000};
    static constexpr std::chrono::milliseconds kStartUp{8000};
#else
    static constexpr std::chrono::milliseconds kStopLimit{3000};
    // Generous, for a loaded machine: by then every program is in its frame loop.
    static constexpr std::chrono::milliseconds kStartUp{2500};
#endif
    static inline const std::string kGame = VK_GAME;
    static inline const std::string kSim = VK_SIM;

    // A demo of 2^31 - 1 frames without input: days of headless playback.
    static std::string EndlessDemo() {
        return "vorkalith-demo 1\nutc 09:15:00.000\nclock 4000\nforeground 1\nr 2147483647 16\nend 2147483647\n";
    }

    // Where the programs run: the folder of their level files.
    std::string programFolder = VK_RUN_DIR;

    // The variables gettext reads, all unset but those given.
    static Environment Languages(const Environment& set) {
        Environment all = {{"LANGUAGE", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", ""}};
        all.insert(all.end(), set.begin(), set.end());
        return all;
    }

    std::string File(const std::string& name) const {
        return (folder_.Path() / name).string();
    }
    void Write(const std::string& name, const std::string& text) {
        folder_.Write(name, text);
    }

    // Starts a program with the dummy video driver, output into NAME.out and NAME.err.
    // `environment` adds to or replaces the test's own variables (an empty value counts as unset).
    std::unique_ptr<ChildProcess> Start(const std::string& name, const std::vector<std::string>& arguments,
                                        rlim_t fileSizeLimit = RLIM_INFINITY, const Environment& environment = {}) {
        ChildProcess::Options options;
        options.Folder = programFolder;
        // The player's settings and runs stay in the scratch folder.
        options.Env = {{"SDL_VIDEODRIVER", "dummy"},
                       {"SDL_AUDIODRIVER", "dummy"},
                       {"XDG_DATA_HOME", File("data")},
                       {"XDG_CONFIG_HOME", File("config")}};
        const Environment source = Languages({});
        options.Env.insert(options.Env.end(), source.begin(), source.end());
        options.Env.insert(options.Env.end(), environment.begin(), environment.end());
        options.Stdout = File(name + ".out");
        options.Stderr = File(name + ".err");
        options.FileSizeLimit = fileSizeLimit;
        return std::make_unique<ChildProcess>(arguments, options);
    }

    // Runs a program to its end (failing the test after 20 s); its wait status.
    int Run(const std::string& name, const std::vector<std::string>& arguments, rlim_t fileSizeLimit = RLIM_INFINITY,
            const Environment& environment = {}) {
        auto child = Start(name, arguments, fileSizeLimit, environment);
        const auto status = child->Wait(std::chrono::seconds(20));
        EXPECT_TRUE(status.has_value()) << name << " did not end";
        return status.value_or(-1);
    }

    std::string Err(const std::string& name) const {
        return ReadAll(File(name + ".err"));
    }
    std::string Out(const std::string& name) const {
        return ReadAll(File(name + ".out"));
    }

    static int ExitCode(int status) {
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Sends `signal` and checks that the program ends by it within kStopLimit.
    static void ExpectStopsBy(ChildProcess& child, int signal, const std::string& what) {
        ASSERT_FALSE(child.Wait(std::chrono::milliseconds(0)).has_value()) << what << " ended before the signal";
        const auto sent = std::chrono::steady_clock::now();
        child.Signal(signal);
        const auto status = child.Wait(std::chrono::seconds(10));
        ASSERT_TRUE(status.has_value()) << what << " did not stop for signal " << signal;
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == signal) << what << ": wait status " << *status;
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(child.Ended() - sent);
        EXPECT_LE(took.count(), kStopLimit.count()) << what << " took " << took.count() << " ms to stop";
    }

private:
    ScratchFolder folder_;
};
