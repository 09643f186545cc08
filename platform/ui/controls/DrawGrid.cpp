#include "platform/ui/controls/DrawGrid.h"

#include "platform/ui/kernel/Graphics.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace ui {

namespace {

constexpr int kGridLineWidth = 1;

} // namespace

// The viewport shows the cells; the vertical scroll bar's value is the number
// of scrollable rows above the top row.
class TDrawGrid::GridWidget : public QAbstractScrollArea {
public:
    explicit GridWidget(TDrawGrid* grid) : grid_(grid)
    {
        setFocusPolicy(Qt::StrongFocus);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        viewport()->setAutoFillBackground(true);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
            if (!grid_->HasState(core::csDestroying) && grid_->topRow_ != grid_->fixedRows_ + value) {
                grid_->topRow_ = grid_->fixedRows_ + value;
                viewport()->update();
            }
        });
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (grid_->HasState(core::csDestroying))
            return;
        QPainter painter(viewport());
        grid_->Fire([&] { grid_->PaintCells(painter); });
    }

    void resizeEvent(QResizeEvent* event) override
    {
        QAbstractScrollArea::resizeEvent(event);
        grid_->UpdateScrollBar();
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        setFocus(Qt::MouseFocusReason);
        int col = 0;
        int row = 0;
        QPoint at = event->position().toPoint();
        if (event->button() == Qt::LeftButton && grid_->MouseToCell(at.x(), at.y(), col, row))
            grid_->Fire([&] { grid_->SelectCell(col, row); });
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        int row = grid_->row_;
        int page = std::max(1, grid_->VisibleRowCount());
        switch (event->key()) {
        case Qt::Key_Up: --row; break;
        case Qt::Key_Down: ++row; break;
        case Qt::Key_PageUp: row -= page; break;
        case Qt::Key_PageDown: row += page; break;
        case Qt::Key_Home: row = grid_->fixedRows_; break;
        case Qt::Key_End: row = grid_->rowCount_ - 1; break;
        default: QAbstractScrollArea::keyPressEvent(event); return;
        }
        row = std::clamp(row, grid_->fixedRows_, std::max(grid_->fixedRows_, grid_->rowCount_ - 1));
        grid_->Fire([&] { grid_->SelectCell(grid_->col_, row); });
    }

private:
    TDrawGrid* grid_;
};

TDrawGrid::TDrawGrid(core::TComponent* owner) : TWinControl(owner)
{
    SetWidget(new GridWidget(this));
    Reshape();
    SetBounds(0, 0, 320, 120);
    SetColor(clWindow);
}

TDrawGrid::GridWidget* TDrawGrid::grid() const
{
    return static_cast<GridWidget*>(Widget());
}

void TDrawGrid::Reshape()
{
    colWidths_.resize(static_cast<std::size_t>(colCount_), defaultColWidth_);
    rowHeights_.resize(static_cast<std::size_t>(rowCount_), defaultRowHeight_);
    if (row_ >= rowCount_)
        row_ = std::max(fixedRows_, rowCount_ - 1);
    if (col_ >= colCount_)
        col_ = std::max(fixedCols_, colCount_ - 1);
    row_ = std::max(row_, fixedRows_);
    col_ = std::max(col_, fixedCols_);
    UpdateScrollBar();
    Invalidate();
}

void TDrawGrid::SetColCount(int count)
{
    colCount_ = std::max(0, count);
    fixedCols_ = std::min(fixedCols_, colCount_);
    Reshape();
}

void TDrawGrid::SetRowCount(int count)
{
    rowCount_ = std::max(0, count);
    fixedRows_ = std::min(fixedRows_, rowCount_);
    Reshape();
}

void TDrawGrid::SetFixedCols(int count)
{
    // A current cell at the first scrollable column stays there.
    if (col_ == fixedCols_)
        col_ = std::clamp(count, 0, colCount_);
    fixedCols_ = std::clamp(count, 0, colCount_);
    Reshape();
}

