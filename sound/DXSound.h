#pragma once

#include "platform/app/Component.h"

#include <cstdint>

// The sound component and its wave list. The game carries both on its form but never
// initialises the sound nor plays a wave, so they only keep their settings.
class TDXSound : public TComponent {
public:
    using TComponent::TComponent;
    bool AutoInitialize = true;
    uint16_t Options = 0;
};

class TDXWaveList : public TComponent {
public:
    using TComponent::TComponent;
    TDXSound* DXSound = nullptr;
    int ItemCount() const { return 0; }

    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove && component == DXSound) {
            DXSound = nullptr;
        }
    }
};
