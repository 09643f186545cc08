#include "platform/data/Variant.h"

#include "platform/core/Letters.h"
#include "platform/core/FormatSettings.h"

#include <cmath>
#include <limits>

namespace data {

Variant Variant::FromDateTime(double value)
{
    Variant v;
    v.type_ = varDate;
    v.real_ = value;
    return v;
}

const char* Variant::TypeName(TVarType type)
{
    switch (type) {
    case varNull: return "Null";
    case varInteger: return "Integer";
    case varDouble: return "Double";
    case varString: return "String";
    case varBoolean: return "Boolean";
    case varDate: return "Date";
    }
    return "Unknown";
}

void Variant::CannotConvert(TVarType to) const
{
    throw EVariantError(std::string("Could not convert variant of type (") + TypeName(type_) +
                        ") into type (" + TypeName(to) + ")");
}

std::int64_t Variant::AsInt64() const
{
    switch (type_) {
    case varInteger: return int_;
    case varBoolean: return int_ ? -1 : 0;
    case varDouble:
    case varDate:
        // Halves go to the even neighbour, as the class library rounds.
        if (std::isfinite(real_) && std::fabs(real_) < 9.2e18)
            return static_cast<std::int64_t>(std::nearbyint(real_));
        break;
    case varString: {
        std::int64_t i;
        if (core::TryStrToInt64(text_, i))
            return i;
        double d;
        if (core::TryStrToFloat(text_, d) && std::fabs(d) < 9.2e18)
            return static_cast<std::int64_t>(std::nearbyint(d));
        break;
    }
    case varNull: break;
    }
    CannotConvert(varInteger);
}

int Variant::AsInteger() const
{
    const std::int64_t v = AsInt64();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw EVariantError("Overflow while converting variant of type (" + std::string(TypeName(type_)) +
                            ") into type (Integer)");
    return static_cast<int>(v);
}

double Variant::AsReal(TVarType to, TRealParser parse) const
{
    switch (type_) {
    case varInteger: return static_cast<double>(int_);
    case varBoolean: return int_ ? -1.0 : 0.0;
    case varDouble:
    case varDate: return real_;
    case varString: {
        double d;
        if (parse(text_, d))
            return d;
        break;
    }
    case varNull: break;
    }
    CannotConvert(to);
}

double Variant::AsFloat() const
{
    return AsReal(varDouble, [](std::string_view text, double& value) { return core::TryStrToFloat(text, value); });
}

bool Variant::AsBoolean() const
{
    switch (type_) {
    case varInteger:
    case varBoolean: return int_ != 0;
    case varDouble:
    case varDate: return real_ != 0;
    case varString: {
        if (core::SameText(text_, "True"))
            return true;
        if (core::SameText(text_, "False"))
            return false;
        double d;
        if (core::TryStrToFloat(text_, d))
            return d != 0;
        break;
    }
    case varNull: break;
    }
    CannotConvert(varBoolean);
}

double Variant::AsDateTime() const
{
    return AsReal(varDate, [](std::string_view text, double& value) { return core::TryStrToDateTime(text, value); });
}

std::string Variant::AsString() const
{
    switch (type_) {
    case varNull: return {};
    case varInteger: return std::to_string(int_);
    case varBoolean: return int_ ? "True" : "False";
    case varDouble: return core::FloatToStr(real_);
    case varDate: return core::DateTimeToStr(real_);
    case varString: return text_;
    }
    return {};
}

bool operator==(const Variant& a, const Variant& b)
{
    if (a.type_ != b.type_)
        return false;
    switch (a.type_) {
    case varNull: return true;
    case varInteger:
    case varBoolean: return a.int_ == b.int_;
    case varDouble:
    case varDate: return a.real_ == b.real_;
    case varString: return a.text_ == b.text_;
    }
    return false;
}

} // namespace data
