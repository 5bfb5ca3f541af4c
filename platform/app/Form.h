#pragma once

#include "platform/app/Component.h"

#include <functional>
#include <string>
#include <vector>

class TApplication;
class TControl;
namespace platform {
struct Event;
}

// Messages of the form's window that its components may watch.
enum class TFormMessage {
    WindowCreated, // the window exists (again)
    Shown,         // the form became visible
    Activated,
    Deactivated,
    MenuOpened,
    WindowDestroyed,
};

enum class TFormBorderStyle { bsNone, bsSizeable };
enum class TPosition { poDesigned, poScreenCenter };

using TNotifyEvent = std::function<void(TComponent* sender)>;

// A top-level window with its controls. Components watch its messages through hooks,
// which run after the form's own handling of each message.
class TForm : public TComponent {
public:
    explicit TForm(TApplication& application);
    ~TForm() override;

    TApplication& Application() const { return application_; }

    std::string Caption;
    TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
    TPosition Position = TPosition::poDesigned;
    TNotifyEvent OnActivate;

    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    void SetClientSize(int width, int height);

    bool Visible() const { return visible_; }
    bool Active() const { return active_; }
    // Makes the window and shows it.
    void Show();
    // Closing the main form ends the application.
    void Close();
    void Activate();
    void Deactivate();
    void Paint();
    // Mouse events from the window, routed to the control under the pointer.
    void HandleMouse(const platform::Event& event);

    using Hook = std::function<void(TFormMessage)>;
    int AddHook(Hook hook);
    void RemoveHook(int id);

    void AddControl(TControl* control);
    void RemoveControl(TControl* control);
    const std::vector<TControl*>& Controls() const { return controls_; }

protected:
    void Send(TFormMessage message);

private:
    TApplication& application_;
    int clientWidth_ = 640;
    int clientHeight_ = 480;
    bool visible_ = false;
    bool active_ = false;
    bool windowMade_ = false;
    std::vector<std::pair<int, Hook>> hooks_;
    int nextHook_ = 1;
    std::vector<TControl*> controls_;
};
