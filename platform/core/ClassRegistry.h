#pragma once
// The process-wide registry of component classes by name, through which a
// stored description that names a class ("TRpChildBand") makes an object of
// it without any other reference to the class.

#include "platform/core/Component.h"
#include "platform/core/FilerError.h"

#include <functional>
#include <string>
#include <vector>

namespace core {

class EClassNotFound : public EFilerError {
public:
    using EFilerError::EFilerError;
};

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

// Registers a class under its name; a second class of the same name raises
void RegisterClass(const std::string& name, TComponentFactory create);
// Forgets the class; an unknown name is ignored.
void UnRegisterClass(const std::string& name);
bool IsClassRegistered(const std::string& name);
// A new component of the named class, owned by owner; EClassNotFound
// "Class <name> not found" when no class of that name is registered.
TComponent* CreateComponentOfClass(const std::string& name, TComponent* owner);
// The registered names in the order they were registered.
std::vector<std::string> RegisteredClassNames();

template <class T>
void RegisterComponentClass(const std::string& name)
{
    RegisterClass(name, [](TComponent* owner) -> TComponent* { return new T(owner); });
}

} // namespace core
