#include "level/Level.h"

#include <gtest/gtest.h>

#include <string>

using namespace levels;

namespace {

// 16 lines of 22 floor symbols with the given symbols placed.
std::string Text(std::initializer_list<std::tuple<int, int, char>> cells) {
    std::string lines[kRows];
    for (auto& line : lines) {
        line.assign(kColumns, '.');
    }
    for (auto [column, row, symbol] : cells) {
        lines[row][column] = symbol;
    }
    std::string text;
    for (auto& line : lines) {
        text += line + "\n";
    }
    return text;
}

} // namespace

TEST(Level, FromText_StoresCellsColumnByColumn) {
    Level level =
        Level::FromText(Text({{0, 0, 'S'}, {1, 2, '>'}, {20, 14, '#'}, {3, 4, '^'}, {5, 6, 'v'}, {7, 8, '<'}}));
    std::vector<uint8_t> bytes = level.ToBytes();
    ASSERT_EQ(bytes.size(), 352u);
    EXPECT_EQ(bytes[0], Ship);
    EXPECT_EQ(bytes[1 * 16 + 2], MineRight);
    EXPECT_EQ(bytes[20 * 16 + 14], Wall);
    EXPECT_EQ(bytes[3 * 16 + 4], MineUp);
    EXPECT_EQ(bytes[5 * 16 + 6], MineDown);
    EXPECT_EQ(bytes[7 * 16 + 8], MineLeft);
    EXPECT_EQ(bytes[21 * 16 + 15], Floor);
}

TEST(Level, TextAndBytesRoundTrip) {
    std::string text = Text({{0, 0, 'S'}, {4, 9, '#'}, {12, 3, 'v'}});
    Level level = Level::FromText(text);
    EXPECT_EQ(level.ToText(), text);
    EXPECT_EQ(Level::FromBytes(level.ToBytes()).ToText(), text);
}

TEST(Level, FromText_AcceptsCrLfAndMissingLastNewline) {
    std::string text = Text({{2, 2, '#'}});
    std::string crlf;
    for (char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_TRUE(Level::FromText(crlf).IsWall(2, 2));
    EXPECT_TRUE(Level::FromText(text.substr(0, text.size() - 1)).IsWall(2, 2));
}

TEST(Level, FromText_RejectsMalformedSources) {
    std::string text = Text({});
    std::string shortLine = text;
    shortLine.erase(5 * 23, 1); // line 6 loses a symbol
    EXPECT_THROW(Level::FromText(shortLine), LevelError);
    std::string unknown = text;
    unknown[2 * 23 + 4] = 'x';
    try {
        Level::FromText(unknown);
        FAIL() << "unknown symbol accepted";
    } catch (const LevelError& e) {
        EXPECT_NE(std::string(e.what()).find("line 3, column 5"), std::string::npos) << e.what();
    }
    EXPECT_THROW(Level::FromText(text.substr(0, 15 * 23)), LevelError);
    EXPECT_THROW(Level::FromText(text + std::string(22, '.') + "\n"), LevelError);
}

TEST(Level, FromBytes_NeedsAFullRecordAndIgnoresTheRest) {
    EXPECT_THROW(Level::FromBytes(std::vector<uint8_t>(351, 0)), LevelError);
    std::vector<uint8_t> bytes(400, 0);
    bytes[18] = MineRight;
    bytes[360] = Wall;
    Level level = Level::FromBytes(bytes);
    EXPECT_EQ(level.At(1, 2), MineRight);
}

TEST(Level, IsWall_OnlyInsideTheField) {
    Level level;
    level.Set(21, 3, Wall);
    level.Set(4, 15, Wall);
    level.Set(20, 14, Wall);
    EXPECT_FALSE(level.IsWall(21, 3));
    EXPECT_FALSE(level.IsWall(4, 15));
    EXPECT_FALSE(level.IsWall(-1, 0));
    EXPECT_TRUE(level.IsWall(20, 14));
}

TEST(Level, CommentLinesAreSkippedCountedInMessagesAndWrittenFirst) {
    const std::string grid = Text({{0, 0, 'S'}});
    std::vector<std::string> comments;
    const Level level = Level::FromText("; first\n" + grid.substr(0, 46) + "; between\n" + grid.substr(46), &comments);
    EXPECT_EQ(comments, (std::vector<std::string>{"; first", "; between"}));
    EXPECT_EQ(level.ToText(comments), "; first\n; between\n" + grid);
    std::string bad = "; note\n" + grid;
    bad[7 + 23 + 3] = 'x';
    try {
        Level::FromText(bad);
        FAIL() << "unknown symbol accepted";
    } catch (const LevelError& e) {
        EXPECT_NE(std::string(e.what()).find("line 3, column 4"), std::string::npos) << e.what();
    }
}
