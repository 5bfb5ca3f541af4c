#include "demo/HeadlessSession.h"
#include "demo/JsonText.h"
#include "game/MainForm.h"

#include "game/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The keys of a JSON object's top level, in order.
std::vector<std::string> TopLevelKeys(const std::string& json) {
    std::vector<std::string> keys;
    int depth = 0;
    bool inString = false;
    std::string current;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') {
                current += json[++i];
            } else if (c == '"') {
                inString = false;
                if (depth == 1 && i + 1 < json.size() && json[i + 1] == ':') {
                    keys.push_back(current);
                }
            } else {
                current += c;
            }
        } else if (c == '"') {
            inString = true;
            current.clear();
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return keys;
}

TEST(StateJsonTest, HasExactlyTheStateKeysInOrder) {
    ScratchFolder folder;
    folder.Write("1.vrk", std::string(352, '\0'));
    HeadlessSession session(SessionStart{});
    ASSERT_TRUE(session.MakeForm());
    session.Frames(2);
    const std::vector<std::string> expected = {
        "Frame",     "GameState", "MenuChoice", "MouseHeld",     "SlowFlip",  "Level",    "LevelPhase",
        "OrbsEaten", "OrbCount",  "Heading",    "Score",         "ScoreText", "Energy",   "Speed",
        "Fade",      "AnimTick",  "CellX",      "CellY",         "FPS",       "Ship",     "Orbs",
        "OrbPulse",  "OrbRising", "Segments",   "SegmentColour", "Mines",     "FieldMap", "Backdrop",
        "Title",     "Menu",      "Highlight",  "About",         "StatusBar", "Pointer",  "ScreenHash"};
    EXPECT_EQ(TopLevelKeys(session.State()), expected);
}

TEST(StateJsonTest, DoublesReadBackExactly) {
    for (const double value : {0.1, 1.0 / 3, 235.19999999999925, -2000.0, 1e-300, 4.03}) {
        EXPECT_EQ(std::strtod(jsontext::Number(value).c_str(), nullptr), value) << jsontext::Number(value);
    }
    EXPECT_EQ(jsontext::Number(-2000.0), "-2000");
    EXPECT_EQ(jsontext::Number(__builtin_nan("")), "null");
}

// The web build writes numbers without std::to_chars: the text must be the same, or state lines
// (and their digests) would differ between the page and the desktop.
TEST(StateJsonTest, NumbersWithoutToCharsReadTheSame) {
    // clang-format off
    const double values[] = {0.0, -0.0, 1.0, 100.0, 1e4, 1e5, 1e15, 1e16, 1e21, 123456789012345678.0, 0.1, 1.0 / 3,
                             -2000.0, 235.19999999999925, 4.03, 1e-5, 1.5e-7, 0.0001, 1e-300, 5e-324,
                             1.7976931348623157e308, 12.5, 9007199254740993.0, 3.0e10, -0.001};
    // clang-format on
    for (const double value : values) {
        EXPECT_EQ(jsontext::ShortestNumber(value), jsontext::Number(value));
    }
    EXPECT_EQ(jsontext::ShortestNumber(__builtin_inf()), "null");
}

TEST(StateJsonTest, StringsAreEscaped) {
    EXPECT_EQ(jsontext::Quote("a\"b\\c\nd\x01\xd0\x9e"), "\"a\\\"b\\\\c\\nd\\u0001\xd0\x9e\"");
}

} // namespace
