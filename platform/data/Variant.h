#pragma once
// A small variant: the value of a field as the data sets hand it out
// (TField::AsVariant) and take it in. It holds nothing (Null), an integer, a
// floating-point number, a text, a Boolean or a date-time.
//
// Conversions follow the class library's variants: numbers and dates convert
// into each other, a Boolean is -1 or 0 as a number, texts are parsed with the
// process-wide format settings, and a conversion that cannot be made raises
// EVariantError. AsString of Null is the empty text.

#include "platform/core/Exceptions.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace data {

enum TVarType { varNull, varInteger, varDouble, varString, varBoolean, varDate };

class EVariantError : public core::Exception {
public:
    using core::Exception::Exception;
};

// Reads a number or a date-time from a text; false when the text holds none.
using TRealParser = bool (*)(std::string_view text, double& value);

class Variant {
public:
    Variant() = default;
    Variant(int value) : type_(varInteger), int_(value) {}
    Variant(std::int64_t value) : type_(varInteger), int_(value) {}
    Variant(double value) : type_(varDouble), real_(value) {}
    Variant(bool value) : type_(varBoolean), int_(value ? 1 : 0) {}
    Variant(std::string value) : type_(varString), text_(std::move(value)) {}
    Variant(const char* value) : type_(varString), text_(value) {}
    static Variant Null() { return Variant(); }
    static Variant FromDateTime(double value);

    TVarType VarType() const noexcept { return type_; }
    bool IsNull() const noexcept { return type_ == varNull; }

    std::int64_t AsInt64() const;
    int AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    double AsDateTime() const;
    std::string AsString() const;

    // The name of a type as error messages give it ("Integer", "String"...).
    static const char* TypeName(TVarType type);

    // Equal when both are Null, or both hold the same kind of value and the same value.
    friend bool operator==(const Variant& a, const Variant& b);

private:
    [[noreturn]] void CannotConvert(TVarType to) const;
    // The value as a double, or as date-time (to varDate), a text read by parse.
    double AsReal(TVarType to, TRealParser parse) const;

    TVarType type_ = varNull;
    std::int64_t int_ = 0; // integer, Boolean
    double real_ = 0;      // double, date-time
    std::string text_;
};

} // namespace data