void TDrawGrid::SetFixedRows(int count)
{
    if (row_ == fixedRows_)
        row_ = std::clamp(count, 0, rowCount_);
    fixedRows_ = std::clamp(count, 0, rowCount_);
    topRow_ = std::max(topRow_, fixedRows_);
    Reshape();
    SetTopRow(fixedRows_);
}

void TDrawGrid::SetDefaultColWidth(int width)
{
    defaultColWidth_ = std::max(0, width);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
    Reshape();
}

void TDrawGrid::SetDefaultRowHeight(int height)
{
    defaultRowHeight_ = std::max(0, height);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
    Reshape();
}

int TDrawGrid::ColWidths(int col) const
{
    return col >= 0 && col < colCount_ ? colWidths_[static_cast<std::size_t>(col)] : defaultColWidth_;
}

void TDrawGrid::SetColWidths(int col, int width)
{
    if (col < 0 || col >= colCount_)
        return;
    colWidths_[static_cast<std::size_t>(col)] = std::max(0, width);
    Reshape();
}

int TDrawGrid::RowHeights(int row) const
{
    return row >= 0 && row < rowCount_ ? rowHeights_[static_cast<std::size_t>(row)] : defaultRowHeight_;
}

void TDrawGrid::SetRowHeights(int row, int height)
{
    if (row < 0 || row >= rowCount_)
        return;
    rowHeights_[static_cast<std::size_t>(row)] = std::max(0, height);
    Reshape();
}

void TDrawGrid::SetOptions(TGridOptions options)
{
    options_ = options;
    Invalidate();
}

int TDrawGrid::ScrollableRowCount() const
{
    return rowCount_ - fixedRows_;
}

int TDrawGrid::VisibleRowCount() const
{
    GridWidget* widget = grid();
    int height = widget != nullptr ? widget->viewport()->height() : Height();
    for (int r = 0; r < fixedRows_; ++r)
        height -= RowHeights(r) + kGridLineWidth;
    int count = 0;
    for (int r = topRow_; r < rowCount_; ++r) {
        height -= RowHeights(r) + kGridLineWidth;
        if (height < -kGridLineWidth)
            break;
        ++count;
    }
    return count;
}

void TDrawGrid::UpdateScrollBar()
{
    GridWidget* widget = grid();
    if (widget == nullptr)
        return;
    // The most rows that may lie above the top row while the last one still shows.
    int last = ScrollableRowCount();
    int height = widget->viewport()->height();
    for (int r = 0; r < fixedRows_; ++r)
        height -= RowHeights(r) + kGridLineWidth;
    int fitting = 0;
    for (int r = rowCount_ - 1; r >= fixedRows_; --r) {
        height -= RowHeights(r) + kGridLineWidth;
        if (height < -kGridLineWidth)
            break;
        ++fitting;
    }
    int maximum = std::max(0, last - std::max(1, fitting));
    if (fitting >= last)
        maximum = 0;
    QScrollBar* bar = widget->verticalScrollBar();
    bar->setRange(0, maximum);
    bar->setPageStep(std::max(1, fitting));
    bar->setSingleStep(1);
    if (topRow_ - fixedRows_ > maximum)
        topRow_ = fixedRows_ + maximum;
    bar->setValue(topRow_ - fixedRows_);
}

void TDrawGrid::SetTopRow(int row)
{
    row = std::clamp(row, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
    topRow_ = row;
    UpdateScrollBar();
    Invalidate();
}

QRect TDrawGrid::CellRect(int col, int row) const
{
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_)
        return {};
    if (row >= fixedRows_ && row < topRow_)
        return {};
    int x = 0;
    for (int c = 0; c < col; ++c)
        x += ColWidths(c) + kGridLineWidth;
    int y = 0;
    for (int r = 0; r < fixedRows_ && r < row; ++r)
        y += RowHeights(r) + kGridLineWidth;
    if (row >= fixedRows_)
        for (int r = topRow_; r < row; ++r)
            y += RowHeights(r) + kGridLineWidth;
    GridWidget* widget = grid();
    int height = widget != nullptr ? widget->viewport()->height() : Height();
    if (y >= height)
        return {};
    return {x, y, ColWidths(col), RowHeights(row)};
}

