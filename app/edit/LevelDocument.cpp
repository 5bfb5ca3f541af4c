#include "app/edit/LevelDocument.h"

#include <algorithm>

using namespace levels;

namespace {

bool InField(int column, int row) {
    return column >= 0 && column < kFieldColumns && row >= 0 && row < kFieldRows;
}

} // namespace

EditStep Difference(const Level& before, const Level& after) {
    EditStep step;
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            if (before.At(column, row) != after.At(column, row)) {
                step.push_back({column, row, before.At(column, row), after.At(column, row)});
            }
        }
    }
    return step;
}

Level LevelDocument::NewCells() {
    Level cells;
    cells.Set(kFieldColumns / 2, kFieldRows / 2, Ship);
    return cells;
}

LevelDocument::LevelDocument() : cells_(NewCells()), saved_(cells_) {}

LevelDocument::LevelDocument(const Level& cells, std::vector<std::string> comments, int number, std::string path,
                             bool changed)
    : cells_(cells), saved_(cells), comments_(std::move(comments)), path_(std::move(path)), changed_(changed) {
    SetNumber(number);
}

void LevelDocument::SetNumber(int number) {
    number_ = std::clamp(number, 1, 24);
}

void LevelDocument::BeginStroke() {
    if (inStroke_) {
        EndStroke();
    }
    inStroke_ = true;
    strokeStart_ = cells_;
}

void LevelDocument::Put(int column, int row, uint8_t kind) {
    if (!InField(column, row) || kind > Ship) {
        return;
    }
    if (kind == Ship) {
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                if (cells_.At(c, r) == Ship) {
                    cells_.Set(c, r, Floor);
                }
            }
        }
    }
    cells_.Set(column, row, kind);
}

void LevelDocument::Paint(int column, int row, uint8_t kind) {
    if (inStroke_) {
        Put(column, row, kind);
        ++version_;
        return;
    }
    const Level before = cells_;
    Put(column, row, kind);
    Commit(before);
}

void LevelDocument::PaintShape(const std::vector<std::pair<int, int>>& cells, uint8_t kind) {
    if (!inStroke_) {
        return;
    }
    cells_ = strokeStart_;
    for (const auto& [column, row] : cells) {
        Put(column, row, kind);
    }
    ++version_;
}

void LevelDocument::EndStroke() {
    if (!inStroke_) {
        return;
    }
    inStroke_ = false;
    Commit(strokeStart_);
}

void LevelDocument::ReplaceAll(const Level& cells) {
    EndStroke();
    const Level before = cells_;
    cells_ = cells;
    Commit(before);
}

void LevelDocument::Commit(const Level& before) {
    EditStep step = Difference(before, cells_);
    if (!step.empty()) {
        history_.Record(std::move(step));
    }
    ++version_;
}

bool LevelDocument::Undo() {
    EndStroke();
    const EditStep* step = history_.Undo();
    if (!step) {
        return false;
    }
    for (const CellChange& change : *step) {
        cells_.Set(change.Column, change.Row, change.Before);
    }
    ++version_;
    return true;
}

bool LevelDocument::Redo() {
    EndStroke();
    const EditStep* step = history_.Redo();
    if (!step) {
        return false;
    }
    for (const CellChange& change : *step) {
        cells_.Set(change.Column, change.Row, change.After);
    }
    ++version_;
    return true;
}

void LevelDocument::MarkSaved(const std::string& path) {
    path_ = path;
    saved_ = cells_;
    changed_ = false;
}
