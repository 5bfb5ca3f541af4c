#include "demo/DemoFrames.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(DemoFramesTest, FramesComeBackByIndexAndInOrderAsTheyWentInWithRunsJoined) {
    using K = DemoInput::Kind;
    std::mt19937 random(7); // 32-bit values
    std::vector<DemoFrame> expected;
    DemoFrames frames;
    for (int i = 0; i < 1000; ++i) {
        DemoFrame frame{
            static_cast<uint32_t>(random() % 3 == 0 ? random() : 16), static_cast<uint32_t>(1 + random() % 3), {}};
        for (uint32_t n = random() % 4; n > 0; --n) {
            const auto kind = static_cast<K>(random() % 10);
            frame.Inputs.push_back({kind, static_cast<int>(random() % 2000000001) - 1000000000,
                                    static_cast<int>(random() % 2000) - 1000, static_cast<int>(random() % 33)});
            // Only the values of its kind are kept.
            DemoInput& input = frame.Inputs.back();
            input.C = kind == K::MouseDown || kind == K::MouseUp ? input.C : 0;
            input.B = kind >= K::MouseMove && kind <= K::MouseUp ? input.B : 0;
            input.A = kind <= K::MouseUp || kind == K::Foreground ? input.A : 0;
        }
        frames.push_back(frame);
        // A frame without input after one with the same clock step only adds to its repeats.
        if (frame.Inputs.empty() && !expected.empty() && expected.back().Inputs.empty() &&
            expected.back().Delta == frame.Delta) {
            expected.back().Repeat += frame.Repeat;
        } else {
            expected.push_back(frame);
        }
    }
    ASSERT_EQ(frames.size(), expected.size());
    uint64_t count = 0;
    std::size_t index = 0;
    for (const DemoFrame& frame : frames) {
        EXPECT_EQ(frame, expected[index]) << index;
        EXPECT_EQ(frames[index], expected[index]) << index;
        count += frame.Repeat;
        ++index;
    }
    EXPECT_EQ(index, expected.size());
    EXPECT_EQ(frames.FrameCount(), count);
}

} // namespace
