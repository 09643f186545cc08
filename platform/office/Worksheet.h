#pragma once
// A sheet of a workbook in memory: its cells (text and look), row heights,
// column widths and looks, and its selection.

#include "platform/office/CellAddress.h"
#include "platform/office/CellStyle.h"
#include "platform/office/Range.h"
#include "platform/office/TextPool.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace office {

class TWorkbook;

// The look of the default font: rows 12.75 points high, columns 8.43 characters wide.
inline constexpr double kStandardHeight = 12.75;
inline constexpr double kStandardWidth = 8.43;

struct TCell {
    std::uint32_t column = 0;
    std::uint32_t text = TTextPool::kNone;
    std::uint32_t style = TCellStylePool::kDefault;
};

struct TRow {
    std::vector<TCell> cells;  // ordered by column
    double height = -1;        // points; negative: the sheet's standard height
};

struct TColumn {
    double width = -1;  // characters; negative: the standard width
    std::uint32_t style = TCellStylePool::kDefault;
};

class TWorksheet {
public:
    TWorksheet(TWorkbook& workbook, std::string name);
    TWorksheet(const TWorksheet&) = delete;
    TWorksheet& operator=(const TWorksheet&) = delete;

    TWorkbook& Parent() const { return *workbook_; }

    const std::string& Name() const { return name_; }
    // At most 31 characters, none of : \ / ? * [ ], no apostrophe at either
    // end, not the name of another sheet of the workbook (in any case).
    void SetName(const std::string& name);

    // Raises EOleException for an address that is not "A1", "A4:D4" or "A:F".
    TRange Range(std::string_view address);

    // What ranges read and change.
    std::string_view Text(std::uint32_t row, std::uint32_t column) const;
    void SetText(const TCellRect& rect, std::string_view text);
    // The look of a cell: its own, else its column's, else the default.
    const TCellStyle& StyleAt(std::uint32_t row, std::uint32_t column) const;
    // Calls change for the look of every cell of rect (for whole columns: for
    // the columns' own look, with row kNoRow, and for their existing cells).
    static constexpr std::uint32_t kNoRow = UINT32_MAX;
    using TStyleChange = std::function<void(TCellStyle& style, std::uint32_t row, std::uint32_t column)>;
    void Restyle(const TCellRect& rect, const TStyleChange& change);
    double RowHeight(std::uint32_t row) const;
    void SetRowHeight(const TCellRect& rect, double height);
    double ColumnWidth(std::uint32_t column) const;
    void SetColumnWidth(const TCellRect& rect, double width);
    double StandardHeight() const { return standardHeight_; }

    const TCellRect& Selection() const { return selection_; }
    void SetSelection(const TCellRect& rect) { selection_ = rect; }

    // What the writer reads.
    const std::map<std::uint32_t, TRow>& Rows() const { return rows_; }
    const std::map<std::uint32_t, TColumn>& Columns() const { return columns_; }

private:
    TCell& CellAt(std::uint32_t row, std::uint32_t column);
    const TCell* FindCell(std::uint32_t row, std::uint32_t column) const;

    TWorkbook* workbook_;
    std::string name_;
    std::map<std::uint32_t, TRow> rows_;
    std::map<std::uint32_t, TColumn> columns_;
    double standardHeight_ = kStandardHeight;
    TCellRect selection_{};
};

// The sheets of a workbook, counted from 1.
class TWorksheets {
public:
    explicit TWorksheets(TWorkbook& workbook) : workbook_(&workbook) {}

    int Count() const { return static_cast<int>(sheets_.size()); }
    // Raises EOleException for an index outside 1..Count.
    TWorksheet& Item(int index);
    const TWorksheet& Item(int index) const;
    TWorksheet& operator()(int index) { return Item(index); }
    // Appends a sheet with the next free name "List<n>".
    TWorksheet& Add();

private:
    TWorkbook* workbook_;
    std::vector<std::unique_ptr<TWorksheet>> sheets_;
};

} // namespace office
