#include "platform/ui/data/DBCtrls.h"

#include "platform/core/Letters.h"
#include "platform/data/DataError.h"
#include "platform/ui/data/FieldTextLimit.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace ui {
namespace {

// A check box whose click asks first, and that steps unchecked, checked,
// unchecked again (a grayed box becomes checked).
class DBCheckWidget : public QCheckBox {
public:
    std::function<bool()> allowToggle;

protected:
    void nextCheckState() override
    {
        if (allowToggle && !allowToggle())
            return;
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

// Keys that change an edit's text.
bool IsEditingKey(const QKeyEvent* key)
{
    if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut))
        return true;
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
        return true;
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    QString text = key->text();
    return !text.isEmpty() && text.at(0) >= QChar(' ');
}

// True when text is one of the ";"-separated values, letter case aside.
bool ValueMatches(const std::string& values, const std::string& text)
{
    size_t start = 0;
    for (;;) {
        size_t end = values.find(';', start);
        if (core::AnsiSameText(values.substr(start, end - start), text))
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
}

std::string FirstValue(const std::string& values)
{
    return values.substr(0, values.find(';'));
}

} // namespace

// ---- TDBEdit ----

TDBEdit::TDBEdit(core::TComponent* owner) : TCustomEdit(owner), link_(std::make_unique<data::TFieldDataLink>())
{
    link_->SetControl(this);
    link_->OnDataChange = [this](core::TObject*) { DataChange(); };
    link_->OnEditingChange = [this](core::TObject*) { EditingChange(); };
    link_->OnUpdateData = [this](core::TObject*) { UpdateData(); };
    link_->OnActiveChange = [this](core::TObject*) { EditingChange(); };
    link_->OnFocusRequest = [this](core::TObject*) { SetFocus(); };
    // Text that arrived without a key press first (an input method's, a paste
    // from the menu) still asks the data set to edit.
    QObject::connect(LineEdit(), &QLineEdit::textEdited, LineEdit(), [this](const QString& typed) {
        if (!link_->Editing()) {
            const int cursor = LineEdit()->cursorPosition();
            bool editing = false;
            Fire([&] { editing = link_->Edit(); });
            if (!editing) {
                link_->Reset();
                return;
            }
            // Going into edit state showed the record again: the user's text comes back.
            SetText(typed.toStdString());
            LineEdit()->setCursorPosition(cursor);
        }
        // Typing or a paste past what the field holds is cut, and the user told.
        const std::string cut = link_->Field() != nullptr ? KeepWithinField(LineEdit(), *link_->Field()) : "";
        if (!cut.empty())
            Fire([&] { throw data::EDatabaseError(cut); });
    });
    SetLineEditKeepsMaxLength(false);
    EditingChange();
}

TDBEdit::~TDBEdit()
{
    link_->OnDataChange = nullptr;
    link_->OnEditingChange = nullptr;
    link_->OnUpdateData = nullptr;
    link_->OnActiveChange = nullptr;
    link_->SetDataSource(nullptr);
}

void TDBEdit::SetDataSource(data::TDataSource* source)
{
    if (DataSource() != nullptr)
        DataSource()->RemoveFreeNotification(this);
    link_->SetDataSource(source);
    if (source != nullptr)
        source->FreeNotification(this);
}

void TDBEdit::Notification(core::TComponent* component, core::TOperation operation)
{
    TCustomEdit::Notification(component, operation);
    if (operation == core::TOperation::opRemove && link_ != nullptr && component == link_->DataSource())
        link_->SetDataSource(nullptr);
}

void TDBEdit::SetReadOnly(bool readOnly)
{
    link_->SetReadOnly(readOnly);
    EditingChange();
}

void TDBEdit::DataChange()
{
    EditingChange();
    data::TField* field = link_->Field();
    if (field == nullptr) {
        SetText("");
        return;
    }
    if (field->DataType() == data::ftString || field->DataType() == data::ftWideString)
        SetMaxLength(field->Size());
    else
        SetMaxLength(0);
    // While the user works in the edit it shows the text to edit; else the display text.
    SetText(focused_ && link_->CanModify() ? field->Text() : field->DisplayText());
}

void TDBEdit::EditingChange()
{
    // The widget takes typing while the field can be changed; the first key
    // (or the first text) asks the data set to edit.
    if (LineEdit() != nullptr)
        LineEdit()->setReadOnly(!link_->Editing() && !link_->CanModify());
}

void TDBEdit::UpdateData()
{
    if (link_->Field() != nullptr)
        link_->Field()->SetText(Text());
}

void TDBEdit::Change()
{
    link_->Modified();
    TCustomEdit::Change();
}

void TDBEdit::DoEnter()
{
    focused_ = true;
    // Show the text to edit instead of the display text (unless the user's change is pending).
    if (link_->Field() != nullptr && link_->CanModify() && !link_->IsModified())
        link_->Reset();
    TCustomEdit::DoEnter();
}

void TDBEdit::DoExit()
{
    try {
        link_->UpdateRecord();
    } catch (...) {
        SelectAll();
        SetFocus();
        throw;
    }
    focused_ = false;
    link_->Reset();
    TCustomEdit::DoExit();
}

bool TDBEdit::WidgetEvent(QWidget* source, QEvent* event)
{
    if (source == Widget() && event->type() == QEvent::KeyPress && !HasState(core::csDestroying)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && link_->IsModified()) {
            link_->Reset();
            SelectAll();
            return true;
        }
        if (IsEditingKey(key) && !link_->Editing()) {
            bool editing = false;
            Fire([&] { editing = link_->Edit(); });
            if (!editing)
                return true;
        }
    }
    return TCustomEdit::WidgetEvent(source, event);
}

