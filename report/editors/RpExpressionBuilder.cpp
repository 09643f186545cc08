#include "report/editors/RpExpressionBuilder.h"

#include "platform/core/FormatSettings.h"
#include "platform/data/DataSet.h"
#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/ExtCtrls.h"
#include "platform/ui/controls/Image.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/controls/ScrollBox.h"
#include "platform/ui/controls/Shape.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/Dialogs.h"
#include "report/editors/RpEnvironmentEditor.h"
#include "report/editors/RpWordWrapEdit.h"
#include "report/expr/RpDataSetList.h"
#include "report/expr/RpEnvironment.h"
#include "report/expr/RpExpr.h"
#include "report/expr/RpLibrary.h"
#include "report/expr/RpMessages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

#include <memory>

namespace report {

namespace {

constexpr std::string_view kNoErrors = "There are no errors. The result is : ";
constexpr std::string_view kError = "ERROR: ";
constexpr std::string_view kArgumentHeading = "Enter %d. parameter for %s";

const char* const kCategories[] = {"All",      "Date & time", "Math & trig", "Statistical",
                                   "Database", "Logical",     "Information", "Other"};

// The label of one argument box by the letter of its kind.
std::string ArgumentCaption(char letter, int number)
{
    std::string_view pattern;
    switch (letter) {
    case 'B': pattern = "Argument %d - logical value"; break;
    case 'N': pattern = "Argument %d - numeric value"; break;
    case 'S': pattern = "Argument %d - text Value"; break;
    case 'V': pattern = "Argument %d - value"; break;
    default: return {};
    }
    return FormatMessage(pattern, {std::to_string(number)});
}

// The validation text of a value: none for an error.
std::string ValueText(const TRpEvValue& value)
{
    switch (value.Kind) {
    case evInteger: return std::to_string(value.IntegerValue);
    case evFloat: return core::FloatToStr(value.FloatValue);
    case evString: return value.StringValue;
    case evBoolean: return value.BooleanValue ? "True" : "False";
    default: return {};
    }
}

// The banner's picture: a small page with a formula sign.
QPixmap BannerPicture()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(40, 60, 120));
    painter.setBrush(QColor(250, 250, 255));
    painter.drawRoundedRect(QRectF(3.5, 1.5, 25, 29), 3, 3);
    QFont font("serif");
    font.setItalic(true);
    font.setBold(true);
    font.setPixelSize(15);
    painter.setFont(font);
    painter.setPen(QColor(20, 40, 140));
    painter.drawText(QRect(3, 1, 26, 29), Qt::AlignCenter, QStringLiteral("f(x)"));
    return picture;
}

// Keeps a prepare of an environment for the length of a block.
class TPrepared {
public:
    explicit TPrepared(TRpEvEnvironment* environment) : environment_(environment)
    {
        if (environment_ != nullptr)
            environment_->PrepareEnvironment();
    }
    ~TPrepared()
    {
        if (environment_ != nullptr)
            environment_->ReleaseEnvironment();
    }
    TPrepared(const TPrepared&) = delete;
    TPrepared& operator=(const TPrepared&) = delete;

private:
    TRpEvEnvironment* environment_;
};

} // namespace

std::string RemoveLineBreaks(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ++i; // the line feed after it goes too
            continue;
        }
        result += text[i];
    }
    return result;
}

