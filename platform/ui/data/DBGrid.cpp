#include "platform/ui/data/DBGrid.h"

#include "platform/core/Exceptions.h"
#include "platform/data/DataError.h"
#include "platform/ui/data/FieldTextLimit.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>

#include <limits>
#include <utility>

namespace ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

} // namespace

// ---- the link to the data set ----

class TDBGrid::Link : public data::TDataLink {
public:
    explicit Link(TDBGrid* grid) : grid_(grid) {}

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void RecordChanged(data::TField* field) override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void UpdateData() override;

private:
    TDBGrid* grid_;
};

// ---- the model the view shows ----

class TDBGrid::Model : public QAbstractTableModel {
public:
    explicit Model(TDBGrid* grid) : grid_(grid) {}

    std::vector<TColumn*> Shown() const
    {
        std::vector<TColumn*> shown;
        for (int i = 0; i < grid_->columns_.Count(); ++i)
            if (grid_->columns_.Items(i)->Visible())
                shown.push_back(grid_->columns_.Items(i));
        return shown;
    }

    TColumn* ColumnAt(int section) const
    {
        auto shown = Shown();
        return section >= 0 && section < static_cast<int>(shown.size()) ? shown[static_cast<size_t>(section)]
                                                                          : nullptr;
    }

    // The rows the view knows: those read so far of a result still being read.
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
    // The view scrolled to the last row read: the rest comes at once.
    bool canFetchMore(const QModelIndex& parent) const override
    {
        data::TDataSet* set = grid_->link_->DataSet();
        return !parent.isValid() && grid_->link_->Active() && set != nullptr && !set->AllRecordsRead();
    }
    void fetchMore(const QModelIndex& parent) override
    {
        if (canFetchMore(parent))
            grid_->Fire([&] { grid_->RowCount(); });
        grid_->TakeNewRows();
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(Shown().size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        TColumn* column = ColumnAt(index.column());
        data::TField* field = column != nullptr ? column->Field() : nullptr;
        data::TDataSet* set = grid_->link_->DataSet();
        if (field == nullptr || set == nullptr)
            return {};
        set->SetReadRecord(index.row());
        std::string text;
        try {
            text = role == Qt::EditRole ? field->Text() : field->DisplayText();
        } catch (const std::exception&) {
            text.clear();
        }
        set->SetReadRecord(-1);
        return Q(text);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Horizontal) {
            TColumn* column = ColumnAt(section);
            return column != nullptr ? Q(column->TitleCaption()) : QVariant();
        }
        // The indicator: the current record, and whether it is edited or new.
        data::TDataSet* set = grid_->link_->DataSet();
        if (set == nullptr || !grid_->link_->Active() || section != set->CurrentPosition())
            return QString();
        switch (set->State()) {
        case data::dsInsert: return QStringLiteral("*");
        case data::dsEdit: return QStringLiteral("I");
        default: return QStringLiteral("▸");
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        TColumn* column = ColumnAt(index.column());
        data::TField* field = column != nullptr ? column->Field() : nullptr;
        if ((grid_->options_ & dgEditing) && !grid_->readOnly_ && column != nullptr && !column->ReadOnly() &&
            field != nullptr && field->CanModify())
            flags |= Qt::ItemIsEditable;
        return flags;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole)
            return false;
        TColumn* column = ColumnAt(index.column());
        data::TField* field = column != nullptr ? column->Field() : nullptr;
        data::TDataSet* set = grid_->link_->DataSet();
        if (field == nullptr || set == nullptr || index.row() != set->CurrentPosition())
            return false;
        std::string text = value.toString().toStdString();
        if (field->Text() == text && set->State() == data::dsBrowse)
            return false;
        // What the field refuses is told by the view, once its editor is settled.
        try {
            if (!grid_->link_->Edit())
                return false;
            field->SetText(text);
            return true;
        } catch (...) {
            grid_->refusal_ = std::current_exception();
            return false;
        }
    }

