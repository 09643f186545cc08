#pragma once
// The library of named expression functions: each entry names the class that
// implements the function, its description ("syntax|explanation") and its
// argument signature (a category digit, then one letter per argument:
// N numeric, S text, B logical, V any value).

#include "platform/core/StringList.h"
#include "report/expr/RpEvElements.h"

#include <memory>
#include <string>

namespace report {

class TRpLibraryEntry : public core::TObject {
public:
    std::string ClassName() const override { return "TRpLibraryEntry"; }

    std::string Description;
    std::string ArgumentSignature;
    TRpEvElementFunctionClass ElementClass = nullptr;
    std::string Name;
    std::string Vendor;

    // The category digit (1 date and time ... 7 other).
    int Category() const;
    // The argument letters, without the category digit.
    std::string ArgumentLetters() const;
    // The description before and after its first "|".
    std::string Syntax() const;
    std::string Explanation() const;
};

class TRpLibrary : public core::TObject {
public:
    TRpLibrary();
    std::string ClassName() const override { return "TRpLibrary"; }

    // A name already present gets a second entry; lookups find the first.
    void AddEntry(TRpEvElementFunctionClass elementClass, const std::string& name,
                  const std::string& description, const std::string& argumentSignature,
                  const std::string& vendor);
    int Count() const { return EntryList.Count(); }
    // The entry at position, or none beyond the list.
    TRpLibraryEntry* Entry(int position) const;
    // The first entry of that name (letter case ignored), or none.
    TRpLibraryEntry* Find(const std::string& name) const;
    // A new element of the named function, or an error element
    // "Unknown function : <name>" when there is no such function.
    std::unique_ptr<TRpEvElement> CreateElement(const std::string& name) const;

    // Names mapped to their entries, in registration order; owns the entries.
    core::TStringList EntryList;
};

class TRpFunctionLibrary : public TRpLibrary {
public:
    std::string ClassName() const override { return "TRpFunctionLibrary"; }
};

// The process-wide function library (set up by the expression unit's start-up).
TRpFunctionLibrary& FunctionLibrary();

void RegisterReportFunction(TRpEvElementFunctionClass elementClass, const std::string& name,
                            const std::string& description, const std::string& argumentSignature,
                            const std::string& vendor);

} // namespace report
