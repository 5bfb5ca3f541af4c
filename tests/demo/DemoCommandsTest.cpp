#include "demo/DemoCommands.h"

#include <gtest/gtest.h>

TEST(DemoCommandsTest, ForceGoesWithAPlaybackOrARecordingAndHeadlessWithAPlaybackOnly) {
    EXPECT_EQ(DemoUsageError("d.vkd", true, true), "");
    EXPECT_EQ(DemoUsageError("", false, true, "new.vkd"), "");
    EXPECT_EQ(DemoUsageError("", false, true), "--force needs --playback or --record");
    EXPECT_EQ(DemoUsageError("", true, false, "new.vkd"), "--headless needs --playback");
}
