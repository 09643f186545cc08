#pragma once
// Objects, persistent objects and components with an owner.
//
// A component is owned by another component (or by nobody). The owner frees
// what it owns when it is freed itself, the last created first. Components
// that hold references to others ask for a free notification and hear of the
// other's destruction through Notification().
//
// C++ destroys the derived part of an object before its base destructor runs,
// so a class whose Notification() must see the removal of the components it
// owns calls DestroyComponents() at the start of its own destructor.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace core {

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The class name of the most derived class, e.g. "TXmlDocument".
    virtual std::string ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class TPersistent : public TObject {
public:
    std::string ClassName() const override { return "TPersistent"; }
    // Copies the content of source; raises EConvertError when the classes do not fit.
    virtual void Assign(TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest);
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : std::uint32_t {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
};

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    std::string ClassName() const override { return "TComponent"; }

    TComponent* Owner() const noexcept { return owner_; }
    const std::string& Name() const noexcept { return name_; }
    // Raises EComponentError when a sibling of the same owner has that name already.
    virtual void SetName(const std::string& name);
    std::intptr_t Tag() const noexcept { return tag_; }
    void SetTag(std::intptr_t tag) noexcept { tag_ = tag; }

    int ComponentCount() const noexcept { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    // Finds an owned component by name, without regard to ASCII letter case.
    TComponent* FindComponent(const std::string& name) const;

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, the last created first.
    void DestroyComponents();

    std::uint32_t ComponentState() const noexcept { return state_; }
    bool HasState(TComponentStateFlag flag) const noexcept { return (state_ & flag) != 0; }
    // Marks the component as being built from a stored description; Loaded() ends it.
    void BeginLoading();
    // Called once the properties of a component have been set up after construction.
    virtual void Loaded();

    // Asks to be told (through Notification) when component is freed.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    // Marks the component and everything it owns as being destroyed.
    void Destroying();
    void SetDesigning(bool designing);

private:
    void RemoveNotification(TComponent* component);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::intptr_t tag_ = 0;
    std::uint32_t state_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

} // namespace core
