#include "platform/web/OleVariant.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Letters.h"

#include <cmath>
#include <cstdlib>
#include <cstdio>

namespace web {

std::int32_t TOleVariant::AsInteger() const
{
    if (IsDouble())
        return static_cast<std::int32_t>(std::nearbyint(std::get<double>(value_)));
    if (IsString()) {
        const std::string& text = std::get<std::string>(value_);
        char* end = nullptr;
        const long value = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0')
            throw core::EConvertError("'" + text + "' is not a valid integer value");
        return static_cast<std::int32_t>(value);
    }
    if (IsBoolean())
        return std::get<bool>(value_) ? -1 : 0;
    return IsInteger() ? std::get<std::int32_t>(value_) : 0;
}

double TOleVariant::AsDouble() const
{
    if (IsString()) {
        const std::string& text = std::get<std::string>(value_);
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0')
            throw core::EConvertError("'" + text + "' is not a valid floating point value");
        return value;
    }
    if (IsDouble())
        return std::get<double>(value_);
    return AsInteger();
}

bool TOleVariant::AsBoolean() const
{
    if (IsString()) {
        const std::string& text = std::get<std::string>(value_);
        if (core::SameText(text, "true"))
            return true;
        if (core::SameText(text, "false"))
            return false;
        return AsInteger() != 0;
    }
    if (IsBoolean())
        return std::get<bool>(value_);
    if (IsDouble())
        return std::get<double>(value_) != 0;
    return AsInteger() != 0;
}

std::string TOleVariant::AsString() const
{
    if (IsString())
        return std::get<std::string>(value_);
    if (IsBoolean())
        return std::get<bool>(value_) ? "True" : "False";
    if (IsDouble()) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.15g", std::get<double>(value_));
        return buf;
    }
    if (IsInteger())
        return std::to_string(std::get<std::int32_t>(value_));
    return {};
}

} // namespace web