TRpExpressionBuilder::TRpExpressionBuilder(core::TComponent* owner) : ui::TForm(owner)
{
    SetCaption("Expression Builder");
    SetPosition(ui::TPosition::poScreenCenter);
    SetClientWidth(378);
    SetClientHeight(317);
    if (Widget() != nullptr)
        Widget()->setFixedSize(Widget()->size());

    auto place = [](ui::TControl* control, ui::TWinControl* parent, int left, int top, int width, int height) {
        control->SetParent(parent);
        control->SetBounds(left, top, width, height);
    };
    auto button = [&](ui::TWinControl* parent, const char* caption, int left, int top, int width,
                      void (TRpExpressionBuilder::*handler)(core::TObject*)) {
        auto* b = new ui::TButton(this);
        place(b, parent, left, top, width, 25);
        b->SetCaption(caption);
        if (handler != nullptr)
            b->OnClick = [this, handler](core::TObject* sender) { (this->*handler)(sender); };
        return b;
    };
    auto label = [&](ui::TWinControl* parent, const char* caption, int left, int top) {
        auto* l = new ui::TLabel(this);
        l->SetParent(parent);
        l->SetLeft(left);
        l->SetTop(top);
        l->SetCaption(caption);
        return l;
    };
    auto page = [&](const char* name) {
        auto* p = new ui::TPanel(this);
        p->SetName(name);
        p->SetBevelOuter(ui::TBevelCut::bvNone);
        p->SetParent(this);
        p->SetAlign(ui::TAlign::alClient);
        // A page hides the pages behind it.
        if (p->Widget() != nullptr)
            p->Widget()->setAutoFillBackground(true);
        return p;
    };
    auto group = [&](ui::TWinControl* parent, const char* caption) {
        auto* g = new ui::TGroupBox(this);
        place(g, parent, 20, 4, 341, 230);
        g->SetCaption(caption);
        return g;
    };
    auto list = [&](ui::TWinControl* parent, int left, int top, int width, int height) {
        auto* l = new ui::TListBox(this);
        place(l, parent, left, top, width, height);
        return l;
    };

    // Banner
    TopPanel = new ui::TPanel(this);
    TopPanel->SetName("TopPanel");
    TopPanel->SetBevelOuter(ui::TBevelCut::bvNone);
    TopPanel->SetParent(this);
    TopPanel->SetHeight(40);
    TopPanel->SetAlign(ui::TAlign::alTop);
    TopShape = new ui::TShape(this);
    TopShape->SetBrushColor(ui::clWhite);
    TopShape->SetPenColor(ui::clNone);
    TopShape->SetParent(TopPanel);
    TopShape->SetAlign(ui::TAlign::alClient);
    TopImage = new ui::TImage(this);
    place(TopImage, TopPanel, 12, 4, 32, 32);
    TopImage->SetPicture(BannerPicture());
    TopLabel = label(TopPanel, "Expression Builder", 56, 10);
    TopLabel->Font().SetSize(12);
    TopLabel->Font().SetStyle(ui::fsBold);

    // Main page
    MainPage = page("MainPage");
    Heading = label(MainPage, "Enter expression:", 20, 16);
    InsertGroup = new ui::TGroupBox(this);
    place(InsertGroup, MainPage, 20, 132, 341, 102);
    InsertGroup->SetCaption("Insert at cursor position");
    InsertDataFieldBtn = button(InsertGroup, "&Database field", 10, 22, 101, &TRpExpressionBuilder::InsertDataFieldBtnClick);
    InsertFunctionBtn = button(InsertGroup, "&Function", 120, 22, 101, &TRpExpressionBuilder::InsertFunctionBtnClick);
    InsertVariableBtn = button(InsertGroup, "&Variable", 230, 22, 101, &TRpExpressionBuilder::InsertVariableBtnClick);
    struct Operator {
        ui::TButton** field;
        const char* caption;
    };
    const Operator row1[] = {{&AddPlus, "+"},         {&AddMinus, "-"},       {&AddMul, "*"},       {&AddDiv, "/"},
                             {&AddEqual, "="},        {&AddSmaller, "<"},     {&AddLarger, ">"},    {&AddNotEqual, "<>"},
                             {&AddLessEqual, "<="}, {&AddGreaterEqual, ">="}};
    int left = 10;
    for (const Operator& o : row1) {
        *o.field = button(InsertGroup, o.caption, left, 49, 30, &TRpExpressionBuilder::AddSomeClick);
        left += 32;
    }
    const Operator row2[] = {{&AddNot, "Not"}, {&AddAnd, "And"}, {&AddOr, "Or"}};
    left = 10;
    for (const Operator& o : row2) {
        *o.field = button(InsertGroup, o.caption, left, 75, 46, &TRpExpressionBuilder::AddSomeClick);
        left += 48;
    }
    ValidateBtn = button(MainPage, "Valida&te", 20, 242, 75, &TRpExpressionBuilder::ValidateBtnClick);
    Clear = button(MainPage, "&Clear", 100, 242, 75, &TRpExpressionBuilder::ClearClick);
    OK = button(MainPage, "OK", 206, 242, 75, &TRpExpressionBuilder::OKClick);
    OK->SetDefault(true);
    OK->SetModalResult(ui::mrOk);
    Cancel = button(MainPage, "Cancel", 286, 242, 75, &TRpExpressionBuilder::CancelClick);
    Cancel->SetCancel(true);
    Cancel->SetModalResult(ui::mrCancel);

    // Data field page
    DataFieldPage = page("DataFieldPage");
    DataFieldGroup = group(DataFieldPage, "Insert database field in expression");
    DatasetsLabel = label(DataFieldGroup, "Select dataset", 10, 20);
    AvailableDatasets = list(DataFieldGroup, 10, 38, 155, 182);
    FieldsLabel = label(DataFieldGroup, "Available fields", 176, 20);
    AvailableFields = list(DataFieldGroup, 176, 38, 155, 182);
    AvailableDatasets->OnClick = [this](core::TObject* sender) { AvailableDatasetsClick(sender); };
    AvailableFields->OnDblClick = [this](core::TObject* sender) { DataFieldOKBtnClick(sender); };
    DataFieldOKBtn = button(DataFieldPage, "OK", 206, 242, 75, &TRpExpressionBuilder::DataFieldOKBtnClick);
    DataFieldCancelBtn = button(DataFieldPage, "Cancel", 286, 242, 75, &TRpExpressionBuilder::DataFieldCancelBtnClick);

    // Function page
    FunctionPage = page("FunctionPage");
    FunctionGroup = group(FunctionPage, "Select function");
    CategoryLabel = label(FunctionGroup, "Category", 10, 20);
    Categories = list(FunctionGroup, 10, 38, 120, 112);
    for (const char* category : kCategories)
        Categories->Items().Add(category);
    FunctionsLabel = label(FunctionGroup, "Available functions", 140, 20);
    AvailableFunc = list(FunctionGroup, 140, 38, 191, 112);
    FuncName = label(FunctionGroup, "", 10, 156);
    FuncName->Font().SetStyle(ui::fsBold);
    FuncDescription = label(FunctionGroup, "", 10, 176);
    FuncDescription->SetAutoSize(false);
    FuncDescription->SetWordWrap(true);
    FuncDescription->SetBounds(10, 176, 321, 46);
    Categories->OnClick = [this](core::TObject* sender) { CategoriesClick(sender); };
    AvailableFunc->OnClick = [this](core::TObject* sender) { AvailableFuncClick(sender); };
    AvailableFunc->OnDblClick = [this](core::TObject* sender) { FunctionOKBtnClick(sender); };
    FunctionOKBtn = button(FunctionPage, "Continue", 206, 242, 75, &TRpExpressionBuilder::FunctionOKBtnClick);
    FunctionCancelBtn = button(FunctionPage, "Cancel", 286, 242, 75, &TRpExpressionBuilder::FunctionCancelBtnClick);

    // Function arguments page
    FuncParamsPage = page("FuncParamsPage");
    FuncParamsGroup = group(FuncParamsPage, "Enter parameters for function");
    CopyFuncName = label(FuncParamsGroup, "", 10, 20);
    CopyFuncName->Font().SetStyle(ui::fsBold);
    CopyFuncDescription = label(FuncParamsGroup, "", 10, 38);
    CopyFuncDescription->SetAutoSize(false);
    CopyFuncDescription->SetWordWrap(true);
    CopyFuncDescription->SetBounds(10, 38, 321, 30);
    FuncParamSB = new ui::TScrollBox(this);
    place(FuncParamSB, FuncParamsGroup, 10, 72, 321, 150);
    FuncParamOkBtn = button(FuncParamsPage, "OK", 206, 242, 75, &TRpExpressionBuilder::FuncParamOkBtnClick);
    FuncArgCancelBtn = button(FuncParamsPage, "Cancel", 286, 242, 75, &TRpExpressionBuilder::FuncArgCancelBtnClick);

    // Variable page
    VariablePage = page("VariablePage");
    VariableGroup = group(VariablePage, "Select variable");
    AvailableVariables = list(VariableGroup, 10, 22, 321, 166);
    ValueLabel = label(VariableGroup, "Value :", 10, 198);
    VariableValue = label(VariableGroup, "", 60, 198);
    VariableValue->SetAutoSize(false);
    VariableValue->SetBounds(60, 198, 271, 26);
    AvailableVariables->OnClick = [this](core::TObject* sender) { AvailableVariablesClick(sender); };
    AvailableVariables->OnDblClick = [this](core::TObject* sender) { VariableOKBtnClick(sender); };
    ModifyVariables = button(VariablePage, "&Modify variables", 20, 242, 110, &TRpExpressionBuilder::ModifyVariablesClick);
    VariableOKBtn = button(VariablePage, "OK", 206, 242, 75, &TRpExpressionBuilder::VariableOKBtnClick);
    VariableCancelBtn = button(VariablePage, "Cancel", 286, 242, 75, &TRpExpressionBuilder::VariableCancelBtnClick);

    for (ui::TPanel* p : {DataFieldPage, FunctionPage, FuncParamsPage, VariablePage})
        p->SetEnabled(false);
    MainPage->BringToFront();

    OnCreate = [this](core::TObject* sender) { FormCreate(sender); };
    OnActivate = [this](core::TObject* sender) { FormActivate(sender); };
    OnCloseQuery = [this](core::TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
}

void TRpExpressionBuilder::FormCreate(core::TObject*)
{
    FillFunctionList(0);
    ExpressionBox = new TWordWrapEdit(this);
    ExpressionBox->SetName("ExpressionBox");
    ExpressionBox->SetParent(MainPage);
    ExpressionBox->SetBounds(20, 36, 341, 91);
}

void TRpExpressionBuilder::FormActivate(core::TObject*)
{
    FillDataSetList();
    FillVariableList();
    if (ExpressionBox != nullptr)
        ExpressionBox->SetFocus();
}

void TRpExpressionBuilder::FormCloseQuery(core::TObject*, bool& canClose)
{
    FunctionChoice = kChoiceCancel;
    ArgumentsChoice = kChoiceCancel;
    FieldChoice = kChoiceCancel;
    VariableChoice = kChoiceCancel;
    if (ExpressionChoice != kChoiceOk)
        ExpressionChoice = kChoiceCancel;
    canClose = true;
}

void TRpExpressionBuilder::FormKeyDown(core::TObject*, ui::WORD& key)
{
    if (key == ui::VK_ESCAPE || key == ui::VK_SPACE)
        AbandonFlag = true;
}

void TRpExpressionBuilder::FormKeyPress(core::TObject*, char& key)
{
    if (key == 27 || key == ' ')
        AbandonFlag = true;
}

bool TRpExpressionBuilder::WidgetEvent(QWidget* source, QEvent* event)
{
    if (source == Widget() && !HasState(core::csDestroying)) {
        if (event->type() == QEvent::Close) {
            // Closing the window ends every wait, whichever page is up.
            bool canClose = true;
            FormCloseQuery(this, canClose);
        } else if (event->type() == QEvent::KeyPress) {
            // Only keys the form itself has: the controls' keys are not previewed.
            QWidget* focus = QApplication::focusWidget();
            if (focus == nullptr || focus == Widget()) {
                auto* keyEvent = static_cast<QKeyEvent*>(event);
                if (keyEvent->key() == Qt::Key_Escape || keyEvent->key() == Qt::Key_Space) {
                    ui::WORD key = keyEvent->key() == Qt::Key_Escape ? ui::VK_ESCAPE : ui::VK_SPACE;
                    char character = keyEvent->key() == Qt::Key_Escape ? '\x1b' : ' ';
                    Fire([&] {
                        FormKeyDown(this, key);
                        FormKeyPress(this, character);
                    });
                }
            }
        }
    }
    return ui::TForm::WidgetEvent(source, event);
}

void TRpExpressionBuilder::ShowPage(ui::TPanel* page)
{
    page->SetEnabled(true);
    page->BringToFront();
}

void TRpExpressionBuilder::BackToMainPage()
{
    MainPage->SetEnabled(true);
    MainPage->BringToFront();
    ExpressionBox->SetFocus();
}

// --- lists

void TRpExpressionBuilder::FillDataSetList()
{
    std::unique_ptr<core::TStringList> dataSets = CollectDataSets(DataSetOwnerForm, true);
    AvailableDatasets->Items().BeginUpdate();
    AvailableDatasets->Items().Clear();
    AvailableDatasets->Items().AddStrings(*dataSets);
    AvailableDatasets->Items().EndUpdate();
    AvailableDatasets->SetItemIndex(AvailableDatasets->Count() > 0 ? 0 : -1);
    AvailableDatasetsClick(AvailableDatasets);
}

void TRpExpressionBuilder::AvailableDatasetsClick(core::TObject*)
{
    core::TStrings& fields = AvailableFields->Items();
    fields.BeginUpdate();
    fields.Clear();
    int index = AvailableDatasets->ItemIndex();
    if (index >= 0)
        if (auto* dataSet = dynamic_cast<data::TDataSet*>(AvailableDatasets->Items().Objects(index)))
            for (int i = 0; i < dataSet->FieldCount(); ++i)
                fields.Add(dataSet->Fields()->Fields(i)->FieldName());
    fields.EndUpdate();
}

void TRpExpressionBuilder::FillVariableList()
{
    core::TStrings& names = AvailableVariables->Items();
    names.BeginUpdate();
    names.Clear();
    if (VariablesEnvironment != nullptr)
        for (int i = 0; i < VariablesEnvironment->Count(); ++i)
            names.Add(VariablesEnvironment->Get(i));
    TRpEvEnvironment& global = ProcessEnvironment();
    for (int i = 0; i < global.Count(); ++i)
        names.Add(global.Get(i));
    names.EndUpdate();
    AvailableVariables->SetItemIndex(names.Count() > 0 ? 0 : -1);
    AvailableVariablesClick(AvailableVariables);
}

void TRpExpressionBuilder::AvailableVariablesClick(core::TObject*)
{
    std::string shown;
    int index = AvailableVariables->ItemIndex();
    if (index >= 0) {
        std::string name = AvailableVariables->Items().Get(index);
        TRpEvEmbeddedFunction* variable = nullptr;
        if (VariablesEnvironment != nullptr)
            variable = VariablesEnvironment->Variable(name);
        if (variable == nullptr)
            variable = ProcessEnvironment().Variable(name);
        if (variable != nullptr)
            shown = variable->ExpressionText;
    }
    VariableValue->SetCaption(shown);
}

void TRpExpressionBuilder::FillFunctionList(int category)
{
    core::TStrings& items = AvailableFunc->Items();
    items.BeginUpdate();
    items.Clear();
    TRpFunctionLibrary& library = FunctionLibrary();
    for (int i = 0; i < library.Count(); ++i) {
        TRpLibraryEntry* entry = library.Entry(i);
        if (category == 0 || entry->Category() == category)
            items.AddObject(entry->Name, entry);
    }
    items.EndUpdate();
    // The first function is the one whose help shows, and the one Continue takes.
    AvailableFunc->SetItemIndex(items.Count() > 0 ? 0 : -1);
    ShowFunctionHelp(0);
}

void TRpExpressionBuilder::ShowFunctionHelp(int item)
{
    auto* entry = item >= 0 && item < AvailableFunc->Count()
                      ? dynamic_cast<TRpLibraryEntry*>(AvailableFunc->Items().Objects(item))
                      : nullptr;
    FuncName->SetCaption(entry != nullptr ? entry->Syntax() : std::string());
    FuncDescription->SetCaption(entry != nullptr ? entry->Explanation() : std::string());
}

void TRpExpressionBuilder::CategoriesClick(core::TObject*)
{
    FillFunctionList(Categories->ItemIndex() > 0 ? Categories->ItemIndex() : 0);
}

void TRpExpressionBuilder::AvailableFuncClick(core::TObject*)
{
    ShowFunctionHelp(AvailableFunc->ItemIndex());
}

// --- the main page

void TRpExpressionBuilder::InsertAtCursor(const std::string& text)
{
    ExpressionBox->SetSelText(text);
    ExpressionBox->SetFocus();
}

void TRpExpressionBuilder::AddSomeClick(core::TObject* sender)
{
    if (auto* pressed = dynamic_cast<ui::TButton*>(sender))
        InsertAtCursor(" " + pressed->Caption() + " ");
}

void TRpExpressionBuilder::ClearClick(core::TObject*)
{
    ExpressionBox->Clear();
}

void TRpExpressionBuilder::OKClick(core::TObject*)
{
    ExpressionChoice = kChoiceOk;
}

void TRpExpressionBuilder::CancelClick(core::TObject*)
{
    ExpressionChoice = kChoiceCancel;
}

void TRpExpressionBuilder::ValidateBtnClick(core::TObject*)
{
    TRpEvValue value;
    {
        TPrepared global(&ProcessEnvironment());
        TPrepared local(VariablesEnvironment);
        TRpEvaluator evaluator;
        TRpDataSetList dataSets;
        for (int i = 0; i < AvailableDatasets->Count(); ++i)
            if (auto* dataSet = dynamic_cast<data::TDataSet*>(AvailableDatasets->Items().Objects(i)))
                dataSets.push_back(dataSet);
        evaluator.AssignDataSets(&dataSets);
        evaluator.SetLocalScope(VariablesEnvironment);
        value = evaluator.EvaluateText(RemoveLineBreaks(ExpressionBox->Text()));
        evaluator.AssignDataSets(nullptr);
    }
    std::string text = ValueText(value);
    if (!text.empty())
        ui::ShowMessage(std::string(kNoErrors) + text);
    else
        ui::ShowMessage(std::string(kError) + (value.IsError() ? value.ErrorMessage() : std::string()));
}

// --- data fields

void TRpExpressionBuilder::InsertDataFieldBtnClick(core::TObject*)
{
    MainPage->SetEnabled(false);
    std::string text;
    if (ChooseField(text))
        InsertAtCursor(text);
    BackToMainPage();
}

bool TRpExpressionBuilder::ChooseField(std::string& text)
{
    FieldChoice = kChoiceWaiting;
    ShowPage(DataFieldPage);
    ui::ProcessMessagesUntil([this] { return FieldChoice != kChoiceWaiting || AbandonFlag; });
    bool chosen = FieldChoice == kChoiceOk;
    text.clear();
    if (chosen && AvailableDatasets->ItemIndex() >= 0 && AvailableFields->ItemIndex() >= 0)
        text = AvailableDatasets->Items().Get(AvailableDatasets->ItemIndex()) + "." +
               AvailableFields->Items().Get(AvailableFields->ItemIndex());
    DataFieldPage->SetEnabled(false);
    return chosen;
}

void TRpExpressionBuilder::DataFieldOKBtnClick(core::TObject*)
{
    FieldChoice = kChoiceOk;
}

void TRpExpressionBuilder::DataFieldCancelBtnClick(core::TObject*)
{
    FieldChoice = kChoiceCancel;
}

// --- functions

void TRpExpressionBuilder::InsertFunctionBtnClick(core::TObject*)
{
    MainPage->SetEnabled(false);
    std::string text;
    if (ChooseFunction(text))
        InsertAtCursor(text);
    BackToMainPage();
}

bool TRpExpressionBuilder::ChooseFunction(std::string& text)
{
    ShowPage(FunctionPage);
    FunctionChoice = kChoiceWaiting;
    ui::ProcessMessagesUntil([this] { return FunctionChoice != kChoiceWaiting; });
    bool chosen = false;
    text.clear();
    int index = AvailableFunc->ItemIndex();
    auto* entry = index >= 0 ? dynamic_cast<TRpLibraryEntry*>(AvailableFunc->Items().Objects(index)) : nullptr;
    // Continue with no function listed (an empty category) chooses nothing.
    if (FunctionChoice == kChoiceOk && entry != nullptr) {
        text = entry->Name;
        chosen = true;
        std::string letters = entry->ArgumentLetters();
        if (!letters.empty()) {
            FunctionPage->SetEnabled(false);
            std::string arguments;
            chosen = AskArguments(letters, arguments);
            if (chosen)
                text += "(" + arguments + ")";
            ShowPage(FunctionPage);
        }
    }
    if (!chosen)
        text.clear();
    FunctionPage->SetEnabled(false);
    return chosen;
}

void TRpExpressionBuilder::FunctionOKBtnClick(core::TObject*)
{
    FunctionChoice = kChoiceOk;
}

void TRpExpressionBuilder::FunctionCancelBtnClick(core::TObject*)
{
    FunctionChoice = kChoiceCancel;
}

bool TRpExpressionBuilder::AskArguments(const std::string& letters, std::string& arguments)
{
    ShowPage(FuncParamsPage);
    CopyFuncName->SetCaption(FuncName->Caption());
    CopyFuncDescription->SetCaption(FuncDescription->Caption());
    const int width = FuncParamSB->Width();
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const int top = 40 * static_cast<int>(i);
        auto* caption = new ui::TLabel(this);
        caption->SetParent(FuncParamSB);
        caption->SetLeft(10);
        caption->SetTop(top);
        caption->SetCaption(ArgumentCaption(letters[i], static_cast<int>(i) + 1));
        auto* edit = new ui::TEdit(this);
        edit->SetParent(FuncParamSB);
        edit->SetBounds(10, top + 15, width - 60, 21);
        edit->SetTag(static_cast<std::intptr_t>(i));
        auto* more = new ui::TSpeedButton(this);
        more->SetParent(FuncParamSB);
        more->SetBounds(width - 40, top + 15, 20, 20);
        more->SetCaption("...");
        more->SetTag(static_cast<std::intptr_t>(i));
        more->OnClick = [this](core::TObject* sender) { BuildArgument(sender); };
        argumentControls_.insert(argumentControls_.end(), {caption, edit, more});
        argumentEdits_.push_back(edit);
    }
    FuncParamSB->VertScrollBar().SetRange(40 * static_cast<int>(letters.size()));
    FuncParamSB->VertScrollBar().SetIncrement(40);
    if (!argumentEdits_.empty())
        argumentEdits_.front()->SetFocus();

    ArgumentsChoice = kChoiceWaiting;
    ui::ProcessMessagesUntil([this] { return ArgumentsChoice != kChoiceWaiting; });
    bool accepted = ArgumentsChoice == kChoiceOk;
    arguments.clear();
    if (accepted)
        for (std::size_t i = 0; i < argumentEdits_.size(); ++i)
            arguments += (i > 0 ? "," : "") + argumentEdits_[i]->Text();

    argumentEdits_.clear();
    std::vector<core::TComponent*> controls;
    controls.swap(argumentControls_);
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        ui::FreeComponent(*it);
    FuncParamSB->VertScrollBar().SetRange(0);
    FuncParamsPage->SetEnabled(false);
    return accepted;
}

