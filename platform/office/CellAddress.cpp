#include "platform/office/CellAddress.h"

#include <algorithm>

namespace office {

namespace {

struct TRef {
    std::optional<std::uint32_t> row;
    std::optional<std::uint32_t> column;
};

// One reference: [$]letters[$]digits, or [$]letters alone (a whole column).
std::optional<TRef> ParseRef(std::string_view text) {
    std::size_t pos = 0;
    TRef ref;
    if (pos < text.size() && text[pos] == '$')
        ++pos;
    std::uint64_t column = 0;
    std::size_t letters = 0;
    while (pos < text.size()) {
        char c = text[pos];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z')
            break;
        column = column * 26 + static_cast<std::uint64_t>(c - 'A' + 1);
        if (++letters > 3)
            return std::nullopt;
        ++pos;
    }
    if (letters == 0 || column > kMaxColumns)
        return std::nullopt;
    ref.column = static_cast<std::uint32_t>(column - 1);
    if (pos == text.size())
        return ref;

    if (text[pos] == '$')
        ++pos;
    std::uint64_t row = 0;
    std::size_t digits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        row = row * 10 + static_cast<std::uint64_t>(text[pos] - '0');
        if (++digits > 7)
            return std::nullopt;
        ++pos;
    }
    if (digits == 0 || pos != text.size() || row == 0 || row > kMaxRows)
        return std::nullopt;
    ref.row = static_cast<std::uint32_t>(row - 1);
    return ref;
}

} // namespace

std::optional<TCellRect> ParseCellAddress(std::string_view address) {
    const std::size_t colon = address.find(':');
    const auto first = ParseRef(address.substr(0, colon));
    if (!first)
        return std::nullopt;
    if (colon == std::string_view::npos) {
        if (!first->row)
            return std::nullopt;
        return TCellRect{*first->row, *first->column, *first->row, *first->column};
    }
    const auto second = ParseRef(address.substr(colon + 1));
    if (!second || first->row.has_value() != second->row.has_value())
        return std::nullopt;

    TCellRect rect;
    rect.firstColumn = std::min(*first->column, *second->column);
    rect.lastColumn = std::max(*first->column, *second->column);
    if (first->row) {
        rect.firstRow = std::min(*first->row, *second->row);
        rect.lastRow = std::max(*first->row, *second->row);
    } else {
        rect.firstRow = 0;
        rect.lastRow = kMaxRows - 1;
    }
    return rect;
}

std::string ColumnName(std::uint32_t column) {
    std::string name;
    for (std::uint32_t n = column + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

std::string CellRectAddress(const TCellRect& rect) {
    if (rect.WholeColumns())
        return "$" + ColumnName(rect.firstColumn) + ":$" + ColumnName(rect.lastColumn);
    std::string address = "$" + ColumnName(rect.firstColumn) + "$" + std::to_string(rect.firstRow + 1);
    if (rect.lastRow != rect.firstRow || rect.lastColumn != rect.firstColumn)
        address += ":$" + ColumnName(rect.lastColumn) + "$" + std::to_string(rect.lastRow + 1);
    return address;
}

} // namespace office
