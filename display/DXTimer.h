#pragma once

#include "platform/app/Component.h"
#include "platform/app/Form.h"

#include <cstdint>
#include <functional>

class TApplication;

using TDXTimerEvent = std::function<void(TComponent* sender, int32_t lagCount)>;

// Frame timer: runs from the application's idle slot and raises OnTimer whenever at least
// Interval milliseconds have passed since the last frame; counts the frames per second.
class TCustomDXTimer : public TComponent {
public:
    explicit TCustomDXTimer(TComponent* owner);
    ~TCustomDXTimer() override;

    // Run only while the application is the active one.
    bool ActiveOnly() const { return activeOnly_; }
    void SetActiveOnly(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Least milliseconds between two frames; negative values are stored as 0.
    int32_t Interval() const { return interval_; }
    void SetInterval(int32_t value);
    // max(Interval, 1): the unit in which the lag count is measured.
    int32_t IntervalDivisor() const { return intervalDivisor_; }

    TDXTimerEvent OnTimer;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

    // Started and not stopped (it may be detached from the idle slot while inactive).
    bool Running() const { return running_; }
    // Frames counted in the last completed span of at least one second, per second.
    int32_t FramesPerSecond() const { return framesPerSecond_; }
    int32_t FrameCount() const { return frameCount_; }
    uint32_t LastTick() const { return lastTick_; }
    uint32_t LastRateTick() const { return lastRateTick_; }

    // Stops, then attaches to the idle slot if allowed to run now; Running afterwards.
    void Start();
    // Detaches from the idle slot if running.
    void Stop();
    // Restarts the clocks and attaches to the idle slot.
    void Resume();
    // One idle call: a frame when Interval has passed. Leaves `done` false so the loop keeps calling.
    void Tick(bool& done);

    // End of loading: starts the timer when Enabled.
    void Loaded() override;

protected:
    virtual void RaiseActivate();
    virtual void RaiseDeactivate();
    virtual void RaiseTimer(int32_t lagCount);

private:
    uint32_t Clock() const;
    void AppActivated();
    void AppDeactivated();
    void ClearIdleSlot();

    TApplication* application_;
    int activationWatcher_ = 0;
    bool attached_ = false;
    bool activeOnly_ = true;
    bool enabled_ = true;
    int32_t interval_ = 1000;
    int32_t intervalDivisor_ = 1000;
    bool running_ = false;
    int32_t framesPerSecond_ = 0;
    int32_t frameCount_ = 0;
    uint32_t lastTick_ = 0;
    uint32_t lastRateTick_ = 0;
};

// The frame timer component of a form.
class TDXTimer : public TCustomDXTimer {
public:
    using TCustomDXTimer::TCustomDXTimer;
};