    void ResetAll()
    {
        beginResetModel();
        rows_ = grid_->RowsRead();
        endResetModel();
    }
    // Shows the rows read since the view last heard of them.
    void AddRowsRead()
    {
        const int now = grid_->RowsRead();
        if (now <= rows_)
            return;
        beginInsertRows({}, rows_, now - 1);
        rows_ = now;
        endInsertRows();
    }
    void RowChanged(int row)
    {
        if (row < 0 || row >= rowCount({}))
            return;
        emit dataChanged(index(row, 0), index(row, columnCount({}) - 1));
        emit headerDataChanged(Qt::Vertical, row, row);
    }
    void IndicatorChanged()
    {
        if (rowCount({}) > 0)
            emit headerDataChanged(Qt::Vertical, 0, rowCount({}) - 1);
    }

private:
    TDBGrid* grid_;
    int rows_ = 0;
};

// ---- the view ----

// A table view whose cell editor stays open while its text is refused, and
// where Escape outside the editor gives up the row being edited.
class TDBGrid::Table : public QTableView {
public:
    explicit Table(TDBGrid* grid) : grid_(grid) {}

    // For the data set that asks its controls (a post, a move): the open
    // editor's text goes into its field; a refusal keeps the editor and
    // travels on to the one who asked, who tells the user.
    void CommitOpenEditor()
    {
        QWidget* editor = editor_;
        if (state() != EditingState || editor == nullptr)
            return;
        grid_->refusal_ = nullptr;
        QTableView::commitData(editor);
        if (std::exception_ptr refusal = std::exchange(grid_->refusal_, nullptr)) {
            grid_->untold_ = nullptr;
            held_ = true;
            FocusEditor();
            std::rethrow_exception(refusal);
        }
        held_ = false;
        Close(editor, QAbstractItemDelegate::NoHint);
    }
    void EditorOpened(QWidget* editor)
    {
        editor_ = editor;
        held_ = false;
    }
    // The rows were read again: Qt closed every editor.
    void EditorsGone() { held_ = false; }
    void FocusEditor()
    {
        if (!held_ || editor_ == nullptr)
            return;
        editor_->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(editor_.data()))
            line->selectAll();
    }

protected:
    void commitData(QWidget* editor) override
    {
        // A refusal on the screen takes the focus; that commits nothing.
        if (grid_->telling_)
            return;
        grid_->refusal_ = nullptr;
        QTableView::commitData(editor);
    }
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override
    {
        if (hint == QAbstractItemDelegate::RevertModelCache) {
            // Escape: the field's text comes back and the cell is left.
            grid_->refusal_ = nullptr;
            grid_->untold_ = nullptr;
            held_ = false;
            Close(editor, hint);
            return;
        }
        if (grid_->telling_)
            return;
        if (std::exception_ptr refusal = std::exchange(grid_->refusal_, nullptr)) {
            grid_->untold_ = refusal;
            held_ = true;
            grid_->TellRefusalLater();
            return;
        }
        held_ = false;
        Close(editor, hint);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape && state() != EditingState && grid_->CancelRow()) {
            event->accept();
            return;
        }
        QTableView::keyPressEvent(event);
    }
    // While a refused text waits in its editor, a click elsewhere in the grid
    // does not leave it.
    void mousePressEvent(QMouseEvent* event) override
    {
        if (!Held(event))
            QTableView::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (!Held(event))
            QTableView::mouseReleaseEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (!Held(event))
            QTableView::mouseDoubleClickEvent(event);
    }

private:
    // Qt gives the grid the focus back only from an editor focused in the
    // active window; the grid of a window not active keeps it too.
    void Close(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
    {
        const bool focused = editor->window()->focusWidget() == editor;
        QTableView::closeEditor(editor, hint);
        if (focused && !hasFocus())
            setFocus();
    }
    bool Held(QMouseEvent* event)
    {
        if (!held_ || editor_ == nullptr)
            return false;
        event->accept();
        return true;
    }

    TDBGrid* grid_;
    QPointer<QWidget> editor_;
    bool held_ = false;
};

