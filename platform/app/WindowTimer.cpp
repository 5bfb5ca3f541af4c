#include "platform/app/WindowTimer.h"

#include "platform/app/Application.h"

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
    if (registeredWith_) {
        registeredWith_->RemoveTimer(this);
    }
}

void TTimer::SetInterval(uint32_t interval) {
    interval_ = interval;
    Update();
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Update();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Update();
}

uint32_t TTimer::MillisecondsToDue(uint32_t now) const {
    uint32_t passed = now - last_;
    return passed >= interval_ ? 0 : interval_ - passed;
}

void TTimer::Fire(uint32_t now) {
    last_ = now;
    if (OnTimer) {
        OnTimer(this);
    }
}

void TTimer::Update() {
    if (Loading()) {
        return;
    }
    bool run = enabled_ && interval_ > 0;
    if (run && !registeredWith_) {
        if (TApplication* app = FindApplication()) {
            last_ = app->Platform().Milliseconds();
            app->AddTimer(this);
            registeredWith_ = app;
        }
    } else if (!run && registeredWith_) {
        registeredWith_->RemoveTimer(this);
        registeredWith_ = nullptr;
    }
}
