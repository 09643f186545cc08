#include "platform/core/ClassRegistry.h"

#include <algorithm>

namespace core {

namespace {

struct ClassEntry {
    std::string Name;
    TComponentFactory Create;
};

std::vector<ClassEntry>& Classes()
{
    static std::vector<ClassEntry> classes;
    return classes;
}

std::vector<ClassEntry>::iterator Find(const std::string& name)
{
    auto& classes = Classes();
    return std::find_if(classes.begin(), classes.end(), [&](const ClassEntry& e) { return e.Name == name; });
}

} // namespace

void RegisterClass(const std::string& name, TComponentFactory create)
{
    if (Find(name) != Classes().end())
        throw EFilerError("A class named " + name + " already exists");
    Classes().push_back({name, std::move(create)});
}

void UnRegisterClass(const std::string& name)
{
    auto it = Find(name);
    if (it != Classes().end())
        Classes().erase(it);
}

bool IsClassRegistered(const std::string& name)
{
    return Find(name) != Classes().end();
}

TComponent* CreateComponentOfClass(const std::string& name, TComponent* owner)
{
    auto it = Find(name);
    if (it == Classes().end())
        throw EClassNotFound("Class " + name + " not found");
    return it->Create(owner);
}

std::vector<std::string> RegisteredClassNames()
{
    std::vector<std::string> names;
    for (const ClassEntry& entry : Classes())
        names.push_back(entry.Name);
    return names;
}

} // namespace core
