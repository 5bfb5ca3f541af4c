#include "app/edit/EditHistory.h"

#include <utility>

void EditHistory::Record(EditStep step) {
    steps_.resize(done_);
    steps_.push_back(std::move(step));
    ++done_;
}

const EditStep* EditHistory::Undo() {
    if (!CanUndo()) {
        return nullptr;
    }
    return &steps_[--done_];
}

const EditStep* EditHistory::Redo() {
    if (!CanRedo()) {
        return nullptr;
    }
    return &steps_[done_++];
}
