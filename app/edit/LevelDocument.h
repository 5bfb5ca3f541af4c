#pragma once

#include "app/edit/EditHistory.h"
#include "level/Level.h"

#include <cstdint>
#include <string>
#include <vector>

// The level being edited: its cells and comment lines, its level number (which picks the tile
// set), the file it came from, and the steps that can be undone. Edits are gathered into strokes:
// everything between BeginStroke and EndStroke is one step.
class LevelDocument {
public:
    // A new level: all floor, the ship in the middle, level number 1, no file.
    LevelDocument();
    // The cells of a new level.
    static levels::Level NewCells();
    // An opened level; `changed` when what was read differs from the file (a damaged one).
    LevelDocument(const levels::Level& cells, std::vector<std::string> comments, int number, std::string path,
                  bool changed);

    const levels::Level& Cells() const { return cells_; }
    uint8_t At(int column, int row) const { return cells_.At(column, row); }
    const std::vector<std::string>& Comments() const { return comments_; }
    void SetComments(std::vector<std::string> comments) { comments_ = std::move(comments); }

    // 1 to 24.
    int Number() const { return number_; }
    void SetNumber(int number);
    // The file saved to: a level source (*.txt) or a level file; empty for a new level.
    const std::string& Path() const { return path_; }

    // Changed since it was opened or last saved.
    bool Modified() const { return changed_ || cells_ != saved_; }
    // Counts every change of the cells, so that what is worked out from them can be kept until it changes.
    uint64_t Version() const { return version_; }

    void BeginStroke();
    bool InStroke() const { return inStroke_; }
    // Puts a kind into a field cell (outside the field: nothing). The ship moves: placing it
    // clears every other ship cell. Outside a stroke the change is a step of its own.
    void Paint(int column, int row, uint8_t kind);
    // Within a stroke: the cells as they were at its start, with the kind put into the given cells in order.
    void PaintShape(const std::vector<std::pair<int, int>>& cells, uint8_t kind);
    // Ends the stroke; a stroke that changed nothing leaves no step.
    void EndStroke();
    // Replaces every cell in one step (clearing what lies outside the field, restoring a copy).
    void ReplaceAll(const levels::Level& cells);

    bool Undo();
    bool Redo();

    // The document now stands as saved at `path`.
    void MarkSaved(const std::string& path);

private:
    void Put(int column, int row, uint8_t kind);
    void Commit(const levels::Level& before);

    levels::Level cells_;
    levels::Level saved_;
    levels::Level strokeStart_;
    std::vector<std::string> comments_;
    int number_ = 1;
    std::string path_;
    bool changed_ = false;
    bool inStroke_ = false;
    uint64_t version_ = 0;
    EditHistory history_;
};

// The cells in which two levels differ, as changes from `before` to `after`.
EditStep Difference(const levels::Level& before, const levels::Level& after);
