#include "report/editors/RpEnvironmentEditor.h"

#include "platform/core/Letters.h"
#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/Grids.h"
#include "platform/ui/controls/RadioButton.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/kernel/Application.h"
#include "report/editors/RpExpressionBuilder.h"
#include "report/expr/RpEnvironment.h"

#include <QEvent>
#include <QWidget>

namespace report {

namespace {

constexpr const char* kNameHeader = "Name";
constexpr const char* kExpressionHeader = "Expression";

} // namespace

TRpEnvironmentEditor::TRpEnvironmentEditor(core::TComponent* owner) : ui::TForm(owner)
{
    SetCaption("User Defined Functions Edtor");
    SetPosition(ui::TPosition::poScreenCenter);
    // As large as the expression builder, which covers it when run inside it.
    SetClientWidth(378);
    SetClientHeight(317);
    if (Widget() != nullptr)
        Widget()->setFixedSize(Widget()->size());

    auto button = [&](ui::TWinControl* parent, const char* caption, int left, int top,
                      void (TRpEnvironmentEditor::*handler)(core::TObject*)) {
        auto* b = new ui::TButton(this);
        b->SetParent(parent);
        b->SetBounds(left, top, 75, 25);
        b->SetCaption(caption);
        if (handler != nullptr)
            b->OnClick = [this, handler](core::TObject* sender) { (this->*handler)(sender); };
        return b;
    };

    // The new-entry page lies under the list page until it is asked for.
    NewEntryGB = new ui::TGroupBox(this);
    NewEntryGB->SetParent(this);
    NewEntryGB->SetBounds(8, 8, 362, 266);
    NewEntryGB->SetCaption("New entry");
    NameLabel = new ui::TLabel(this);
    NameLabel->SetParent(NewEntryGB);
    NameLabel->SetLeft(12);
    NameLabel->SetTop(28);
    NameLabel->SetCaption("Name :");
    Name = new ui::TEdit(this);
    Name->SetName("Name");
    Name->SetParent(NewEntryGB);
    Name->SetBounds(12, 46, 337, 21);
    ExpressionLabel = new ui::TLabel(this);
    ExpressionLabel->SetParent(NewEntryGB);
    ExpressionLabel->SetLeft(12);
    ExpressionLabel->SetTop(80);
    ExpressionLabel->SetCaption("Expression :");
    Expression = new ui::TEdit(this);
    Expression->SetName("Expression");
    Expression->SetParent(NewEntryGB);
    Expression->SetBounds(12, 98, 309, 21);
    SpeedButton1 = new ui::TSpeedButton(this);
    SpeedButton1->SetName("SpeedButton1");
    SpeedButton1->SetParent(NewEntryGB);
    SpeedButton1->SetBounds(326, 98, 23, 22);
    SpeedButton1->SetCaption("...");
    SpeedButton1->OnClick = [this](core::TObject* sender) { SpeedButton1Click(sender); };
    NewOKBtn = button(NewEntryGB, "&OK", 193, 228, &TRpEnvironmentEditor::NewOKBtnClick);
    NewCancelBtn = button(NewEntryGB, "&Cancel", 274, 228, &TRpEnvironmentEditor::NewCancelBtnClick);

    AvailableGB = new ui::TGroupBox(this);
    AvailableGB->SetParent(this);
    AvailableGB->SetBounds(8, 8, 362, 266);
    AvailableGB->SetCaption("Available User Defined Functions");
    LocalCB = new ui::TRadioButton(this);
    LocalCB->SetParent(AvailableGB);
    LocalCB->SetBounds(12, 22, 140, 17);
    LocalCB->SetCaption("&Local defines");
    LocalCB->SetChecked(true);
    GlobalCB = new ui::TRadioButton(this);
    GlobalCB->SetParent(AvailableGB);
    GlobalCB->SetBounds(170, 22, 140, 17);
    GlobalCB->SetCaption("&Global defines");
    LocalCB->OnClick = [this](core::TObject* sender) { LocalCBClick(sender); };
    GlobalCB->OnClick = [this](core::TObject* sender) { LocalCBClick(sender); };
    UDFGrid = new ui::TStringGrid(this);
    UDFGrid->SetName("UDFGrid");
    UDFGrid->SetParent(AvailableGB);
    UDFGrid->SetBounds(12, 46, 337, 208);
    UDFGrid->SetColCount(2);
    UDFGrid->SetFixedCols(0);
    UDFGrid->SetRowCount(2);
    UDFGrid->SetFixedRows(1);
    UDFGrid->SetDefaultRowHeight(20);
    UDFGrid->SetColWidths(0, 123);
    UDFGrid->SetColWidths(1, 165);
    UDFGrid->SetOptions(ui::goColSizing | ui::goEditing);
    UDFGrid->OnSetEditText = [this](core::TObject* sender, int col, int row, const std::string& value) {
        UDFGridSetEditText(sender, col, row, value);
    };
    UDFGrid->OnDblClick = [this](core::TObject* sender) { EditBtnClick(sender); };

    AddBtn = button(this, "&Add", 8, 284, &TRpEnvironmentEditor::AddBtnClick);
    EditBtn = button(this, "&Edit", 89, 284, &TRpEnvironmentEditor::EditBtnClick);
    DeleteBtn = button(this, "&Delete", 170, 284, &TRpEnvironmentEditor::DeleteBtnClick);
    VariableOKBtn = button(this, "Close", 295, 284, &TRpEnvironmentEditor::VariableOKBtnClick);
    VariableOKBtn->SetDefault(true);
    // The two pages lie on each other: the one in front hides the other.
    for (ui::TGroupBox* page : {NewEntryGB, AvailableGB})
        if (page->Widget() != nullptr)
            page->Widget()->setAutoFillBackground(true);
    VariableOKBtn->SetModalResult(ui::mrOk);

    OnCreate = [this](core::TObject* sender) { FormCreate(sender); };
    OnCloseQuery = [this](core::TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
}

void TRpEnvironmentEditor::FormCreate(core::TObject*)
{
    UDFGrid->SetCells(0, 0, kNameHeader);
    UDFGrid->SetCells(1, 0, kExpressionHeader);
    LocalEnvironment = nullptr;
}

void TRpEnvironmentEditor::FormCloseQuery(core::TObject*, bool& canClose)
{
    CloseRequested = true;
    canClose = true;
}

TRpEvEnvironment* TRpEnvironmentEditor::CurrentEnvironment() const
{
    return LocalCB->Checked() ? LocalEnvironment : &ProcessEnvironment();
}

void TRpEnvironmentEditor::FillGrid()
{
    TRpEvEnvironment* environment = CurrentEnvironment();
    if (environment == nullptr)
        return;
    // Headings alone when there is no entry: the grid holds no empty row to edit.
    UDFGrid->SetRowCount(environment->Count() + 1);
    for (int i = 0; i < environment->Count(); ++i) {
        UDFGrid->SetCells(0, i + 1, environment->Get(i));
        UDFGrid->SetCells(1, i + 1, environment->Variable(i)->ExpressionText);
    }
}

void TRpEnvironmentEditor::LocalCBClick(core::TObject*)
{
    FillGrid();
}

void TRpEnvironmentEditor::UDFGridSetEditText(core::TObject*, int col, int row, const std::string& value)
{
    TRpEvEnvironment* environment = CurrentEnvironment();
    const int entry = row - 1;
    if (environment == nullptr || entry < 0 || entry >= environment->Count())
        return;
    if (col == 0) {
        environment->Put(entry, core::AnsiUpperCase(value));
        return;
    }
    if (environment->IsPrepared()) {
        // No change while a run uses the variables.
        UDFGrid->SetCells(1, row, environment->Variable(entry)->ExpressionText);
        return;
    }
    environment->ReplaceVariable(entry, value);
}

void TRpEnvironmentEditor::EditBtnClick(core::TObject*)
{
    TRpEvEnvironment* environment = CurrentEnvironment();
    const int row = UDFGrid->Row();
    if (environment == nullptr || row - 1 < 0 || row - 1 >= environment->Count())
        return;
    std::string expression = UDFGrid->Cells(1, row);
    if (RunExpressionBuilder(UDFGrid->Cells(0, row), expression, this, LocalEnvironment, this)) {
        UDFGrid->SetCells(1, row, expression);
        UDFGridSetEditText(UDFGrid, 1, row, expression);
    }
}

void TRpEnvironmentEditor::AddBtnClick(core::TObject*)
{
    std::string name, expression;
    TRpEvEnvironment* environment = CurrentEnvironment();
    if (environment == nullptr || !AskNewEntry(name, expression))
        return;
    environment->DefineVariable(name, expression);
    FillGrid();
}

void TRpEnvironmentEditor::DeleteBtnClick(core::TObject*)
{
    TRpEvEnvironment* environment = CurrentEnvironment();
    const int entry = UDFGrid->Row() - 1;
    // A prepared environment's variables may be in use by a run.
    if (environment == nullptr || environment->IsPrepared() || entry < 0 || entry >= environment->Count())
        return;
    environment->Delete(entry);
    FillGrid();
}

bool TRpEnvironmentEditor::AskNewEntry(std::string& name, std::string& expression)
{
    for (ui::TButton* b : {AddBtn, EditBtn, DeleteBtn, VariableOKBtn})
        b->Hide();
    NewEntryGB->BringToFront();
    Name->SetFocus();
    NewEntryResult = 0;
    ui::ProcessMessagesUntil([this] { return NewEntryResult != 0 || CloseRequested; });
    bool accepted = NewEntryResult == 1;
    if (accepted) {
        name = Name->Text();
        expression = Expression->Text();
    }
    for (ui::TButton* b : {AddBtn, EditBtn, DeleteBtn, VariableOKBtn})
        b->Show();
    AvailableGB->BringToFront();
    return accepted;
}

bool TRpEnvironmentEditor::WidgetEvent(QWidget* source, QEvent* event)
{
    // Closing the window cancels a new entry being asked for.
    if (source == Widget() && event->type() == QEvent::Close && NewEntryResult == 0)
        NewEntryResult = 2;
    return ui::TForm::WidgetEvent(source, event);
}

void TRpEnvironmentEditor::NewOKBtnClick(core::TObject*)
{
    NewEntryResult = 1;
}

void TRpEnvironmentEditor::NewCancelBtnClick(core::TObject*)
{
    NewEntryResult = 2;
}

void TRpEnvironmentEditor::SpeedButton1Click(core::TObject*)
{
    std::string expression = Expression->Text();
    if (RunExpressionBuilder(Name->Text(), expression, this, LocalEnvironment, this))
        Expression->SetText(expression);
}

void TRpEnvironmentEditor::VariableOKBtnClick(core::TObject*)
{
    CloseRequested = true;
}

void EditEnvironment(TRpEvEnvironment* localEnvironment, bool allowGlobal)
{
    auto* editor = ui::CreateComponent<TRpEnvironmentEditor>(ui::Application);
    struct Free {
        TRpEnvironmentEditor* editor;
        ~Free() { ui::FreeComponent(editor); }
    } freeEditor{editor};

    if (!allowGlobal)
        editor->GlobalCB->SetEnabled(false);
    editor->LocalEnvironment = localEnvironment;
    if (localEnvironment == nullptr) {
        editor->LocalCB->SetEnabled(false);
        editor->GlobalCB->SetChecked(true);
    }
    editor->FillGrid();
    editor->CloseRequested = false;
    editor->ShowModal();
    ui::ProcessMessagesUntil([editor] { return editor->CloseRequested; });
}

} // namespace report