void TRpExpressionBuilder::BuildArgument(core::TObject* sender)
{
    auto* pressed = dynamic_cast<core::TComponent*>(sender);
    if (pressed == nullptr || pressed->Tag() < 0 || pressed->Tag() >= static_cast<std::intptr_t>(argumentEdits_.size()))
        return;
    const int number = static_cast<int>(pressed->Tag());
    ui::TEdit* edit = argumentEdits_[static_cast<std::size_t>(number)];
    std::string heading = FormatMessage(kArgumentHeading, {std::to_string(number + 1), FuncName->Caption()});
    std::string argument = edit->Text();
    if (RunExpressionBuilder(heading, argument, DataSetOwnerForm, VariablesEnvironment, this))
        edit->SetText(argument);
    // The nested builder may have ended the wait (its window closed) and freed the boxes.
    if (number >= static_cast<int>(argumentEdits_.size()) || argumentEdits_[static_cast<std::size_t>(number)] != edit)
        return;
    FuncParamsPage->BringToFront();
    edit->SetFocus();
    edit->SelectAll();
}

void TRpExpressionBuilder::FuncParamOkBtnClick(core::TObject*)
{
    ArgumentsChoice = kChoiceOk;
}

void TRpExpressionBuilder::FuncArgCancelBtnClick(core::TObject*)
{
    ArgumentsChoice = kChoiceCancel;
}

