#include "platform/app/Form.h"

#include "platform/app/Application.h"
#include "platform/app/Control.h"

#include <algorithm>

TForm::TForm(TApplication& application) : TComponent(nullptr), application_(application) {}

TForm::~TForm() {
    if (windowMade_) {
        windowMade_ = false;
        // An error of a component letting go of the window cannot leave a destructor: report it.
        try {
            Send(TFormMessage::WindowDestroyed);
        } catch (const std::exception& e) {
            application_.ShowException(e);
        }
        application_.Platform().HideWindow();
    }
    DestroyComponents();
}

void TForm::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    for (TControl* c : controls_) {
        c->Realign();
    }
}

void TForm::Show() {
    if (visible_) {
        return;
    }
    if (!windowMade_) {
        windowMade_ = true;
        application_.Platform().ShowWindow(Caption);
        Send(TFormMessage::WindowCreated);
    }
    visible_ = true;
    Send(TFormMessage::Shown);
}

void TForm::Close() {
    if (&application_.MainForm() == this) {
        application_.Terminate();
    }
}

void TForm::Activate() {
    if (active_) {
        return;
    }
    active_ = true;
    if (OnActivate) {
        OnActivate(this);
    }
    Send(TFormMessage::Activated);
}

void TForm::Deactivate() {
    if (!active_) {
        return;
    }
    active_ = false;
    Send(TFormMessage::Deactivated);
}

void TForm::Paint() {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        c->Paint();
    }
}

void TForm::HandleMouse(const platform::Event& event) {
    using Type = platform::Event::Type;
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (event.X < c->Left() || event.Y < c->Top() || event.X >= c->Left() + c->Width() ||
            event.Y >= c->Top() + c->Height()) {
            continue;
        }
        int x = event.X - c->Left(), y = event.Y - c->Top();
        TMouseButton button = event.Button == 3   ? TMouseButton::mbRight
                              : event.Button == 2 ? TMouseButton::mbMiddle
                                                  : TMouseButton::mbLeft;
        if (event.Kind == Type::MouseMove) {
            c->MouseMove(x, y);
        } else if (event.Kind == Type::MouseDown) {
            c->MouseDown(button, x, y);
        } else if (event.Kind == Type::MouseUp) {
            c->MouseUp(button, x, y);
        }
        return;
    }
}

int TForm::AddHook(Hook hook) {
    hooks_.emplace_back(nextHook_, std::move(hook));
    return nextHook_++;
}

void TForm::RemoveHook(int id) {
    hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(), [id](const auto& h) { return h.first == id; }),
                 hooks_.end());
}

void TForm::Send(TFormMessage message) {
    // A hook may add or remove hooks while it runs; call each one that is still there.
    std::vector<int> ids;
    for (const auto& h : hooks_) {
        ids.push_back(h.first);
    }
    for (int id : ids) {
        auto it = std::find_if(hooks_.begin(), hooks_.end(), [id](const auto& h) { return h.first == id; });
        if (it != hooks_.end()) {
            Hook hook = it->second;
            hook(message);
        }
    }
}

void TForm::AddControl(TControl* control) {
    controls_.push_back(control);
}

void TForm::RemoveControl(TControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}
