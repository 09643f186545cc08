#include "platform/office/Worksheet.h"

#include "platform/core/Letters.h"
#include "platform/core/Unicode.h"
#include "platform/office/OleException.h"
#include "platform/office/Workbook.h"

#include <algorithm>
#include <utility>

namespace office {

namespace {

// Cells a single call may touch one by one; a larger rectangle that is not
// whole columns would take the machine's memory, not format a sheet.
constexpr std::uint64_t kMaxCellsPerCall = 1u << 22;

// A cell holds at most this many UTF-16 units of text.
constexpr std::size_t kMaxTextLength = 32767;

std::uint64_t CellCount(const TCellRect& rect) {
    return std::uint64_t{rect.lastRow - rect.firstRow + 1} * (rect.lastColumn - rect.firstColumn + 1);
}

} // namespace

TWorksheet::TWorksheet(TWorkbook& workbook, std::string name) : workbook_(&workbook), name_(std::move(name)) {}

void TWorksheet::SetName(const std::string& name) {
    const std::size_t length = core::Utf8Length(name);
    if (length == 0 || length > 31)
        throw EOleException("A sheet name must have 1 to 31 characters: \"" + name + "\"");
    if (name.find_first_of(":\\/?*[]") != std::string::npos || name.front() == '\'' || name.back() == '\'')
        throw EOleException("A sheet name must not contain : \\ / ? * [ ] nor begin or end with an apostrophe: \"" +
                            name + "\"");
    TWorksheets& sheets = workbook_->Worksheets();
    for (int i = 1; i <= sheets.Count(); ++i) {
        const TWorksheet& other = sheets.Item(i);
        if (&other != this && core::AnsiSameText(other.Name(), name))
            throw EOleException("The sheet name \"" + name + "\" is already taken");
    }
    name_ = name;
}

TRange TWorksheet::Range(std::string_view address) {
    const auto rect = ParseCellAddress(address);
    if (!rect)
        throw EOleException("Invalid range address \"" + std::string(address) + "\"");
    return TRange(*this, *rect);
}

const TCell* TWorksheet::FindCell(std::uint32_t row, std::uint32_t column) const {
    const auto rowIt = rows_.find(row);
    if (rowIt == rows_.end())
        return nullptr;
    const std::vector<TCell>& cells = rowIt->second.cells;
    const auto it = std::lower_bound(cells.begin(), cells.end(), column,
                                     [](const TCell& cell, std::uint32_t c) { return cell.column < c; });
    return it != cells.end() && it->column == column ? &*it : nullptr;
}

TCell& TWorksheet::CellAt(std::uint32_t row, std::uint32_t column) {
    std::vector<TCell>& cells = rows_[row].cells;
    // Rows are filled from left to right: look at the end first.
    if (cells.empty() || cells.back().column < column) {
        const auto columnIt = columns_.find(column);
        const std::uint32_t style = columnIt == columns_.end() ? TCellStylePool::kDefault : columnIt->second.style;
        return cells.emplace_back(TCell{column, TTextPool::kNone, style});
    }
    auto it = std::lower_bound(cells.begin(), cells.end(), column,
                               [](const TCell& cell, std::uint32_t c) { return cell.column < c; });
    if (it == cells.end() || it->column != column) {
        const auto columnIt = columns_.find(column);
        const std::uint32_t style = columnIt == columns_.end() ? TCellStylePool::kDefault : columnIt->second.style;
        it = cells.insert(it, TCell{column, TTextPool::kNone, style});
    }
    return *it;
}

std::string_view TWorksheet::Text(std::uint32_t row, std::uint32_t column) const {
    const TCell* cell = FindCell(row, column);
    if (cell == nullptr || cell->text == TTextPool::kNone)
        return {};
    return workbook_->Texts()[cell->text];
}

void TWorksheet::SetText(const TCellRect& rect, std::string_view text) {
    if (rect.WholeColumns() || CellCount(rect) > kMaxCellsPerCall)
        throw EOleException("A value cannot be set on so large a range: " + CellRectAddress(rect));
    // A UTF-16 unit takes at least one byte of UTF-8, so short texts need no count.
    if (text.size() > kMaxTextLength && core::Utf8ToUtf16(text).size() > kMaxTextLength)
        throw EOleException("A cell holds at most 32767 characters");

    const std::uint32_t id = text.empty() ? TTextPool::kNone : workbook_->Texts().Intern(text);
    for (std::uint32_t row = rect.firstRow; row <= rect.lastRow; ++row) {
        for (std::uint32_t column = rect.firstColumn; column <= rect.lastColumn; ++column) {
            if (id == TTextPool::kNone && FindCell(row, column) == nullptr)
                continue;
            CellAt(row, column).text = id;
        }
    }
}

const TCellStyle& TWorksheet::StyleAt(std::uint32_t row, std::uint32_t column) const {
    const TCellStylePool& styles = workbook_->Styles();
    if (const TCell* cell = FindCell(row, column))
        return styles[cell->style];
    const auto columnIt = columns_.find(column);
    return styles[columnIt == columns_.end() ? TCellStylePool::kDefault : columnIt->second.style];
}

void TWorksheet::Restyle(const TCellRect& rect, const TStyleChange& change) {
    TCellStylePool& styles = workbook_->Styles();
    auto restyle = [&](std::uint32_t& style, std::uint32_t row, std::uint32_t column) {
        TCellStyle changed = styles[style];
        change(changed, row, column);
        style = styles.Intern(changed);
    };

    if (rect.WholeColumns()) {
        for (std::uint32_t column = rect.firstColumn; column <= rect.lastColumn; ++column)
            restyle(columns_[column].style, kNoRow, column);
        for (auto& [row, data] : rows_) {
            for (TCell& cell : data.cells) {
                if (cell.column >= rect.firstColumn && cell.column <= rect.lastColumn)
                    restyle(cell.style, row, cell.column);
            }
        }
        return;
    }
    if (CellCount(rect) > kMaxCellsPerCall)
        throw EOleException("Too large a range to format cell by cell: " + CellRectAddress(rect));
    for (std::uint32_t row = rect.firstRow; row <= rect.lastRow; ++row) {
        for (std::uint32_t column = rect.firstColumn; column <= rect.lastColumn; ++column)
            restyle(CellAt(row, column).style, row, column);
    }
}

double TWorksheet::RowHeight(std::uint32_t row) const {
    const auto it = rows_.find(row);
    return it == rows_.end() || it->second.height < 0 ? standardHeight_ : it->second.height;
}

void TWorksheet::SetRowHeight(const TCellRect& rect, double height) {
    if (!(height >= 0 && height <= 409.5))
        throw EOleException("A row height must lie between 0 and 409.5 points");
    if (rect.WholeColumns()) {
        // Every row: the standard height changes and no row keeps its own.
        standardHeight_ = height;
        for (auto& [row, data] : rows_)
            data.height = -1;
        return;
    }
    for (std::uint32_t row = rect.firstRow; row <= rect.lastRow; ++row)
        rows_[row].height = height;
}

double TWorksheet::ColumnWidth(std::uint32_t column) const {
    const auto it = columns_.find(column);
    return it == columns_.end() || it->second.width < 0 ? kStandardWidth : it->second.width;
}

void TWorksheet::SetColumnWidth(const TCellRect& rect, double width) {
    if (!(width >= 0 && width <= 255))
        throw EOleException("A column width must lie between 0 and 255 characters");
    for (std::uint32_t column = rect.firstColumn; column <= rect.lastColumn; ++column)
        columns_[column].width = width;
}

TWorksheet& TWorksheets::Item(int index) {
    return const_cast<TWorksheet&>(std::as_const(*this).Item(index));
}

const TWorksheet& TWorksheets::Item(int index) const {
    if (index < 1 || index > Count())
        throw EOleException("Invalid sheet index " + std::to_string(index));
    return *sheets_[static_cast<std::size_t>(index - 1)];
}

TWorksheet& TWorksheets::Add() {
    for (int n = Count() + 1;; ++n) {
        const std::string name = "List" + std::to_string(n);
        const bool taken = std::any_of(sheets_.begin(), sheets_.end(), [&name](const auto& sheet) {
            return core::AnsiSameText(sheet->Name(), name);
        });
        if (!taken) {
            sheets_.push_back(std::make_unique<TWorksheet>(*workbook_, name));
            return *sheets_.back();
        }
    }
}

} // namespace office