// --- variables

void TRpExpressionBuilder::InsertVariableBtnClick(core::TObject*)
{
    MainPage->SetEnabled(false);
    std::string text;
    if (ChooseVariable(text))
        InsertAtCursor(text);
    BackToMainPage();
}

bool TRpExpressionBuilder::ChooseVariable(std::string& text)
{
    VariableChoice = kChoiceWaiting;
    ShowPage(VariablePage);
    ui::ProcessMessagesUntil([this] { return VariableChoice != kChoiceWaiting || AbandonFlag; });
    bool chosen = VariableChoice == kChoiceOk;
    text.clear();
    if (chosen && AvailableVariables->ItemIndex() >= 0)
        text = AvailableVariables->Items().Get(AvailableVariables->ItemIndex());
    VariablePage->SetEnabled(false);
    return chosen;
}

void TRpExpressionBuilder::VariableOKBtnClick(core::TObject*)
{
    VariableChoice = kChoiceOk;
}

void TRpExpressionBuilder::VariableCancelBtnClick(core::TObject*)
{
    VariableChoice = kChoiceCancel;
}

void TRpExpressionBuilder::ModifyVariablesClick(core::TObject*)
{
    EditEnvironment(VariablesEnvironment, true);
    // What the editor added, renamed or changed is offered at once; the
    // variable chosen before stays chosen while it still exists.
    const int index = AvailableVariables->ItemIndex();
    const std::string chosen = index >= 0 ? AvailableVariables->Items().Get(index) : std::string();
    FillVariableList();
    const int again = chosen.empty() ? -1 : AvailableVariables->Items().IndexOf(chosen);
    if (again >= 0) {
        AvailableVariables->SetItemIndex(again);
        AvailableVariablesClick(AvailableVariables);
    }
}