// The cells' editors: one line edit for every column, which for a text
// column takes no more characters than its field holds.
class TDBGrid::CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(TDBGrid* grid) : grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            // The editor's own limit would cut without a word.
            line->setMaxLength(std::numeric_limits<int>::max());
            QObject::connect(line, &QLineEdit::textEdited, line, [grid = grid_, line, section = index.column()] {
                // The first change of a cell's text puts the data set into edit state.
                if (!grid->link_->Editing()) {
                    bool editing = false;
                    grid->Fire([&] { editing = grid->link_->Edit(); });
                    if (!editing)
                        return;
                }
                TColumn* column = grid->model_->ColumnAt(section);
                data::TField* field = column != nullptr ? column->Field() : nullptr;
                const std::string message = field != nullptr ? KeepWithinField(line, *field) : std::string();
                if (!message.empty())
                    grid->Fire([&] { throw data::EDatabaseError(message); });
            });
        }
        static_cast<Table*>(grid_->View())->EditorOpened(editor);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        // What the user typed stays while the row changes under it (going
        // into edit state, another field set).
        if (auto* line = qobject_cast<QLineEdit*>(editor); line != nullptr && line->isModified())
            return;
        QStyledItemDelegate::setEditorData(editor, index);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        // A message box or a menu takes the focus for a while: the cell stays
        // open and is not written for that.
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                return false;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TDBGrid* grid_;
};

void TDBGrid::Link::ActiveChanged()
{
    grid_->ColumnsChanged();
}

void TDBGrid::Link::DataSetChanged()
{
    grid_->ResetRows();
}

void TDBGrid::Link::DataSetScrolled(int)
{
    // A move past the rows read has read the rest.
    grid_->TakeNewRows();
    if (grid_->model_ != nullptr)
        grid_->model_->IndicatorChanged();
    grid_->ShowCurrentRow();
}

void TDBGrid::Link::RecordChanged(data::TField*)
{
    data::TDataSet* set = DataSet();
    if (grid_->model_ != nullptr && set != nullptr)
        grid_->model_->RowChanged(set->CurrentPosition());
}

void TDBGrid::Link::EditingChanged()
{
    if (grid_->model_ != nullptr)
        grid_->model_->IndicatorChanged();
}

void TDBGrid::Link::LayoutChanged()
{
    grid_->ColumnsChanged();
}

void TDBGrid::Link::UpdateData()
{
    grid_->CommitEditor();
}

// ---- columns ----

void TColumn::SetFieldName(const std::string& name)
{
    fieldName_ = name;
    if (grid_ != nullptr)
        grid_->ColumnsChanged();
}

data::TField* TColumn::Field() const
{
    if (grid_ == nullptr || fieldName_.empty())
        return nullptr;
    data::TDataSet* set = grid_->link_->DataSet();
    if (set == nullptr || !grid_->link_->Active())
        return nullptr;
    return set->FindField(fieldName_);
}

std::string TColumn::TitleCaption() const
{
    if (!title_.empty())
        return title_;
    data::TField* field = Field();
    return field != nullptr ? field->DisplayLabel() : fieldName_;
}

void TColumn::SetTitleCaption(const std::string& caption)
{
    title_ = caption;
    if (grid_ != nullptr && grid_->model_ != nullptr)
        emit grid_->model_->headerDataChanged(Qt::Horizontal, 0, grid_->model_->columnCount({}) - 1);
}

int TColumn::Width() const
{
    if (width_ > 0)
        return width_;
    data::TField* field = Field();
    int chars = field != nullptr ? field->DisplayWidth() : 10;
    QFontMetrics metrics(grid_ != nullptr && grid_->View() != nullptr ? grid_->View()->font() : QFont());
    return chars * metrics.averageCharWidth() + 4;
}

