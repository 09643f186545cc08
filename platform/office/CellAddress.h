#pragma once
// Cell addresses in the A1 style: "A1", "$B$4", "A4:D4", whole columns "A:F".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace office {

// The grid of a sheet in memory; saving checks what the file format can hold.
inline constexpr std::uint32_t kMaxRows = 1048576;
inline constexpr std::uint32_t kMaxColumns = 16384;

// A rectangle of cells, 0-based and inclusive on both ends.
struct TCellRect {
    std::uint32_t firstRow = 0;
    std::uint32_t firstColumn = 0;
    std::uint32_t lastRow = 0;
    std::uint32_t lastColumn = 0;

    bool WholeColumns() const { return firstRow == 0 && lastRow == kMaxRows - 1; }
    bool operator==(const TCellRect&) const = default;
};

// Parses an address; nullopt when it is not one of the forms above or lies
// outside the grid. Letters may be in either case; the ends may come in any order.
std::optional<TCellRect> ParseCellAddress(std::string_view address);

// "A", "Z", "AA", ... for a 0-based column.
std::string ColumnName(std::uint32_t column);

// The absolute address of a rectangle: "$A$1", "$A$4:$D$4", "$A:$F".
std::string CellRectAddress(const TCellRect& rect);

} // namespace office