// --- running

bool RunExpressionBuilder(const std::string& heading, std::string& expression, core::TComponent* dataSetOwnerForm,
                          TRpEvEnvironment* localEnvironment, ui::TCustomForm* parentForm)
{
    auto* builder = ui::CreateComponent<TRpExpressionBuilder>(ui::Application);
    struct Free {
        TRpExpressionBuilder* builder;
        ~Free() { ui::FreeComponent(builder); }
    } freeBuilder{builder};

    builder->DataSetOwnerForm = dataSetOwnerForm;
    builder->VariablesEnvironment = localEnvironment;
    const bool embedded = parentForm != nullptr && parentForm->Widget() != nullptr;
    if (embedded) {
        // A borderless child at the parent's top left corner, in its designed size.
        QWidget* widget = builder->Widget();
        QSize size = widget->size();
        widget->setParent(parentForm->Widget(), Qt::Widget);
        builder->SetPosition(ui::TPosition::poDesigned);
        builder->SetBounds(0, 0, size.width(), size.height());
        builder->FillDataSetList();
        builder->FillVariableList();
    }
    if (!heading.empty())
        builder->Heading->SetCaption(heading);
    builder->ExpressionBox->SetText(expression);
    builder->ExpressionBox->SelectAll();
    builder->ExpressionChoice = kChoiceWaiting;
    builder->MainPage->BringToFront();
    builder->AbandonFlag = false;

    if (embedded) {
        builder->Show();
        builder->ExpressionBox->SetFocus();
        ui::ProcessMessagesUntil(
            [builder] { return builder->ExpressionChoice != kChoiceWaiting || builder->AbandonFlag; });
    } else {
        builder->ShowModal();
    }

    if (builder->ExpressionChoice == kChoiceOk) {
        expression = RemoveLineBreaks(builder->ExpressionBox->Text());
        return true;
    }
    expression.clear();
    return false;
}

} // namespace report
