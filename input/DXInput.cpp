#include "input/DXInput.h"

#include "platform/app/Application.h"
#include "platform/app/Form.h"

TCustomDXInput::TCustomDXInput(TComponent* owner)
    : TComponent(owner), form_(RequireForm(*this)), platform_(form_.Application().Platform()),
      joystick_(std::make_unique<TJoystick>(*this)), keyboard_(std::make_unique<TKeyboard>(*this)),
      mouse_(std::make_unique<TMouse>(*this)), devices_{joystick_.get(), keyboard_.get(), mouse_.get()} {
    hook_ = form_.AddHook([this](TFormMessage message) {
        if (message == TFormMessage::WindowCreated) {
            // A new window: the devices must be bound to it again.
            SetCooperativeLevels();
        } else if (message == TFormMessage::Activated) {
            AcquireDevices();
        }
    });
}

TCustomDXInput::~TCustomDXInput() {
    FinishInput();
    form_.RemoveHook(hook_);
}

TForm& TCustomDXInput::RequireForm(const TComponent& self) {
    TForm* form = self.OwnerForm();
    if (form == nullptr) {
        throw EDXInputError("Form not found");
    }
    return *form;
}

void TCustomDXInput::SetActiveOnly(bool value) {
    activeOnly_ = value;
    if (!Loading()) {
        SetCooperativeLevels();
    }
}

void TCustomDXInput::SetUseDirectInput(bool value) {
    if (value == useDirectInput_) {
        return;
    }
    useDirectInput_ = value;
    if (!Loading()) {
        StartInput();
    }
}

void TCustomDXInput::Loaded() {
    TComponent::Loaded();
    StartInput();
}

void TCustomDXInput::StartInput() {
    FinishInput();
    if (Designing()) {
        return;
    }
    if (useDirectInput_) {
        directInput_ = &platform_;
    }
    for (TCustomInput* device : devices_) {
        device->Initialize();
    }
    SetCooperativeLevels();
    Poll();
}

void TCustomDXInput::FinishInput() {
    for (TCustomInput* device : devices_) {
        device->Finalize();
    }
    directInput_ = nullptr;
}

void TCustomDXInput::SetCooperativeLevels() {
    for (TCustomInput* device : devices_) {
        device->SetCooperativeLevel();
    }
}

void TCustomDXInput::AcquireDevices() {
    if (activeOnly_ && !OwnerFormInFront()) {
        return;
    }
    for (TCustomInput* device : devices_) {
        device->Acquire();
    }
}

void TCustomDXInput::Poll() {
    TInputStates held;
    for (TCustomInput* device : devices_) {
        device->Poll();
        if (device->BindInputStates) {
            held |= device->DeviceStates();
        }
    }
    // Only changes since the last poll touch States, so a state the program removed stays
    // out until its key is released and pressed again.
    const TInputStates pressed = held & ~previousStates_;
    const TInputStates released = previousStates_ & ~held;
    States |= pressed;
    States &= ~released;
    previousStates_ = held;
}
