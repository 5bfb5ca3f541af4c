#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace levels {

// Cell codes of a level file.
enum Code : uint8_t {
    Floor = 0,
    Wall = 1,
    MineUp = 2,
    MineRight = 3,
    MineDown = 4,
    MineLeft = 5,
    Ship = 6,
};

constexpr int kColumns = 22; // stored columns; the playing field shows the first 21
constexpr int kRows = 16;    // stored rows; the playing field shows the first 15
constexpr int kFieldColumns = 21;
constexpr int kFieldRows = 15;
constexpr int kCellSize = 30; // pixels per cell on screen
constexpr int kFileSize = kColumns * kRows;
constexpr int kMaxMines = 100;
// A source line starting with this character is a comment.
constexpr char kCommentMark = ';';

// A malformed level source or file; the message names the line and column.
class LevelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The 22 x 16 cell codes of one level. Text form: 16 lines of 22 symbols (see Symbol), with
// comment lines (starting with ';') anywhere; file form: 352 bytes stored column by column,
// byte column * 16 + row.
class Level {
public:
    Level();

    // Parses the text form; throws LevelError on a wrong line count or length or an unknown symbol.
    // The comment lines, when asked for, are added to `comments` as they stand, without line ends.
    static Level FromText(std::string_view text, std::vector<std::string>* comments = nullptr);
    // Reads the file form; throws LevelError when fewer than 352 bytes are given. Extra bytes are ignored.
    static Level FromBytes(const std::vector<uint8_t>& bytes);

    std::vector<uint8_t> ToBytes() const;
    // The 16 lines of symbols.
    std::string ToText() const;
    // The text form with the given comment lines first.
    std::string ToText(const std::vector<std::string>& comments) const;

    uint8_t At(int column, int row) const { return codes_[column * kRows + row]; }
    void Set(int column, int row, uint8_t code) { codes_[column * kRows + row] = code; }
    // A wall of the playing field; cells outside the 21 x 15 field are never walls.
    bool IsWall(int column, int row) const;

    bool operator==(const Level&) const = default;

private:
    std::array<uint8_t, kFileSize> codes_;
};

// Text symbol of a cell code: . # ^ > v < S, and ? for codes the game ignores.
char Symbol(uint8_t code);
// Cell code of a text symbol, or -1 for an unknown symbol.
int CodeOf(char symbol);
bool IsMine(uint8_t code);

} // namespace levels
