#pragma once

#include <memory>
#include <string>
#include <vector>

class TApplication;
class TForm;

enum class TOperation { opInsert, opRemove };

// A named part of a form. Its owner owns it and destroys it, last-made first; the other
// components of the owner are told when one is inserted or removed, so that references
// to it can be cleared.
class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_[static_cast<std::size_t>(index)].get(); }
    TComponent* FindComponent(const std::string& name) const;

    // Takes ownership of a component made with this one as its owner.
    TComponent& InsertComponent(std::unique_ptr<TComponent> component);
    // Destroys the owned components, the last inserted first.
    void DestroyComponents();

    // Stored state is being applied; property writes only store their values until Loaded.
    bool Loading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    // End of loading from the stored form.
    virtual void Loaded() { loading_ = false; }
    // Forms are never edited at run time.
    bool Designing() const { return false; }

    // A component of the same owner was inserted or is about to be removed.
    virtual void Notification(TComponent* component, TOperation operation);

    // The nearest form among the owners (this component itself if it is one), or null.
    TForm* OwnerForm() const;
    // The application of the owning form, or null.
    TApplication* FindApplication() const;

private:
    TComponent* owner_;
    std::string name_;
    std::vector<std::unique_ptr<TComponent>> components_;
    bool loading_ = false;
};

// Makes a component of type T owned by `owner` and returns it.
template <class T, class... Args> T& CreateComponent(TComponent& owner, Args&&... args) {
    auto component = std::make_unique<T>(&owner, std::forward<Args>(args)...);
    T& made = *component;
    owner.InsertComponent(std::move(component));
    return made;
}
