#pragma once

#include "input/InputState.h"

#include <cstdint>

class TCustomDXInput;

// Force-feedback effects of a device; no device here plays any.
struct TForceFeedbackEffects {};

// One input device of the input component: started and finished with the component,
// polled into its own set of input states once per frame.
class TCustomInput {
public:
    explicit TCustomInput(TCustomDXInput& dxInput) : dxInput_(dxInput) {}
    virtual ~TCustomInput() = default;
    TCustomInput(const TCustomInput&) = delete;
    TCustomInput& operator=(const TCustomInput&) = delete;

    // Read when the component starts: a disabled device stays uninitialised.
    bool Enabled = true;
    // The device's states count for the component's States.
    bool BindInputStates = true;
    bool ForceFeedback = false;
    TForceFeedbackEffects Effects;

    // The states found held at the last poll.
    const TInputStates& DeviceStates() const { return deviceStates_; }
    bool IsInitialized() const { return initialized_; }

    // Start: take the platform device if there is one and become initialised.
    virtual void Initialize() {}
    // Finish: let go of the device and forget every state.
    virtual void Finalize();
    // Refresh DeviceStates from the device.
    virtual void Poll() = 0;
    // Tell the device how it shares the input with other programs; no-op without a device.
    virtual void SetCooperativeLevel() {}
    // Ask the device to start delivering input; no-op without a device.
    virtual void Acquire() {}
    virtual bool SupportsForceFeedback() const { return false; }

    // Exclusive only for force feedback; foreground while the component reads only in front.
    uint32_t CooperativeLevelFlags() const;

protected:
    TCustomDXInput& dxInput_;
    TInputStates deviceStates_;
    bool initialized_ = false;
};