std::vector<int> TDrawGrid::ShownRows() const
{
    std::vector<int> rows;
    GridWidget* widget = grid();
    int height = widget != nullptr ? widget->viewport()->height() : Height();
    int y = 0;
    for (int r = 0; r < fixedRows_ && y < height; ++r) {
        rows.push_back(r);
        y += RowHeights(r) + kGridLineWidth;
    }
    for (int r = topRow_; r < rowCount_ && y < height; ++r) {
        rows.push_back(r);
        y += RowHeights(r) + kGridLineWidth;
    }
    return rows;
}

bool TDrawGrid::MouseToCell(int x, int y, int& col, int& row) const
{
    for (int r : ShownRows())
        for (int c = 0; c < colCount_; ++c) {
            QRect cell = CellRect(c, r);
            if (!cell.isEmpty() && cell.contains(x, y)) {
                col = c;
                row = r;
                return true;
            }
        }
    return false;
}

bool TDrawGrid::SelectCell(int col, int row)
{
    if (col < fixedCols_ || col >= colCount_ || row < fixedRows_ || row >= rowCount_)
        return false;
    bool canSelect = true;
    if (OnSelectCell)
        OnSelectCell(this, col, row, canSelect);
    if (!canSelect)
        return false;
    col_ = col;
    row_ = row;
    // Bring the row into view: above the top it becomes the top row; below
    // the last whole row it becomes the last one.
    if (row_ < topRow_) {
        topRow_ = row_;
    } else {
        GridWidget* widget = grid();
        int available = widget != nullptr ? widget->viewport()->height() : Height();
        for (int r = 0; r < fixedRows_; ++r)
            available -= RowHeights(r) + kGridLineWidth;
        int used = 0;
        int top = row_;
        for (int r = row_; r >= topRow_; --r) {
            used += RowHeights(r) + kGridLineWidth;
            if (used > available + kGridLineWidth)
                break;
            top = r;
        }
        if (used > available + kGridLineWidth)
            topRow_ = top;
    }
    UpdateScrollBar();
    Invalidate();
    if (GridWidget* widget = grid())
        widget->viewport()->update();
    return true;
}

void TDrawGrid::PaintCells(QPainter& painter)
{
    QColor window = ColorToQColor(Color());
    QColor face = ColorToQColor(clBtnFace);
    QColor highlight = ColorToQColor(clHighlight);
    QColor lines = ColorToQColor(clSilver);
    painter.fillRect(painter.viewport(), window);
    for (int r : ShownRows()) {
        for (int c = 0; c < colCount_; ++c) {
            QRect cell = CellRect(c, r);
            if (cell.isEmpty())
                continue;
            TGridDrawState state = 0;
            bool fixed = r < fixedRows_ || c < fixedCols_;
            if (fixed)
                state |= gdFixed;
            bool current = r == row_ && (c == col_ || (options_ & goRowSelect) != 0);
            if (current && !fixed) {
                state |= gdSelected;
                if (Widget() != nullptr && Widget()->hasFocus())
                    state |= gdFocused;
            }
            painter.fillRect(cell, fixed ? face : (state & gdSelected) != 0 ? highlight : window);
            painter.setPen(lines);
            painter.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
            painter.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
            if (!OnDrawCell)
                continue;
            painter.save();
            painter.setClipRect(cell);
            painter.setPen(Qt::black);
            painter_ = &painter;
            try {
                OnDrawCell(this, c, r, cell, state);
            } catch (...) {
                painter_ = nullptr;
                painter.restore();
                throw;
            }
            painter_ = nullptr;
            painter.restore();
        }
    }
}

void TDrawGrid::BoundsChanged()
{
    TWinControl::BoundsChanged();
    UpdateScrollBar();
    if (Width() == lastWidth_ && Height() == lastHeight_)
        return;
    lastWidth_ = Width();
    lastHeight_ = Height();
    Fire([this] {
        if (OnResize)
            OnResize(this);
    });
}

} // namespace ui
