#pragma once
// The value passed in and out of the engine's commands and read from the page:
// empty, a Boolean, a 32-bit integer, a double or a text (UTF-8).

#include <cstdint>
#include <string>
#include <variant>

namespace web {

class TOleVariant {
public:
    TOleVariant() = default;
    TOleVariant(bool value) : value_(value) {}
    TOleVariant(std::int32_t value) : value_(value) {}
    TOleVariant(double value) : value_(value) {}
    TOleVariant(std::string value) : value_(std::move(value)) {}
    TOleVariant(const char* value) : value_(std::string(value)) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool IsBoolean() const { return std::holds_alternative<bool>(value_); }
    bool IsInteger() const { return std::holds_alternative<std::int32_t>(value_); }
    bool IsDouble() const { return std::holds_alternative<double>(value_); }
    bool IsString() const { return std::holds_alternative<std::string>(value_); }

    // Conversions as the engine makes them: numbers from texts, "true"/"false",
    // an empty value as 0, False or "". A text that is no number raises EConvertError.
    std::int32_t AsInteger() const;
    double AsDouble() const;
    bool AsBoolean() const;
    std::string AsString() const;

    bool operator==(const TOleVariant&) const = default;

private:
    std::variant<std::monostate, bool, std::int32_t, double, std::string> value_;
};

} // namespace web
