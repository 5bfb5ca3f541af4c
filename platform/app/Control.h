#pragma once

#include "platform/app/Component.h"

#include <functional>

class TForm;

enum class TAlign { alNone, alClient };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

using TMouseEvent = std::function<void(TComponent* sender, TMouseButton button, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, int x, int y)>;

// A rectangle of the form's client area with its own window, receiving mouse events and paint requests.
class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TForm* Parent() const { return parent_; }
    void SetParent(TForm* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetBounds(int left, int top, int width, int height);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    // Applies the alignment to the parent's client size.
    void Realign();

    // -1 hides the system cursor over the control.
    int Cursor = 0;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Called by the form.
    void MouseDown(TMouseButton button, int x, int y);
    void MouseUp(TMouseButton button, int x, int y);
    void MouseMove(int x, int y);
    virtual void Paint() {}
    // The control's window was made again (after a change of the form's window).
    virtual void WindowRecreated() {}

protected:
    // The parent changed (after the change); the old parent is given.
    virtual void ParentChanged(TForm* /*oldParent*/) {}
    // Position or size changed.
    virtual void BoundsChanged() {}

private:
    TForm* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 100;
    int height_ = 100;
    TAlign align_ = TAlign::alNone;
};
