#include "platform/app/Application.h"

#include "platform/app/Form.h"
#include "platform/app/WindowTimer.h"
#include "platform/base/Exception.h"

#include <algorithm>

TApplication::TApplication(platform::Platform& platform, std::vector<std::string> arguments)
    : platform_(platform), arguments_(std::move(arguments)) {}

TApplication::~TApplication() {
    // Forms go last-made first, each taking its components with it.
    while (!forms_.empty()) {
        forms_.pop_back();
    }
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    platform_.SetTitle(title);
}

std::string TApplication::ParamStr(int index) const {
    if (index < 1 || index > ParamCount()) {
        return {};
    }
    return arguments_[static_cast<std::size_t>(index - 1)];
}

TForm& TApplication::AddForm(std::unique_ptr<TForm> form) {
    forms_.push_back(std::move(form));
    return *forms_.back();
}

template <class F> void TApplication::Guarded(F&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

void TApplication::ShowException(const std::exception& error) {
    platform_.ShowErrorBox(title_.empty() ? "Error" : title_, ErrorReport(error));
}

void TApplication::Run() {
    while (Step()) {
        if (Idle() && !terminated_) {
            platform_.WaitEvent(MillisecondsToNextTimer());
        }
    }
}

bool TApplication::Idle() {
    bool done = true;
    if (OnIdle) {
        Guarded([&] { OnIdle(done); });
    }
    return done;
}

bool TApplication::Step() {
    if (!shown_ && HasMainForm()) {
        shown_ = true;
        // The main form is the application's active form once it is shown, whether or not the
        // window manager gives its window the keyboard focus at once.
        Guarded([&] {
            MainForm().Show();
            MainForm().Activate();
        });
    }
    platform::Event event;
    while (!terminated_ && platform_.PollEvent(event)) {
        Guarded([&] { Dispatch(event); });
    }
    if (!terminated_) {
        FireTimers();
    }
    return !terminated_;
}

void TApplication::Dispatch(const platform::Event& event) {
    using Type = platform::Event::Type;
    switch (event.Kind) {
    case Type::Quit:
        if (HasMainForm()) {
            MainForm().Close();
        } else {
            Terminate();
        }
        break;
    case Type::MouseMove:
    case Type::MouseDown:
    case Type::MouseUp:
        if (HasMainForm()) {
            MainForm().HandleMouse(event);
        }
        break;
    case Type::FocusGained:
        SetActive(true);
        if (HasMainForm()) {
            MainForm().Activate();
        }
        break;
    case Type::FocusLost:
        if (HasMainForm()) {
            MainForm().Deactivate();
        }
        SetActive(false);
        break;
    case Type::Expose:
        if (HasMainForm()) {
            MainForm().Paint();
        }
        break;
    }
}

void TApplication::SetActive(bool active) {
    if (active_ == active) {
        return;
    }
    active_ = active;
    std::vector<int> ids;
    for (const auto& w : watchers_) {
        ids.push_back(w.first);
    }
    for (int id : ids) {
        auto it = std::find_if(watchers_.begin(), watchers_.end(), [id](const auto& w) { return w.first == id; });
        if (it != watchers_.end()) {
            auto watcher = it->second;
            watcher(active);
        }
    }
}

int TApplication::AddActivationWatcher(std::function<void(bool)> watcher) {
    watchers_.emplace_back(nextWatcher_, std::move(watcher));
    return nextWatcher_++;
}

void TApplication::RemoveActivationWatcher(int id) {
    watchers_.erase(std::remove_if(watchers_.begin(), watchers_.end(), [id](const auto& w) { return w.first == id; }),
                    watchers_.end());
}

void TApplication::AddTimer(TTimer* timer) {
    if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end()) {
        timers_.push_back(timer);
    }
}

void TApplication::RemoveTimer(TTimer* timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

void TApplication::FireTimers() {
    // A window timer is a message of the lowest rank: at most one per timer per pass, and
    // only once its interval has passed since it last fired.
    std::vector<TTimer*> due;
    const uint32_t now = platform_.Milliseconds();
    for (TTimer* t : timers_) {
        if (t->Due(now)) {
            due.push_back(t);
        }
    }
    for (TTimer* t : due) {
        if (terminated_) {
            return;
        }
        if (std::find(timers_.begin(), timers_.end(), t) != timers_.end()) {
            Guarded([&] { t->Fire(platform_.Milliseconds()); });
        }
    }
}

uint32_t TApplication::MillisecondsToNextTimer() {
    uint32_t wait = 100;
    const uint32_t now = platform_.Milliseconds();
    for (TTimer* t : timers_) {
        wait = std::min(wait, t->MillisecondsToDue(now));
    }
    return std::max<uint32_t>(wait, 1);
}
