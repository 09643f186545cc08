#pragma once
// The expression builder: a dialog that edits one expression, inserts data-set
// fields, functions with their arguments, variables and operators at the
// cursor, and checks the expression by evaluating it once.
//
// Its pages are not separate windows: a page disables the main page, comes to
// the front and waits, processing messages, until its choice is made. The
// builder runs as a modal dialog, or inside another form (the environment
// editor, or a builder asking for one argument of a function).

#include "platform/ui/kernel/Forms.h"
#include "platform/ui/kernel/Messages.h"

#include <string>
#include <vector>

namespace ui {
class TButton;
class TEdit;
class TGroupBox;
class TImage;
class TLabel;
class TListBox;
class TPanel;
class TScrollBox;
class TShape;
class TSpeedButton;
}

namespace report {

class TRpEvEnvironment;
class TWordWrapEdit;

// Values of the page choices.
inline constexpr int kChoiceWaiting = 0;
inline constexpr int kChoiceOk = 1;
inline constexpr int kChoiceCancel = 2;

class TRpExpressionBuilder : public ui::TForm {
public:
    explicit TRpExpressionBuilder(core::TComponent* owner);
    std::string ClassName() const override { return "TRpExpressionBuilder"; }

    // Banner
    ui::TPanel* TopPanel;
    ui::TShape* TopShape;
    ui::TImage* TopImage;
    ui::TLabel* TopLabel;
    // Main page
    ui::TPanel* MainPage;
    ui::TLabel* Heading;
    TWordWrapEdit* ExpressionBox = nullptr; // made by FormCreate
    ui::TGroupBox* InsertGroup;
    ui::TButton* InsertDataFieldBtn;
    ui::TButton* InsertFunctionBtn;
    ui::TButton* InsertVariableBtn;
    ui::TButton* AddPlus;
    ui::TButton* AddMinus;
    ui::TButton* AddMul;
    ui::TButton* AddDiv;
    ui::TButton* AddEqual;
    ui::TButton* AddSmaller;
    ui::TButton* AddLarger;
    ui::TButton* AddNotEqual;
    ui::TButton* AddLessEqual;
    ui::TButton* AddGreaterEqual;
    ui::TButton* AddNot;
    ui::TButton* AddAnd;
    ui::TButton* AddOr;
    ui::TButton* ValidateBtn;
    ui::TButton* Clear;
    ui::TButton* OK;
    ui::TButton* Cancel;
    // Data field page
    ui::TPanel* DataFieldPage;
    ui::TGroupBox* DataFieldGroup;
    ui::TLabel* DatasetsLabel;
    ui::TListBox* AvailableDatasets;
    ui::TLabel* FieldsLabel;
    ui::TListBox* AvailableFields;
    ui::TButton* DataFieldOKBtn;
    ui::TButton* DataFieldCancelBtn;
    // Function page
    ui::TPanel* FunctionPage;
    ui::TGroupBox* FunctionGroup;
    ui::TLabel* CategoryLabel;
    ui::TListBox* Categories;
    ui::TLabel* FunctionsLabel;
    ui::TListBox* AvailableFunc;
    ui::TLabel* FuncName;
    ui::TLabel* FuncDescription;
    ui::TButton* FunctionOKBtn;
    ui::TButton* FunctionCancelBtn;
    // Function arguments page
    ui::TPanel* FuncParamsPage;
    ui::TGroupBox* FuncParamsGroup;
    ui::TLabel* CopyFuncName;
    ui::TLabel* CopyFuncDescription;
    ui::TScrollBox* FuncParamSB;
    ui::TButton* FuncParamOkBtn;
    ui::TButton* FuncArgCancelBtn;
    // Variable page
    ui::TPanel* VariablePage;
    ui::TGroupBox* VariableGroup;
    ui::TListBox* AvailableVariables;
    ui::TLabel* ValueLabel;
    ui::TLabel* VariableValue;
    ui::TButton* VariableOKBtn;
    ui::TButton* VariableCancelBtn;
    ui::TButton* ModifyVariables;

