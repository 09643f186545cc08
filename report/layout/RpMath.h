#pragma once
// The report engine's rounding: to the nearest integer with halves going to
// the even one, and truncation toward zero. Values outside the 32-bit range
// are clamped rather than left undefined.

#include <cmath>
#include <cstdint>
#include <limits>

namespace report {

namespace detail {
inline std::int32_t ClampToInt32(long double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<long double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (value <= static_cast<long double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}
} // namespace detail

// Nearest integer, halves to even (the default rounding mode).
inline std::int32_t RpRound(long double value)
{
    return detail::ClampToInt32(std::nearbyint(value));
}

// The integer part, cut toward zero.
inline std::int32_t RpTrunc(long double value)
{
    return detail::ClampToInt32(std::trunc(value));
}

} // namespace report
