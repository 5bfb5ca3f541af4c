#include "demo/ScriptedPlatform.h"

#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

namespace {

// A window whose event source keeps answering: every poll brings another closed window.
class EndlessQuits : public ForwardingPlatform {
public:
    explicit EndlessQuits(platform::Platform& inner) : ForwardingPlatform(inner) {}
    bool PollEvent(platform::Event& event) override {
        ++Polls;
        event = platform::Event{platform::Event::Type::Quit};
        return true;
    }
    long Polls = 0;
};

TEST(ScriptedPlatformTest, AClosedWindowIsDeliveredOnceAndASourceThatKeepsAnsweringCannotHoldAPoll) {
    platform::HeadlessPlatform headless;
    EndlessQuits window(headless);
    ScriptedPlatform scripted(window, {}, 0, true);
    scripted.Apply(DemoInput{DemoInput::Kind::MouseMove, 1, 2});
    platform::Event event;
    ASSERT_TRUE(scripted.PollEvent(event));
    EXPECT_EQ(event.Kind, platform::Event::Type::Quit);
    EXPECT_TRUE(scripted.WindowClosed());
    // Afterwards nothing more: neither the quit again nor the script's dropped events.
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(scripted.PollEvent(event));
    }
    EXPECT_LT(window.Polls, 1000);
}

} // namespace
