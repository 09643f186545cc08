#pragma once
// What the expression language needs of a data set and its fields: names,
// the field list and the current record's values. Report code reaches data
// sets only through this narrow interface.

#include <cstdint>
#include <string>
#include <vector>

namespace report {

// The field classes the evaluator tells apart.
enum class TRpFieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
};

class TRpFieldAccess {
public:
    virtual ~TRpFieldAccess() = default;
    virtual std::string FieldName() const = 0;
    virtual TRpFieldType DataType() const = 0;
    virtual std::string AsString() const = 0;
    virtual std::int32_t AsInteger() const = 0;
    virtual double AsFloat() const = 0;
    virtual bool AsBoolean() const = 0;
    // The text shown for the current value (dates in the locale's format).
    virtual std::string DisplayText() const = 0;
};

class TRpDataSetAccess {
public:
    virtual ~TRpDataSetAccess() = default;
    // The data set's component name.
    virtual std::string Name() const = 0;
    // True when the fields are created anew each time the data set opens,
    // so a field must be fetched again by its position before use.
    virtual bool DefaultFields() const = 0;
    virtual int FieldCount() const = 0;
    virtual TRpFieldAccess* Field(int index) const = 0;
    // Position of the field of that name (letter case ignored), or -1.
    virtual int FieldIndex(const std::string& name) const;
};

using TRpDataSetList = std::vector<TRpDataSetAccess*>;

} // namespace report
