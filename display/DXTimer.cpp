#include "display/DXTimer.h"

#include "platform/app/Application.h"

#include <algorithm>
#include <cmath>

TCustomDXTimer::TCustomDXTimer(TComponent* owner) : TComponent(owner), application_(FindApplication()) {
    if (application_) {
        activationWatcher_ = application_->AddActivationWatcher([this](bool active) {
            if (active) {
                AppActivated();
            } else {
                AppDeactivated();
            }
        });
    }
}

TCustomDXTimer::~TCustomDXTimer() {
    Stop();
    // However the timer came to be attached, the idle slot must not keep calling a timer that is gone.
    if (attached_) {
        ClearIdleSlot();
    }
    if (application_) {
        application_->RemoveActivationWatcher(activationWatcher_);
    }
}

void TCustomDXTimer::SetActiveOnly(bool value) {
    if (value == activeOnly_) {
        return;
    }
    activeOnly_ = value;
    // Keep the timer attached exactly when it runs and either ActiveOnly is off or the
    // application is active; only an inactive application sees a change.
    if (!running_ || !application_ || application_->Active()) {
        return;
    }
    if (value) {
        ClearIdleSlot();
    } else {
        Resume();
    }
}

void TCustomDXTimer::SetEnabled(bool value) {
    if (value == enabled_) {
        return;
    }
    enabled_ = value;
    if (Loading()) {
        return;
    }
    if (value) {
        Start();
    } else {
        Stop();
    }
}

void TCustomDXTimer::SetInterval(int32_t value) {
    if (value == interval_) {
        return;
    }
    interval_ = std::max(value, 0);
    intervalDivisor_ = std::max(value, 1);
}

void TCustomDXTimer::Start() {
    Stop();
    if (!activeOnly_ || (application_ && application_->Active())) {
        Resume();
    }
    running_ = true;
}

void TCustomDXTimer::Stop() {
    if (running_) {
        ClearIdleSlot();
        running_ = false;
    }
}

void TCustomDXTimer::Resume() {
    lastTick_ = Clock();
    lastRateTick_ = lastTick_;
    if (application_) {
        application_->OnIdle = [this](bool& done) { Tick(done); };
        attached_ = true;
    }
}

void TCustomDXTimer::Tick(bool& done) {
    done = false;
    const uint32_t now = Clock();
    // Clock differences are taken modulo 2^32, so a wrap of the clock costs nothing.
    const uint32_t elapsed = now - lastTick_;
    if (elapsed < static_cast<uint32_t>(interval_)) {
        return;
    }
    lastTick_ = now;
    int32_t lag = static_cast<int32_t>(elapsed / static_cast<uint32_t>(intervalDivisor_));
    if (lag < 1) {
        lag = 1;
    }
    ++frameCount_;
    const int32_t span = std::max(static_cast<int32_t>(now - lastRateTick_), 1);
    if (span >= 1000) {
        // Default rounding mode: halves go to the even neighbour.
        framesPerSecond_ = static_cast<int32_t>(std::nearbyint(frameCount_ * 1000.0 / span));
        frameCount_ = 0;
        lastRateTick_ = now;
    }
    // All bookkeeping is done: an error from the handler leaves the timer consistent.
    RaiseTimer(lag);
}

void TCustomDXTimer::Loaded() {
    TComponent::Loaded();
    if (!Designing() && enabled_) {
        Start();
    }
}

void TCustomDXTimer::RaiseActivate() {
    if (OnActivate) {
        OnActivate(this);
    }
}

void TCustomDXTimer::RaiseDeactivate() {
    if (OnDeactivate) {
        OnDeactivate(this);
    }
}

void TCustomDXTimer::RaiseTimer(int32_t lagCount) {
    if (OnTimer) {
        OnTimer(this, lagCount);
    }
}

uint32_t TCustomDXTimer::Clock() const {
    return application_ ? application_->Platform().Milliseconds() : 0;
}

void TCustomDXTimer::AppActivated() {
    RaiseActivate();
    if (running_ && activeOnly_) {
        Resume();
    }
}

void TCustomDXTimer::AppDeactivated() {
    RaiseDeactivate();
    // Running stays true, so the next activation resumes.
    if (running_ && activeOnly_) {
        ClearIdleSlot();
    }
}

void TCustomDXTimer::ClearIdleSlot() {
    if (application_) {
        application_->OnIdle = nullptr;
    }
    attached_ = false;
}
