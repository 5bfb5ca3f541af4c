#include "platform/inputmap/KeyRemap.h"

#include <gtest/gtest.h>

namespace {

using platform::KeyRemap;
using platform::KeyState;
constexpr int kLeft = 203, kRight = 205, kKeyA = 30, kKeyD = 32, kKeyP = 25;

KeyState Keys(std::initializer_list<int> held) {
    KeyState keys{};
    for (int key : held) {
        keys[static_cast<std::size_t>(key)] = 0x80;
    }
    return keys;
}

KeyState Remapped(const KeyRemap& remap, std::initializer_list<int> held) {
    KeyState keys = Keys(held);
    remap.Apply(keys);
    return keys;
}

TEST(KeyRemapTest, ABoundKeyHoldsItsTargetInsteadOfItself) {
    KeyRemap remap;
    remap.Bind(kLeft, {kKeyA, kLeft});
    remap.Bind(kRight, {kKeyD});
    EXPECT_EQ(Remapped(remap, {kKeyA}), Keys({kLeft}));
    EXPECT_EQ(Remapped(remap, {kLeft}), Keys({kLeft}));
    // The right arrow is bound away; other keys pass as they are.
    EXPECT_EQ(Remapped(remap, {kRight, kKeyP}), Keys({kKeyP}));
    EXPECT_EQ(Remapped(remap, {kKeyD}), Keys({kRight}));
}

TEST(KeyRemapTest, TwoTargetsMaySwapKeysAndAnEmptyListHoldsNothing) {
    KeyRemap swap;
    swap.Bind(kLeft, {kRight});
    swap.Bind(kRight, {kLeft});
    EXPECT_EQ(Remapped(swap, {kLeft}), Keys({kRight}));
    KeyRemap none;
    none.Bind(kLeft, {});
    EXPECT_EQ(Remapped(none, {kLeft, kKeyA}), Keys({kKeyA}));
    EXPECT_TRUE(KeyRemap().Empty());
}

} // namespace
