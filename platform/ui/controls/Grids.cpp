#include "platform/ui/controls/Grids.h"

#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>

namespace ui {

TStringGrid::TStringGrid(core::TComponent* owner) : TWinControl(owner)
{
    auto* table = new QTableWidget;
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectItems);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SetWidget(table);
    SetBounds(0, 0, 320, 120);
    SetColor(clWindow);
    Reshape();
    QObject::connect(table, &QTableWidget::itemChanged, table, [this](QTableWidgetItem* item) {
        if (updating_ || item == nullptr)
            return;
        int col = item->column();
        int row = item->row();
        std::string value = item->text().toStdString();
        Fire([&] {
            if (OnSetEditText)
                OnSetEditText(this, col, row, value);
        });
    });
    QObject::connect(table, &QTableWidget::cellDoubleClicked, table, [this](int, int) {
        Fire([this] {
            if (OnDblClick)
                OnDblClick(this);
        });
    });
    QObject::connect(table, &QTableWidget::cellClicked, table, [this](int, int) { Fire([this] { Click(); }); });
}

QTableWidget* TStringGrid::table() const
{
    return static_cast<QTableWidget*>(Widget());
}

void TStringGrid::Reshape()
{
    QTableWidget* t = table();
    if (t == nullptr)
        return;
    updating_ = true;
    int oldRows = t->rowCount();
    int oldCols = t->columnCount();
    t->setColumnCount(colCount_);
    t->setRowCount(rowCount_);
    t->verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    for (int c = oldCols; c < colCount_; ++c)
        t->setColumnWidth(c, defaultColWidth_);
    for (int r = 0; r < rowCount_; ++r)
        for (int c = 0; c < colCount_; ++c)
            if (r >= oldRows || c >= oldCols || r < fixedRows_ || c < fixedCols_ || t->item(r, c) == nullptr)
                StyleCell(c, r);
    updating_ = false;
}

void TStringGrid::StyleCell(int col, int row)
{
    QTableWidget* t = table();
    QTableWidgetItem* item = t->item(row, col);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        t->setItem(row, col, item);
    }
    bool fixed = row < fixedRows_ || col < fixedCols_;
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    if (!fixed) {
        flags |= Qt::ItemIsSelectable;
        if ((options_ & goEditing) != 0)
            flags |= Qt::ItemIsEditable;
    }
    item->setFlags(flags);
    item->setBackground(fixed ? t->palette().button() : QBrush());
}

void TStringGrid::SetColCount(int count)
{
    colCount_ = std::max(0, count);
    fixedCols_ = std::min(fixedCols_, colCount_);
    Reshape();
}

void TStringGrid::SetRowCount(int count)
{
    rowCount_ = std::max(0, count);
    fixedRows_ = std::min(fixedRows_, rowCount_);
    Reshape();
}

void TStringGrid::SetFixedCols(int count)
{
    fixedCols_ = std::clamp(count, 0, colCount_);
    Reshape();
}

void TStringGrid::SetFixedRows(int count)
{
    fixedRows_ = std::clamp(count, 0, rowCount_);
    Reshape();
}

std::string TStringGrid::Cells(int col, int row) const
{
    if (table() == nullptr || col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        return {};
    QTableWidgetItem* item = table()->item(row, col);
    return item != nullptr ? item->text().toStdString() : std::string();
}

void TStringGrid::SetCells(int col, int row, const std::string& text)
{
    if (table() == nullptr || col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        return;
    updating_ = true;
    if (table()->item(row, col) == nullptr)
        StyleCell(col, row);
    table()->item(row, col)->setText(QString::fromStdString(text));
    updating_ = false;
}

int TStringGrid::ColWidths(int col) const
{
    return table() != nullptr && col >= 0 && col < colCount_ ? table()->columnWidth(col) : 0;
}

void TStringGrid::SetColWidths(int col, int width)
{
    if (table() != nullptr && col >= 0 && col < colCount_)
        table()->setColumnWidth(col, width);
}

void TStringGrid::SetDefaultColWidth(int width)
{
    defaultColWidth_ = width;
    for (int c = 0; c < colCount_; ++c)
        SetColWidths(c, width);
}

void TStringGrid::SetDefaultRowHeight(int height)
{
    defaultRowHeight_ = height;
    if (table() != nullptr)
        table()->verticalHeader()->setDefaultSectionSize(height);
}

void TStringGrid::SetOptions(TGridOptions options)
{
    options_ = options;
    QTableWidget* t = table();
    if (t == nullptr)
        return;
    // Typing, F2 or a click on the current cell opens the editor; a double
    // click stays free for the program.
    t->setEditTriggers((options & goEditing) != 0 ? QAbstractItemView::SelectedClicked |
                                                        QAbstractItemView::EditKeyPressed |
                                                        QAbstractItemView::AnyKeyPressed
                                                  : QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior((options & goRowSelect) != 0 ? QAbstractItemView::SelectRows
                                                         : QAbstractItemView::SelectItems);
    t->horizontalHeader()->setSectionResizeMode((options & goColSizing) != 0 ? QHeaderView::Interactive
                                                                              : QHeaderView::Fixed);
    updating_ = true;
    for (int r = 0; r < rowCount_; ++r)
        for (int c = 0; c < colCount_; ++c)
            StyleCell(c, r);
    updating_ = false;
}

int TStringGrid::Col() const
{
    int col = table() != nullptr ? table()->currentColumn() : -1;
    return std::max(col, fixedCols_);
}

int TStringGrid::Row() const
{
    int row = table() != nullptr ? table()->currentRow() : -1;
    return std::max(row, fixedRows_);
}

void TStringGrid::SetCol(int col)
{
    if (table() != nullptr && col >= fixedCols_ && col < colCount_)
        table()->setCurrentCell(Row() < rowCount_ ? Row() : -1, col);
}

void TStringGrid::SetRow(int row)
{
    if (table() != nullptr && row >= fixedRows_ && row < rowCount_)
        table()->setCurrentCell(row, Col() < colCount_ ? Col() : fixedCols_);
}

} // namespace ui
