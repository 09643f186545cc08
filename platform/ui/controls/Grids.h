#pragma once
// A string grid: a table of text cells whose first rows and columns may be
// fixed (headings, never edited). With goEditing the user edits the other
// cells in place; every edit the user makes is reported by OnSetEditText.

#include "platform/ui/kernel/WinControl.h"

#include <functional>
#include <string>

class QTableWidget;

namespace ui {

enum TGridOption : unsigned {
    goColSizing = 1u << 0,
    goEditing = 1u << 1,
    goRowSelect = 1u << 2,
};
using TGridOptions = unsigned;

using TSetEditEvent = std::function<void(core::TObject* sender, int col, int row, const std::string& value)>;

class TStringGrid : public TWinControl {
public:
    explicit TStringGrid(core::TComponent* owner);
    std::string ClassName() const override { return "TStringGrid"; }

    int ColCount() const { return colCount_; }
    void SetColCount(int count);
    // A grid may hold only its fixed rows (headings over no data).
    int RowCount() const { return rowCount_; }
    void SetRowCount(int count);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int count);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int count);

    // The text of a cell; cells outside the grid read empty and take nothing.
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& text);

    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int height);

    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);

    // The current cell; never a fixed one while there are other cells.
    int Col() const;
    int Row() const;
    void SetCol(int col);
    void SetRow(int row);

    // The user finished editing a cell; the cell already holds the value.
    TSetEditEvent OnSetEditText;
    core::TNotifyEvent OnDblClick;

private:
    QTableWidget* table() const;
    void Reshape();
    void StyleCell(int col, int row);

    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    TGridOptions options_ = 0;
    bool updating_ = false;
};

} // namespace ui
