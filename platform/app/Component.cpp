#include "platform/app/Component.h"

#include "platform/app/Form.h"

TComponent::TComponent(TComponent* owner) : owner_(owner) {}

TComponent::~TComponent() {
    DestroyComponents();
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (const auto& c : components_) {
        if (c->Name() == name) {
            return c.get();
        }
    }
    return nullptr;
}

TComponent& TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
    TComponent& inserted = *component;
    inserted.owner_ = this;
    components_.push_back(std::move(component));
    Notification(&inserted, TOperation::opInsert);
    return inserted;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        std::unique_ptr<TComponent> last = std::move(components_.back());
        components_.pop_back();
        // The others let go of it while it still exists.
        Notification(last.get(), TOperation::opRemove);
        last.reset();
    }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    for (std::size_t i = 0; i < components_.size(); ++i) {
        if (components_[i].get() != component) {
            components_[i]->Notification(component, operation);
        }
    }
}

TForm* TComponent::OwnerForm() const {
    for (const TComponent* c = this; c != nullptr; c = c->owner_) {
        if (auto* form = dynamic_cast<const TForm*>(c)) {
            return const_cast<TForm*>(form);
        }
    }
    return nullptr;
}

TApplication* TComponent::FindApplication() const {
    TForm* form = OwnerForm();
    return form ? &form->Application() : nullptr;
}
