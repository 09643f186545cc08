#pragma once
// A draw grid: a table of cells that the program paints itself (OnDrawCell).
// Rows scroll vertically a whole row at a time; choosing a cell, by the
// mouse, the keys or the program, asks OnSelectCell first, which may refuse.

#include "platform/ui/controls/Grids.h"
#include "platform/ui/kernel/WinControl.h"

#include <QRect>

#include <functional>
#include <vector>

class QPainter;

namespace ui {

enum TGridDrawStateFlag : unsigned { gdSelected = 1u << 0, gdFocused = 1u << 1, gdFixed = 1u << 2 };
using TGridDrawState = unsigned;

// rect: the cell in the grid's client pixels; the grid's Painter draws there.
using TDrawCellEvent =
    std::function<void(core::TObject* sender, int col, int row, const QRect& rect, TGridDrawState state)>;
using TSelectCellEvent = std::function<void(core::TObject* sender, int col, int row, bool& canSelect)>;

class TDrawGrid : public TWinControl {
public:
    explicit TDrawGrid(core::TComponent* owner);
    std::string ClassName() const override { return "TDrawGrid"; }

    int ColCount() const { return colCount_; }
    void SetColCount(int count);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int count);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int count);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int count);

    int DefaultColWidth() const { return defaultColWidth_; }
    // Gives every column this width.
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    // Gives every row this height.
    void SetDefaultRowHeight(int height);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);

    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);

    int Col() const { return col_; }
    int Row() const { return row_; }
    // Moves the current cell there when OnSelectCell allows it.
    void SetCol(int col) { SelectCell(col, row_); }
    void SetRow(int row) { SelectCell(col_, row); }
    // The first scrollable row shown at the top.
    int TopRow() const { return topRow_; }
    void SetTopRow(int row);
    // Rows that fit whole below the fixed rows.
    int VisibleRowCount() const;
    // The cell's rectangle in client pixels; empty when it is not shown.
    QRect CellRect(int col, int row) const;
    // The cell under a client point, or false.
    bool MouseToCell(int x, int y, int& col, int& row) const;

    // The painter of the cell being drawn; null outside OnDrawCell.
    QPainter* Painter() const { return painter_; }

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    core::TNotifyEvent OnResize;

protected:
    // Asks OnSelectCell and, when it agrees, makes the cell current and shows it.
    bool SelectCell(int col, int row);
    void BoundsChanged() override;

private:
    class GridWidget;
    friend class GridWidget;
    GridWidget* grid() const;
    void PaintCells(QPainter& painter);
    void Reshape();
    void UpdateScrollBar();
    int ScrollableRowCount() const;
    // The rows on screen: the fixed ones, then those from the top row down.
    std::vector<int> ShownRows() const;

    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    TGridOptions options_ = 0;
    int col_ = 1;
    int row_ = 1;
    int topRow_ = 1;
    QPainter* painter_ = nullptr;
    int lastWidth_ = -1;
    int lastHeight_ = -1;
};

} // namespace ui
