#include "level/LevelReader.h"

#include "level/LevelFiles.h"
#include "level/SourceLines.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"

#include <algorithm>
#include <stdexcept>

namespace levels {

namespace {

// Counts one more case of a kind of note, remembering where the first one was.
ReadNote& Note(ReadLevel& read, ReadNote::Kind kind, int line, int column, int row) {
    for (ReadNote& note : read.Notes) {
        if (note.What == kind) {
            ++note.Count;
            return note;
        }
    }
    read.Notes.push_back(ReadNote{kind, 1, line, column, row});
    return read.Notes.back();
}

} // namespace

ReadLevel ReadLevelBytes(const std::vector<uint8_t>& bytes) {
    ReadLevel read;
    const int stored = static_cast<int>(std::min<std::size_t>(bytes.size(), kFileSize));
    if (bytes.size() < static_cast<std::size_t>(kFileSize)) {
        read.Notes.push_back(ReadNote{ReadNote::Kind::ShortFile, static_cast<int>(bytes.size())});
    } else if (bytes.size() > static_cast<std::size_t>(kFileSize)) {
        read.Notes.push_back(ReadNote{ReadNote::Kind::LongFile, static_cast<int>(bytes.size())});
    }
    for (int i = 0; i < stored; ++i) {
        const int column = i / kRows;
        const int row = i % kRows;
        if (bytes[i] > Ship) {
            Note(read, ReadNote::Kind::UnknownCode, 0, column, row);
            continue;
        }
        read.Cells.Set(column, row, bytes[i]);
    }
    return read;
}

ReadLevel ReadLevelText(std::string_view text) {
    ReadLevel read;
    int row = 0;
    const auto cells = [&](int lineNumber, std::string_view line, bool) {
        if (row >= kRows) {
            // Blank lines at the end are no more than line ends.
            if (line.find_first_not_of(" \t") != std::string_view::npos) {
                Note(read, ReadNote::Kind::ExtraLines, lineNumber, 0, 0);
            }
            return;
        }
        if (line.size() < static_cast<std::size_t>(kColumns)) {
            Note(read, ReadNote::Kind::ShortLine, lineNumber, 0, 0);
        } else if (line.size() > static_cast<std::size_t>(kColumns)) {
            Note(read, ReadNote::Kind::LongLine, lineNumber, 0, 0);
        }
        const int symbols = static_cast<int>(std::min<std::size_t>(line.size(), kColumns));
        for (int column = 0; column < symbols; ++column) {
            const int code = CodeOf(line[column]);
            if (code < 0) {
                Note(read, ReadNote::Kind::UnknownSymbol, lineNumber, column + 1, 0);
                continue;
            }
            read.Cells.Set(column, row, static_cast<uint8_t>(code));
        }
        ++row;
    };
    ForEachSourceLine(text, cells, [&](std::string_view line) { read.Comments.emplace_back(line); });
    if (row < kRows) {
        read.Notes.push_back(ReadNote{ReadNote::Kind::MissingLines, kRows - row});
    }
    return read;
}

ReadLevel ReadLevelLeniently(const std::string& path) {
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const std::runtime_error&) {
        throw LevelError(Fill(Tr("{}: cannot open"), {path}));
    }
    if (IsSourcePath(path)) {
        return ReadLevelText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    return ReadLevelBytes(bytes);
}

} // namespace levels
