#pragma once

#include "level/Level.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace levels {

// Something wrong with a damaged level source or file that was read as far as it could be.
struct ReadNote {
    enum class Kind {
        ShortFile,     // Count bytes instead of 352; the missing cells are floor
        LongFile,      // Count bytes; those after the 352nd are left out, as the game leaves them
        UnknownCode,   // Count cells hold codes the game ignores; read as floor, the first at Column, Row
        ShortLine,     // Count lines have fewer than 22 symbols; padded with floor, the first is Line
        LongLine,      // Count lines have more than 22 symbols; the rest is left out, the first is Line
        UnknownSymbol, // Count unknown symbols read as floor, the first at Line, Column (counted from 1)
        MissingLines,  // Count lines of the 16 are missing; they are floor
        ExtraLines,    // Count lines after the 16th are left out
    };
    Kind What = Kind::ShortFile;
    int Count = 0;
    int Line = 0;
    int Column = 0;
    int Row = 0;
};

// A level as far as it could be read, with its comment lines (sources only) and what was wrong.
struct ReadLevel {
    Level Cells;
    std::vector<std::string> Comments;
    std::vector<ReadNote> Notes;
};

// Reads whatever a level file holds: the cells stored, floor for the rest and for unknown codes.
ReadLevel ReadLevelBytes(const std::vector<uint8_t>& bytes);
// Reads whatever a level source holds: symbols line by line, floor for anything unreadable.
ReadLevel ReadLevelText(std::string_view text);
// Reads a level source (*.txt) or a level file by its extension; throws LevelError
// "PATH: cannot open" when the file cannot be read at all.
ReadLevel ReadLevelLeniently(const std::string& path);

} // namespace levels
