#pragma once
// Points, sizes and rectangles in integer device units, as the class library's
// drawing calls take them. A rectangle excludes its right and bottom edges.

#include <cstdint>

namespace gfx {

struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(std::int32_t x, std::int32_t y) { return {x, y}; }
constexpr TRect Rect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    return {left, top, right, bottom};
}
constexpr TRect Bounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    return {left, top, left + width, top + height};
}

// The common part of two rectangles; an empty rectangle when they do not meet.
TRect IntersectRect(const TRect& a, const TRect& b);
// The smallest rectangle holding both; an empty one does not count.
TRect UnionRect(const TRect& a, const TRect& b);

} // namespace gfx
