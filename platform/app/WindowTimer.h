#pragma once

#include "platform/app/Component.h"
#include "platform/app/Form.h"

#include <cstdint>

class TApplication;

// A window timer: raises OnTimer from the message loop when at least Interval milliseconds
// have passed since it last fired; never more than once per pass of the loop.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    TNotifyEvent OnTimer;

    void Loaded() override;

    // Used by the message loop.
    bool Due(uint32_t now) const { return now - last_ >= interval_; }
    uint32_t MillisecondsToDue(uint32_t now) const;
    void Fire(uint32_t now);

private:
    void Update();

    uint32_t interval_ = 1000;
    bool enabled_ = true;
    uint32_t last_ = 0;
    TApplication* registeredWith_ = nullptr;
};
