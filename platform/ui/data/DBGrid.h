#pragma once
// The data grid: the records of a data set in rows, its fields in columns.
//
// The grid's current row is the data set's current record: moving in the grid
// moves the data set and the other way round. Columns name their fields; a grid
// without columns shows every visible field. A title click and a cell click
// report the column; an editable grid writes a cell's new text into its field
// (the data set goes into edit state first).
//
// A cell's text that its field refuses is told to the user and stays in the
// cell's editor; Escape there takes the field's text back and ends the cell's
// editing, and Escape once more gives up the row. The editor of a text
// column takes no more characters than its field holds and says what it cut.

#include "platform/data/DataSource.h"
#include "platform/ui/kernel/WinControl.h"

#include <exception>
#include <functional>
#include <memory>
#include <vector>

class QTableView;
class QTimer;

namespace ui {

class TDBGrid;

enum TDBGridOption : unsigned {
    dgEditing = 1u << 0,
    dgTitles = 1u << 1,
    dgIndicator = 1u << 2,
    dgColumnResize = 1u << 3,
    dgColLines = 1u << 4,
    dgRowLines = 1u << 5,
    dgTabs = 1u << 6,
    dgRowSelect = 1u << 7,
    dgAlwaysShowSelection = 1u << 8,
    dgConfirmDelete = 1u << 9,
};
using TDBGridOptions = unsigned;
inline constexpr TDBGridOptions DefaultGridOptions =
    dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgConfirmDelete;

class TColumn {
public:
    const std::string& FieldName() const { return fieldName_; }
    void SetFieldName(const std::string& name);
    // The field of the grid's open data set, null when there is none.
    data::TField* Field() const;
    // The title; the field's display label unless set.
    std::string TitleCaption() const;
    void SetTitleCaption(const std::string& caption);
    // In pixels; 0 takes the field's display width.
    int Width() const;
    void SetWidth(int width);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // The position among the grid's columns.
    int Index() const { return index_; }
    TDBGrid* Grid() const { return grid_; }

private:
    friend class TDBGridColumns;
    friend class TDBGrid;

    TDBGrid* grid_ = nullptr;
    int index_ = 0;
    std::string fieldName_;
    std::string title_;
    int width_ = 0;
    bool visible_ = true;
    bool readOnly_ = false;
};

class TDBGridColumns {
public:
    int Count() const { return static_cast<int>(columns_.size()); }
    TColumn* Items(int index) const;
    TColumn* operator[](int index) const { return Items(index); }
    TColumn* Add();
    void Clear();
    // True while the grid made the columns itself from the fields.
    bool DefaultColumns() const { return defaults_; }

private:
    friend class TDBGrid;
    explicit TDBGridColumns(TDBGrid* grid) : grid_(grid) {}

    TDBGrid* grid_;
    std::vector<std::unique_ptr<TColumn>> columns_;
    bool defaults_ = false;
};

using TDBGridClickEvent = std::function<void(TColumn* column)>;

class TDBGrid : public TWinControl {
public:
    explicit TDBGrid(core::TComponent* owner);
    ~TDBGrid() override;
    std::string ClassName() const override { return "TDBGrid"; }

    data::TDataSource* DataSource() const;
    void SetDataSource(data::TDataSource* source);
    TDBGridColumns& Columns() { return columns_; }
    TDBGridOptions Options() const { return options_; }
    void SetOptions(TDBGridOptions options);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // The column of the focused cell.
    int SelectedIndex() const;
    data::TField* SelectedField() const;

    // The view itself, for what only the screen needs.
    QTableView* View() const;
    // The text the grid shows in a cell (row 0 is the first record).
    std::string CellText(int row, int column) const;
    // Every row of the data set (a result still being read is read to its end).
    int RowCount() const;

    TDBGridClickEvent OnTitleClick;
    TDBGridClickEvent OnCellClick;
    core::TNotifyEvent OnDblClick;

protected:
    void ColorChanged() override;
    void FontChanged() override;
    void Notification(core::TComponent* component, core::TOperation operation) override;
    bool WidgetEvent(QWidget* source, QEvent* event) override;

private:
    class Link;
    class Model;
    class Table;
    class CellDelegate;
    friend class TColumn;
    friend class TDBGridColumns;

    void ColumnsChanged();
    void ResetRows();
    // Shows the data set's current record, in that column (-1: the current one).
    void ShowCurrentRow(int column = -1);
    void RowChosen(int row);
    void ApplyOptions();
    void ApplyWidths();
    void CommitEditor();
    // Shows the refusal of a cell's text once the event that met it is done.
    void TellRefusalLater();
    void TellRefusal();
    // Escape outside a cell's editor: the row being edited is given up.
    bool CancelRow();
    // A data set read in part: the rows read so far, showing those the view
    // has not heard of, and reading on a step (from the event loop).
    int RowsRead() const;
    void TakeNewRows();
    void ReadOn();
    static constexpr int kRowsReadAtOnce = 2000;

    std::unique_ptr<Link> link_;
    std::unique_ptr<Model> model_;
    TDBGridColumns columns_;
    TDBGridOptions options_ = DefaultGridOptions;
    bool readOnly_ = false;
    bool syncing_ = false;
    // What the last write of a cell's text met; the refusal still to be told.
    std::exception_ptr refusal_;
    std::exception_ptr untold_;
    bool telling_ = false;
    QTimer* readTimer_ = nullptr; // owned by the view
};

} // namespace ui
