#include "level/Level.h"

#include "level/SourceLines.h"

#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"

#include <algorithm>

namespace levels {

namespace {

constexpr std::string_view kSymbols = ".#^>v<S";

} // namespace

char Symbol(uint8_t code) {
    return code < kSymbols.size() ? kSymbols[code] : '?';
}

int CodeOf(char symbol) {
    auto pos = kSymbols.find(symbol);
    return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

bool IsMine(uint8_t code) {
    return code >= MineUp && code <= MineLeft;
}

Level::Level() {
    codes_.fill(Floor);
}

Level Level::FromText(std::string_view text, std::vector<std::string>* comments) {
    Level level;
    int row = 0;
    const auto cells = [&](int lineNumber, std::string_view line, bool last) {
        if (row >= kRows) {
            // One empty line after the last is no more than a line end.
            if (line.empty() && last) {
                return;
            }
            throw LevelError(
                Fill(Tr("line {}: more than {} lines"), {std::to_string(lineNumber), std::to_string(kRows)}));
        }
        if (line.size() != static_cast<size_t>(kColumns)) {
            throw LevelError(Fill(Tr("line {}: {} symbols instead of {}"),
                                  {std::to_string(lineNumber), std::to_string(line.size()), std::to_string(kColumns)}));
        }
        for (int column = 0; column < kColumns; ++column) {
            int code = CodeOf(line[column]);
            if (code < 0) {
                throw LevelError(Fill(Tr("line {}, column {}: unknown symbol '{}'"),
                                      {std::to_string(lineNumber), std::to_string(column + 1),
                                       platform::EscapeControls(line.substr(column, 1))}));
            }
            level.Set(column, row, static_cast<uint8_t>(code));
        }
        ++row;
    };
    ForEachSourceLine(text, cells, [&](std::string_view line) {
        if (comments) {
            comments->emplace_back(line);
        }
    });
    if (row != kRows) {
        throw LevelError(Fill(Tr("{} lines instead of {}"), {std::to_string(row), std::to_string(kRows)}));
    }
    return level;
}

Level Level::FromBytes(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < static_cast<size_t>(kFileSize)) {
        throw LevelError(Fill(Tr("{} bytes instead of {}"), {std::to_string(bytes.size()), std::to_string(kFileSize)}));
    }
    Level level;
    std::copy(bytes.begin(), bytes.begin() + kFileSize, level.codes_.begin());
    return level;
}

std::vector<uint8_t> Level::ToBytes() const {
    return {codes_.begin(), codes_.end()};
}

std::string Level::ToText() const {
    std::string text;
    text.reserve((kColumns + 1) * kRows);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            text += Symbol(At(column, row));
        }
        text += '\n';
    }
    return text;
}

std::string Level::ToText(const std::vector<std::string>& comments) const {
    std::string text;
    for (const std::string& comment : comments) {
        text += comment;
        text += '\n';
    }
    return text + ToText();
}

bool Level::IsWall(int column, int row) const {
    return column >= 0 && column < kFieldColumns && row >= 0 && row < kFieldRows && At(column, row) == Wall;
}

} // namespace levels