void TColumn::SetWidth(int width)
{
    width_ = width;
    if (grid_ != nullptr)
        grid_->ApplyWidths();
}

void TColumn::SetVisible(bool visible)
{
    visible_ = visible;
    if (grid_ != nullptr)
        grid_->ColumnsChanged();
}

TColumn* TDBGridColumns::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw core::EListError("List index out of bounds (" + std::to_string(index) + ")");
    return columns_[static_cast<size_t>(index)].get();
}

TColumn* TDBGridColumns::Add()
{
    if (defaults_) {
        columns_.clear();
        defaults_ = false;
    }
    auto column = std::make_unique<TColumn>();
    column->grid_ = grid_;
    column->index_ = Count();
    columns_.push_back(std::move(column));
    grid_->ColumnsChanged();
    return columns_.back().get();
}

void TDBGridColumns::Clear()
{
    columns_.clear();
    defaults_ = false;
    grid_->ColumnsChanged();
}

// ---- the grid ----

TDBGrid::TDBGrid(core::TComponent* owner)
    : TWinControl(owner), link_(std::make_unique<Link>(this)), model_(std::make_unique<Model>(this)),
      columns_(this)
{
    auto* view = new Table(this);
    view->setModel(model_.get());
    view->setItemDelegate(new CellDelegate(this));
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setWordWrap(false);
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setSortIndicatorShown(false);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    SetWidget(view);
    WatchWidget(view->viewport());
    SetBounds(0, 0, 320, 120);
    SetColor(clWindow);

    QObject::connect(view->horizontalHeader(), &QHeaderView::sectionClicked, view, [this](int section) {
        TColumn* column = model_->ColumnAt(section);
        if (column != nullptr)
            Fire([&] {
                if (OnTitleClick)
                    OnTitleClick(column);
            });
    });
    QObject::connect(view->horizontalHeader(), &QHeaderView::sectionResized, view,
                     [this](int section, int, int size) {
                         if (syncing_)
                             return;
                         if (TColumn* column = model_->ColumnAt(section))
                             column->width_ = size;
                     });
    QObject::connect(view, &QTableView::clicked, view, [this](const QModelIndex& index) {
        TColumn* column = model_->ColumnAt(index.column());
        if (column != nullptr)
            Fire([&] {
                if (OnCellClick)
                    OnCellClick(column);
            });
    });
    QObject::connect(view, &QTableView::doubleClicked, view, [this](const QModelIndex&) {
        Fire([&] {
            if (OnDblClick)
                OnDblClick(this);
        });
    });
    // A result read in part is read on while the program waits for the user.
    readTimer_ = new QTimer(view);
    readTimer_->setInterval(0);
    QObject::connect(readTimer_, &QTimer::timeout, view, [this] { ReadOn(); });
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, view,
                     [this](const QModelIndex& current, const QModelIndex&) {
                         if (!syncing_ && current.isValid())
                             RowChosen(current.row());
                     });
    ApplyOptions();
}

TDBGrid::~TDBGrid()
{
    link_->SetDataSource(nullptr);
    if (View() != nullptr)
        View()->setModel(nullptr);
}

QTableView* TDBGrid::View() const
{
    return static_cast<QTableView*>(Widget());
}

data::TDataSource* TDBGrid::DataSource() const
{
    return link_->DataSource();
}

void TDBGrid::SetDataSource(data::TDataSource* source)
{
    if (DataSource() != nullptr)
        DataSource()->RemoveFreeNotification(this);
    link_->SetDataSource(source);
    if (source != nullptr)
        source->FreeNotification(this);
    ColumnsChanged();
}

void TDBGrid::Notification(core::TComponent* component, core::TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == core::TOperation::opRemove && link_ != nullptr && component == link_->DataSource())
        link_->SetDataSource(nullptr);
}

void TDBGrid::SetOptions(TDBGridOptions options)
{
    options_ = options;
    ApplyOptions();
}

