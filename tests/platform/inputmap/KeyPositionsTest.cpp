#include "platform/inputmap/KeyPositions.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace platform;

TEST(KeyPositions, WebNamesAndUsageNumbersOfTheSameKeyAgree) {
    // USB usage number and web name of keys across the board: letters, digits, arrows, keypad,
    // modifiers and the extended keys that sit 128 above a shared code.
    const std::map<std::string, int> usageOf = {
        {"KeyA", 4},         {"KeyZ", 29},           {"Digit1", 30},       {"Digit0", 39},        {"Enter", 40},
        {"Escape", 41},      {"Space", 44},          {"F1", 58},           {"F10", 67},           {"F12", 69},
        {"ArrowRight", 79},  {"ArrowLeft", 80},      {"ArrowDown", 81},    {"ArrowUp", 82},       {"NumpadDivide", 84},
        {"NumpadEnter", 88}, {"Numpad0", 98},        {"ControlLeft", 224}, {"ControlRight", 228}, {"AltRight", 230},
        {"MetaRight", 231},  {"IntlBackslash", 100}, {"ContextMenu", 101}};
    for (const auto& [name, usage] : usageOf) {
        EXPECT_NE(KeyPositionForCodeName(name), 0) << name;
        EXPECT_EQ(KeyPositionForCodeName(name), KeyPositionForUsage(usage)) << name;
    }
}

TEST(KeyPositions, TheKeysTheGamePollsByWebName) {
    EXPECT_EQ(KeyPositionForCodeName("Escape"), 1);
    EXPECT_EQ(KeyPositionForCodeName("ArrowUp"), 200);
    EXPECT_EQ(KeyPositionForCodeName("ArrowLeft"), 203);
    EXPECT_EQ(KeyPositionForCodeName("ArrowRight"), 205);
    EXPECT_EQ(KeyPositionForCodeName("ArrowDown"), 208);
    EXPECT_EQ(KeyPositionForCodeName("Enter"), 28);
    EXPECT_EQ(KeyPositionForCodeName("Space"), 57);
    // Both spellings of the system keys.
    EXPECT_EQ(KeyPositionForCodeName("OSLeft"), KeyPositionForCodeName("MetaLeft"));
    EXPECT_EQ(KeyPositionForCodeName("OSRight"), KeyPositionForCodeName("MetaRight"));
}

TEST(KeyPositions, UnknownNamesAndNumbersHaveNoPosition) {
    EXPECT_EQ(KeyPositionForCodeName(""), 0);
    EXPECT_EQ(KeyPositionForCodeName("keya"), 0); // names are case-sensitive
    EXPECT_EQ(KeyPositionForCodeName("KeyA "), 0);
    EXPECT_EQ(KeyPositionForCodeName("Lang1"), 0);
    EXPECT_EQ(KeyPositionForUsage(0), 0);
    EXPECT_EQ(KeyPositionForUsage(-1), 0);
    EXPECT_EQ(KeyPositionForUsage(256), 0);
    EXPECT_EQ(KeyPositionForUsage(1 << 30), 0);
}