// ---- TDBCheckBox ----

TDBCheckBox::TDBCheckBox(core::TComponent* owner)
    : TWinControl(owner), link_(std::make_unique<data::TFieldDataLink>())
{
    auto* box = new DBCheckWidget;
    box->setTristate(true);
    box->allowToggle = [this] {
        bool allowed = false;
        Fire([&] { allowed = Toggle(); });
        return allowed;
    };
    SetWidget(box);
    SetBounds(0, 0, 97, 17);
    QObject::connect(box, &QCheckBox::clicked, box, [this] { Fire([this] { Click(); }); });
    link_->SetControl(this);
    link_->OnDataChange = [this](core::TObject*) { DataChange(); };
    link_->OnUpdateData = [this](core::TObject*) { UpdateData(); };
    link_->OnFocusRequest = [this](core::TObject*) { SetFocus(); };
    SetState(TCheckBoxState::cbUnchecked);
}

TDBCheckBox::~TDBCheckBox()
{
    link_->OnDataChange = nullptr;
    link_->OnUpdateData = nullptr;
    link_->SetDataSource(nullptr);
}

QCheckBox* TDBCheckBox::box() const
{
    return static_cast<QCheckBox*>(Widget());
}

void TDBCheckBox::SetDataSource(data::TDataSource* source)
{
    if (DataSource() != nullptr)
        DataSource()->RemoveFreeNotification(this);
    link_->SetDataSource(source);
    if (source != nullptr)
        source->FreeNotification(this);
}

void TDBCheckBox::Notification(core::TComponent* component, core::TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == core::TOperation::opRemove && link_ != nullptr && component == link_->DataSource())
        link_->SetDataSource(nullptr);
}

void TDBCheckBox::CaptionChanged()
{
    if (box() != nullptr)
        box()->setText(QString::fromStdString(Caption()));
}

void TDBCheckBox::SetValueChecked(const std::string& value)
{
    valueChecked_ = value;
    DataChange();
}

void TDBCheckBox::SetValueUnchecked(const std::string& value)
{
    valueUnchecked_ = value;
    DataChange();
}

TDBCheckBox::TCheckBoxState TDBCheckBox::State() const
{
    if (box() == nullptr)
        return TCheckBoxState::cbUnchecked;
    switch (box()->checkState()) {
    case Qt::Checked: return TCheckBoxState::cbChecked;
    case Qt::PartiallyChecked: return TCheckBoxState::cbGrayed;
    default: return TCheckBoxState::cbUnchecked;
    }
}

void TDBCheckBox::SetState(TCheckBoxState state)
{
    if (box() == nullptr)
        return;
    switch (state) {
    case TCheckBoxState::cbChecked: box()->setCheckState(Qt::Checked); break;
    case TCheckBoxState::cbGrayed: box()->setCheckState(Qt::PartiallyChecked); break;
    default: box()->setCheckState(Qt::Unchecked); break;
    }
}

TDBCheckBox::TCheckBoxState TDBCheckBox::FieldState() const
{
    data::TField* field = link_->Field();
    if (field == nullptr)
        return TCheckBoxState::cbUnchecked;
    // A field without a value shows the grayed box.
    if (field->IsNull())
        return TCheckBoxState::cbGrayed;
    if (field->DataType() == data::ftBoolean)
        return field->AsBoolean() ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked;
    std::string text = field->Text();
    if (ValueMatches(valueChecked_, text))
        return TCheckBoxState::cbChecked;
    if (ValueMatches(valueUnchecked_, text))
        return TCheckBoxState::cbUnchecked;
    return TCheckBoxState::cbGrayed;
}

void TDBCheckBox::DataChange()
{
    SetState(FieldState());
}

bool TDBCheckBox::Toggle()
{
    if (!link_->Edit())
        return false;
    link_->Modified();
    return true;
}

void TDBCheckBox::UpdateData()
{
    data::TField* field = link_->Field();
    if (field == nullptr)
        return;
    TCheckBoxState state = State();
    if (state == TCheckBoxState::cbGrayed)
        field->Clear();
    else if (field->DataType() == data::ftBoolean)
        field->SetAsBoolean(state == TCheckBoxState::cbChecked);
    else
        field->SetText(FirstValue(state == TCheckBoxState::cbChecked ? valueChecked_ : valueUnchecked_));
}

void TDBCheckBox::DoExit()
{
    try {
        link_->UpdateRecord();
    } catch (...) {
        SetFocus();
        throw;
    }
    TWinControl::DoExit();
}

} // namespace ui