void TDBGrid::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    ApplyOptions();
}

void TDBGrid::ApplyOptions()
{
    QTableView* view = View();
    if (view == nullptr)
        return;
    view->horizontalHeader()->setVisible((options_ & dgTitles) != 0);
    view->verticalHeader()->setVisible((options_ & dgIndicator) != 0);
    view->verticalHeader()->setFixedWidth(14);
    view->setShowGrid((options_ & (dgColLines | dgRowLines)) != 0);
    view->setSelectionBehavior((options_ & dgRowSelect) ? QAbstractItemView::SelectRows
                                                        : QAbstractItemView::SelectItems);
    view->horizontalHeader()->setSectionResizeMode((options_ & dgColumnResize) ? QHeaderView::Interactive
                                                                               : QHeaderView::Fixed);
    bool editable = (options_ & dgEditing) && !readOnly_;
    view->setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                         QAbstractItemView::AnyKeyPressed
                                   : QAbstractItemView::NoEditTriggers);
    view->setTabKeyNavigation((options_ & dgTabs) != 0);
    FontChanged();
}

void TDBGrid::FontChanged()
{
    TWinControl::FontChanged();
    if (QTableView* view = View())
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
}

void TDBGrid::ColorChanged()
{
    if (QTableView* view = View()) {
        QPalette palette = view->palette();
        palette.setColor(QPalette::Base, ColorToQColor(Color()));
        view->setPalette(palette);
    }
}

void TDBGrid::ColumnsChanged()
{
    // Without columns of its own the grid shows every visible field of the open data set.
    if (columns_.columns_.empty() || columns_.defaults_) {
        columns_.columns_.clear();
        columns_.defaults_ = true;
        data::TDataSet* set = link_->DataSet();
        if (link_->Active() && set != nullptr) {
            for (int i = 0; i < set->FieldCount(); ++i) {
                data::TField* field = set->Fields()->Fields(i);
                if (!field->Visible())
                    continue;
                auto column = std::make_unique<TColumn>();
                column->grid_ = this;
                column->index_ = static_cast<int>(columns_.columns_.size());
                column->fieldName_ = field->FieldName();
                columns_.columns_.push_back(std::move(column));
            }
        }
        if (columns_.columns_.empty())
            columns_.defaults_ = false;
    }
    for (int i = 0; i < columns_.Count(); ++i)
        columns_.columns_[static_cast<size_t>(i)]->index_ = i;
    ResetRows();
}

void TDBGrid::ResetRows()
{
    if (model_ == nullptr || View() == nullptr)
        return;
    // The rows read again keep the column the user was in.
    const int column = View()->currentIndex().column();
    syncing_ = true;
    model_->ResetAll();
    syncing_ = false;
    static_cast<Table*>(View())->EditorsGone();
    ApplyWidths();
    ShowCurrentRow(column);
}

bool TDBGrid::WidgetEvent(QWidget* source, QEvent* event)
{
    // The rest of a result read in part is read once the rows read are on
    // the screen (never before: the window would wait for it); until then
    // anything that needs it reads it.
    if (event->type() == QEvent::Paint && View() != nullptr && source == View()->viewport() &&
        !readTimer_->isActive()) {
        data::TDataSet* set = link_->DataSet();
        if (set != nullptr && link_->Active() && !set->AllRecordsRead())
            readTimer_->start();
    }
    return TWinControl::WidgetEvent(source, event);
}

int TDBGrid::RowsRead() const
{
    data::TDataSet* set = link_->DataSet();
    return link_->Active() && set != nullptr ? set->RecordsRead() : 0;
}

void TDBGrid::TakeNewRows()
{
    if (model_ == nullptr)
        return;
    syncing_ = true;
    model_->AddRowsRead();
    syncing_ = false;
}

