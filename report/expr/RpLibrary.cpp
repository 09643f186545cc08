#include "report/expr/RpLibrary.h"

#include "report/expr/RpExprUnit.h"
#include "report/expr/RpMessages.h"

namespace report {

int TRpLibraryEntry::Category() const
{
    if (ArgumentSignature.empty() || ArgumentSignature[0] < '0' || ArgumentSignature[0] > '9')
        return 0;
    return ArgumentSignature[0] - '0';
}

std::string TRpLibraryEntry::ArgumentLetters() const
{
    return ArgumentSignature.empty() ? std::string() : ArgumentSignature.substr(1);
}

std::string TRpLibraryEntry::Syntax() const { return Description.substr(0, Description.find('|')); }

std::string TRpLibraryEntry::Explanation() const
{
    const auto bar = Description.find('|');
    return bar == std::string::npos ? std::string() : Description.substr(bar + 1);
}

TRpLibrary::TRpLibrary() { EntryList.SetOwnsObjects(true); }

void TRpLibrary::AddEntry(TRpEvElementFunctionClass elementClass, const std::string& name,
                          const std::string& description, const std::string& argumentSignature,
                          const std::string& vendor)
{
    auto entry = std::make_unique<TRpLibraryEntry>();
    entry->Description = description;
    entry->ArgumentSignature = argumentSignature;
    entry->ElementClass = elementClass;
    entry->Name = name;
    entry->Vendor = vendor;
    EntryList.AddObject(name, entry.release());
}

TRpLibraryEntry* TRpLibrary::Entry(int position) const
{
    if (position < 0 || position >= EntryList.Count())
        return nullptr;
    return static_cast<TRpLibraryEntry*>(EntryList.Objects(position));
}

TRpLibraryEntry* TRpLibrary::Find(const std::string& name) const
{
    return Entry(EntryList.IndexOf(name));
}

std::unique_ptr<TRpEvElement> TRpLibrary::CreateElement(const std::string& name) const
{
    const TRpLibraryEntry* entry = Find(name);
    if (entry == nullptr || entry->ElementClass == nullptr)
        return std::make_unique<TRpEvElementError>(FormatMessage(msg::UnknownFunction, {name}));
    return entry->ElementClass();
}

void RegisterReportFunction(TRpEvElementFunctionClass elementClass, const std::string& name,
                            const std::string& description, const std::string& argumentSignature,
                            const std::string& vendor)
{
    FunctionLibrary().AddEntry(elementClass, name, description, argumentSignature, vendor);
}

} // namespace report
