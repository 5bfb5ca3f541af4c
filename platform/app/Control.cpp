#include "platform/app/Control.h"

#include "platform/app/Form.h"

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    if (parent_) {
        parent_->RemoveControl(this);
    }
}

void TControl::SetParent(TForm* parent) {
    if (parent == parent_) {
        return;
    }
    TForm* old = parent_;
    if (old) {
        old->RemoveControl(this);
    }
    parent_ = parent;
    if (parent_) {
        parent_->AddControl(this);
        Realign();
    }
    ParentChanged(old);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) {
        return;
    }
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
}

void TControl::SetAlign(TAlign align) {
    align_ = align;
    Realign();
}

void TControl::Realign() {
    if (align_ == TAlign::alClient && parent_) {
        SetBounds(0, 0, parent_->ClientWidth(), parent_->ClientHeight());
    }
}

void TControl::MouseDown(TMouseButton button, int x, int y) {
    if (OnMouseDown) {
        OnMouseDown(this, button, x, y);
    }
}

void TControl::MouseUp(TMouseButton button, int x, int y) {
    if (OnMouseUp) {
        OnMouseUp(this, button, x, y);
    }
}

void TControl::MouseMove(int x, int y) {
    if (OnMouseMove) {
        OnMouseMove(this, x, y);
    }
}