void TDBGrid::ReadOn()
{
    data::TDataSet* set = link_->DataSet();
    if (set == nullptr || !link_->Active() || set->AllRecordsRead()) {
        readTimer_->stop();
        TakeNewRows();
        return;
    }
    bool more = false;
    Fire([&] { more = set->ReadMoreRecords(kRowsReadAtOnce); });
    if (!more || !set->Active()) {
        readTimer_->stop();
        TakeNewRows();
    }
}

void TDBGrid::ApplyWidths()
{
    QTableView* view = View();
    if (view == nullptr || model_ == nullptr)
        return;
    syncing_ = true;
    auto shown = model_->Shown();
    for (size_t i = 0; i < shown.size(); ++i)
        view->setColumnWidth(static_cast<int>(i), shown[i]->Width());
    syncing_ = false;
}

void TDBGrid::ShowCurrentRow(int column)
{
    QTableView* view = View();
    data::TDataSet* set = link_->DataSet();
    if (view == nullptr || set == nullptr || !link_->Active() || model_ == nullptr)
        return;
    int row = set->CurrentPosition();
    if (row < 0 || row >= model_->rowCount({}) || model_->columnCount({}) == 0)
        return;
    if (column < 0)
        column = view->currentIndex().isValid() ? view->currentIndex().column() : 0;
    QModelIndex index = model_->index(row, std::min(column, model_->columnCount({}) - 1));
    syncing_ = true;
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (options_ & dgRowSelect)
        flags |= QItemSelectionModel::Rows;
    view->selectionModel()->setCurrentIndex(index, flags);
    view->scrollTo(index);
    syncing_ = false;
}

void TDBGrid::RowChosen(int row)
{
    data::TDataSet* set = link_->DataSet();
    if (set == nullptr || !link_->Active())
        return;
    int now = set->CurrentPosition();
    if (row != now)
        Fire([&] { set->MoveBy(row - now); });
    // A move refused (a post that failed) leaves the data set where it was: show that.
    if (set->Active() && set->CurrentPosition() != row)
        QTimer::singleShot(0, View(), [this] { ShowCurrentRow(); });
}

void TDBGrid::CommitEditor()
{
    if (auto* view = static_cast<Table*>(View()))
        view->CommitOpenEditor();
}

void TDBGrid::TellRefusalLater()
{
    QTimer::singleShot(0, View(), [this] { TellRefusal(); });
}

void TDBGrid::TellRefusal()
{
    // Several tries in one event (the focus leaving, the current cell
    // moving) are told once.
    const std::exception_ptr refusal = std::exchange(untold_, nullptr);
    if (!refusal)
        return;
    telling_ = true;
    Fire([&] { std::rethrow_exception(refusal); });
    telling_ = false;
    static_cast<Table*>(View())->FocusEditor();
}

bool TDBGrid::CancelRow()
{
    data::TDataSet* set = link_->DataSet();
    if (!(options_ & dgEditing) || readOnly_ || set == nullptr || !link_->Active() ||
        (set->State() != data::dsEdit && set->State() != data::dsInsert))
        return false;
    Fire([&] { set->Cancel(); });
    return true;
}

int TDBGrid::SelectedIndex() const
{
    QTableView* view = View();
    if (view == nullptr || !view->currentIndex().isValid())
        return 0;
    TColumn* column = model_->ColumnAt(view->currentIndex().column());
    return column != nullptr ? column->Index() : 0;
}

data::TField* TDBGrid::SelectedField() const
{
    if (columns_.Count() == 0)
        return nullptr;
    return columns_.Items(SelectedIndex())->Field();
}

int TDBGrid::RowCount() const
{
    data::TDataSet* set = link_->DataSet();
    const int count = link_->Active() && set != nullptr ? set->RecordCount() : 0;
    const_cast<TDBGrid*>(this)->TakeNewRows();
    return count;
}

std::string TDBGrid::CellText(int row, int column) const
{
    if (model_ == nullptr)
        return {};
    return model_->data(model_->index(row, column), Qt::DisplayRole).toString().toStdString();
}

} // namespace ui
