#pragma once

#include <cstdint>
#include <vector>

// One cell changed by an edit.
struct CellChange {
    int Column = 0;
    int Row = 0;
    uint8_t Before = 0;
    uint8_t After = 0;
    bool operator==(const CellChange&) const = default;
};

// Everything one action changed (a click, a stroke, a line, a rectangle): undone and redone whole.
using EditStep = std::vector<CellChange>;

// The steps of a session, undone and redone in order without limit. A new step drops the steps
// that were undone.
class EditHistory {
public:
    void Record(EditStep step);
    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // The step to take back, now counted as undone; null when there is none.
    const EditStep* Undo();
    // The step to make again, now counted as done; null when there is none.
    const EditStep* Redo();

private:
    std::vector<EditStep> steps_;
    std::size_t done_ = 0;
};
