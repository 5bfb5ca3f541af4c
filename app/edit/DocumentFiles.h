#pragma once

#include "app/edit/LevelDocument.h"
#include "level/LevelCheck.h"
#include "level/LevelReader.h"

#include <string>
#include <vector>

// The first comment line of a saved level that fails the check begins with this.
inline constexpr const char* kFailsCheckMark = "; FAILS CHECK: ";

// The pair of files a save writes: the level source and the level file beside it.
struct LevelPaths {
    std::string Source; // *.txt
    std::string File;   // *.vrk (or the level file's own name)
    bool operator==(const LevelPaths&) const = default;
};
// For a source "a/07.txt": a/07.txt and a/07.vrk; for a level file "a/7.vrk" (or any other
// name): a/7.txt and the file itself.
LevelPaths PathsFor(const std::string& path);
// DIR/N.txt and DIR/N.vrk: level N of a pack.
LevelPaths PackPaths(const std::string& folder, int number);

// The comment lines to save: those given without an earlier mark, and a new mark naming the first
// problem first when there are problems.
std::vector<std::string> MarkedComments(const std::vector<std::string>& comments,
                                        const std::vector<levels::Problem>& problems);

// A level opened for editing and what was wrong with its file.
struct OpenedLevel {
    LevelDocument Document;
    std::vector<levels::ReadNote> Notes;
    // Cells outside the field were not floor and are cleared as the first step (undoable).
    bool OutsideCleared = false;
};

// Opens a level source or level file as far as it can be read; the level number comes from the
// file name (1 when it has none). Throws levels::LevelError when the file cannot be read at all.
OpenedLevel OpenLevel(const std::string& path);
// The same for a level read already, with `path` as its file (empty for none).
OpenedLevel OpenedFrom(levels::ReadLevel read, const std::string& path, int number);

// Writes the document's source and level file (comments marked as MarkedComments makes them);
// false with the reason in `error` when either cannot be written.
bool SaveLevel(const LevelDocument& document, const LevelPaths& paths, std::string& error);
