#pragma once

#include "platform/app/Platform.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TForm;
class TTimer;

// The application object: its forms, the message loop with its idle slot and window
// timers, activation notices, termination and the error box for uncaught errors.
class TApplication {
public:
    TApplication(platform::Platform& platform, std::vector<std::string> arguments = {});
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    platform::Platform& Platform() const { return platform_; }

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    // Command-line arguments after the program name; ParamStr(1) is the first.
    int ParamCount() const { return static_cast<int>(arguments_.size()); }
    std::string ParamStr(int index) const;

    // Takes a form; the first one becomes the main form.
    TForm& AddForm(std::unique_ptr<TForm> form);
    TForm& MainForm() const { return *forms_.front(); }
    bool HasMainForm() const { return !forms_.empty(); }

    // Shows the main form and handles messages until Terminate.
    void Run();
    // Shows the main form (once), handles whatever messages are pending and fires due timers.
    // Returns false once the application has been told to end.
    bool Step();
    // One call of the idle slot, errors reported like any handler's; returns its "done".
    bool Idle();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // The idle slot: called whenever the queue is empty. Leaving `done` false makes the
    // loop call it again at once instead of waiting for the next message.
    std::function<void(bool& done)> OnIdle;

    // Watchers of the application becoming active (true) or inactive (false).
    int AddActivationWatcher(std::function<void(bool active)> watcher);
    void RemoveActivationWatcher(int id);
    bool Active() const { return active_; }

    // Reports an error that escaped a handler in the error box; the loop goes on.
    void ShowException(const std::exception& error);

    void AddTimer(TTimer* timer);
    void RemoveTimer(TTimer* timer);

private:
    void Dispatch(const platform::Event& event);
    void SetActive(bool active);
    void FireTimers();
    uint32_t MillisecondsToNextTimer();
    template <class F> void Guarded(F&& handler);

    platform::Platform& platform_;
    std::vector<std::string> arguments_;
    std::string title_;
    std::vector<std::unique_ptr<TForm>> forms_;
    bool terminated_ = false;
    bool shown_ = false;
    bool active_ = false;
    std::vector<std::pair<int, std::function<void(bool)>>> watchers_;
    int nextWatcher_ = 1;
    std::vector<TTimer*> timers_;
};
