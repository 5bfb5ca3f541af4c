#include "platform/app/StopSignal.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

using namespace platform;

TEST(StopSignal, RecordsTheSignalInsteadOfDying) {
    StopSignal::Install();
    StopSignal::Clear();
    std::raise(SIGTERM);
    EXPECT_EQ(StopSignal::Received(), SIGTERM);
    StopSignal::Clear();
    std::raise(SIGINT);
    EXPECT_EQ(StopSignal::Received(), SIGINT);
    StopSignal::Clear();
    StopSignal::ReRaise(); // nothing received: returns
}

TEST(StopSignal, AHangUpStopsTooAndIsTakenAsAQuitOnce) {
    StopSignal::Install();
    StopSignal::Clear();
    EXPECT_FALSE(StopSignal::TakeQuit());
    std::raise(SIGHUP);
    EXPECT_EQ(StopSignal::Received(), SIGHUP);
    EXPECT_TRUE(StopSignal::TakeQuit());
    EXPECT_FALSE(StopSignal::TakeQuit());
    StopSignal::Clear();
}

TEST(StopSignal, ReRaiseEndsTheProcessByTheSignalReceived) {
    EXPECT_EXIT(
        {
            StopSignal::Install();
            std::raise(SIGTERM);
            StopSignal::ReRaise();
            std::exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
}