    // The form whose data sets are offered, and the local environment whose
    // variables are offered before the global ones; either may be none.
    core::TComponent* DataSetOwnerForm = nullptr;
    TRpEvEnvironment* VariablesEnvironment = nullptr;

    int ExpressionChoice = kChoiceWaiting;
    int FunctionChoice = kChoiceWaiting;
    int ArgumentsChoice = kChoiceWaiting;
    int FieldChoice = kChoiceWaiting;
    int VariableChoice = kChoiceWaiting;
    bool AbandonFlag = false;

    // Published handlers.
    void FormCreate(core::TObject* sender);
    void FormActivate(core::TObject* sender);
    void FormCloseQuery(core::TObject* sender, bool& canClose);
    void FormKeyDown(core::TObject* sender, ui::WORD& key);
    void FormKeyPress(core::TObject* sender, char& key);
    void InsertDataFieldBtnClick(core::TObject* sender);
    void InsertFunctionBtnClick(core::TObject* sender);
    void InsertVariableBtnClick(core::TObject* sender);
    void AddSomeClick(core::TObject* sender);
    void ValidateBtnClick(core::TObject* sender);
    void ClearClick(core::TObject* sender);
    void OKClick(core::TObject* sender);
    void CancelClick(core::TObject* sender);
    void AvailableDatasetsClick(core::TObject* sender);
    void DataFieldOKBtnClick(core::TObject* sender);
    void DataFieldCancelBtnClick(core::TObject* sender);
    void CategoriesClick(core::TObject* sender);
    void AvailableFuncClick(core::TObject* sender);
    void FunctionOKBtnClick(core::TObject* sender);
    void FunctionCancelBtnClick(core::TObject* sender);
    void FuncParamOkBtnClick(core::TObject* sender);
    void FuncArgCancelBtnClick(core::TObject* sender);
    void AvailableVariablesClick(core::TObject* sender);
    void VariableOKBtnClick(core::TObject* sender);
    void VariableCancelBtnClick(core::TObject* sender);
    void ModifyVariablesClick(core::TObject* sender);

    void FillDataSetList();
    void FillVariableList();
    // Lists the library's functions of a category (0: all) in registration order.
    void FillFunctionList(int category);
    // Shows the syntax and explanation of a listed function; none beyond the list.
    void ShowFunctionHelp(int item);
    void InsertAtCursor(const std::string& text);

    // The page waits: each gives true and the text to insert when the user chose OK.
    bool ChooseField(std::string& text);
    bool ChooseFunction(std::string& text);
    bool AskArguments(const std::string& letters, std::string& arguments);
    bool ChooseVariable(std::string& text);
    // Runs a builder inside this one for the argument whose "..." was pressed.
    void BuildArgument(core::TObject* sender);

    // The argument boxes while AskArguments runs.
    const std::vector<ui::TEdit*>& ArgumentEdits() const { return argumentEdits_; }

protected:
    bool WidgetEvent(QWidget* source, QEvent* event) override;

private:
    void ShowPage(ui::TPanel* page);
    void BackToMainPage();

    std::vector<ui::TEdit*> argumentEdits_;
    std::vector<core::TComponent*> argumentControls_;
};

// Every carriage return deleted together with the character after it.
std::string RemoveLineBreaks(const std::string& text);

// Runs a builder on expression. A non-empty heading replaces "Enter expression:".
// With a parent form the builder runs inside it, at its top left corner;
// otherwise as a modal dialog. True when the user chose OK: expression then
// holds the edited text without line breaks; otherwise it is emptied.
bool RunExpressionBuilder(const std::string& heading, std::string& expression, core::TComponent* dataSetOwnerForm,
                          TRpEvEnvironment* localEnvironment, ui::TCustomForm* parentForm);

} // namespace report
