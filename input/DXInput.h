#pragma once

#include "input/CustomInput.h"
#include "input/DXInputError.h"
#include "input/InputState.h"
#include "input/Joystick.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"

#include "platform/app/Component.h"
#include "platform/app/Platform.h"

#include <memory>
#include <vector>

class TForm;

// The input component: owns the joystick, keyboard and mouse devices, polls them once per
// frame and keeps the combined set of held input states. Needs a form among its owners.
class TCustomDXInput : public TComponent {
public:
    // Raises EDXInputError "Form not found" when no owner is a form.
    explicit TCustomDXInput(TComponent* owner);
    ~TCustomDXInput() override;

    // Read keys only while the owning form's window is in front.
    bool ActiveOnly() const { return activeOnly_; }
    void SetActiveOnly(bool value);
    // Read the keyboard through its platform device; restarts the input when changed.
    bool UseDirectInput() const { return useDirectInput_; }
    void SetUseDirectInput(bool value);

    TJoystick& Joystick() { return *joystick_; }
    TKeyboard& Keyboard() { return *keyboard_; }
    TMouse& Mouse() { return *mouse_; }
    // Joystick, keyboard, mouse: the order in which they are polled.
    const std::vector<TCustomInput*>& Devices() const { return devices_; }

    // A state enters when it becomes held and leaves when it is released; the program may
    // remove states itself, and a removed state comes back only with a new press.
    TInputStates States;
    // The combined device states of the last poll.
    const TInputStates& PreviousStates() const { return previousStates_; }

    // One snapshot of every device.
    void Poll();
    // End of loading: starts the input.
    void Loaded() override;

    // Used by the devices.
    platform::Platform& Platform() const { return platform_; }
    // The platform's input object while the input is started with UseDirectInput; else null.
    platform::Platform* DirectInput() const { return directInput_; }
    bool OwnerFormInFront() const { return platform_.IsForeground(); }

private:
    static TForm& RequireForm(const TComponent& self);
    void StartInput();
    void FinishInput();
    void SetCooperativeLevels();
    void AcquireDevices();

    TForm& form_;
    platform::Platform& platform_;
    bool activeOnly_ = true;
    bool useDirectInput_ = true;
    std::unique_ptr<TJoystick> joystick_;
    std::unique_ptr<TKeyboard> keyboard_;
    std::unique_ptr<TMouse> mouse_;
    std::vector<TCustomInput*> devices_;
    TInputStates previousStates_;
    platform::Platform* directInput_ = nullptr;
    int hook_ = 0;
};

// The input component of a form.
class TDXInput : public TCustomDXInput {
public:
    using TCustomDXInput::TCustomDXInput;
};
