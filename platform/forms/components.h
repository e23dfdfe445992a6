// platform/forms/components.h
// The root of the class library and ownership: a component deletes the components it owns when
// it is deleted itself.
#pragma once

#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
    // The class's own name; a form's window class is registered under it.
    virtual const char* ClassName() const { return "TObject"; }
};

class TComponent : public TObject {
public:
    // The owner (may be null) takes this component into its list.
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    // Deletes the owned components, the newest first.
    void DestroyComponents();
    const char* ClassName() const override { return "TComponent"; }

private:
    void Remove(TComponent* component);

    TComponent* owner_;
    std::vector<TComponent*> components_;
};
