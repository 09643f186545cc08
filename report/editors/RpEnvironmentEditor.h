#pragma once
// The editor of user-defined functions: lists the variables of a report's
// local environment or of the global one, adds them, renames them and edits
// their expressions (typed in the grid or built with the expression builder).

#include "platform/ui/kernel/Forms.h"

#include <string>

namespace ui {
class TButton;
class TEdit;
class TGroupBox;
class TLabel;
class TRadioButton;
class TSpeedButton;
class TStringGrid;
}

namespace report {

class TRpEvEnvironment;

class TRpEnvironmentEditor : public ui::TForm {
public:
    explicit TRpEnvironmentEditor(core::TComponent* owner);
    std::string ClassName() const override { return "TRpEnvironmentEditor"; }

    ui::TGroupBox* AvailableGB;
    ui::TRadioButton* LocalCB;
    ui::TRadioButton* GlobalCB;
    ui::TStringGrid* UDFGrid;
    ui::TButton* AddBtn;
    ui::TButton* EditBtn;
    ui::TButton* DeleteBtn;
    ui::TButton* VariableOKBtn;
    ui::TGroupBox* NewEntryGB;
    ui::TLabel* NameLabel;
    ui::TLabel* ExpressionLabel;
    ui::TEdit* Name;
    ui::TEdit* Expression;
    ui::TSpeedButton* SpeedButton1;
    ui::TButton* NewOKBtn;
    ui::TButton* NewCancelBtn;

    // The report's environment; none when only the global one is edited.
    TRpEvEnvironment* LocalEnvironment = nullptr;
    bool CloseRequested = false;
    // 0 while the new-entry page waits, 1 for OK, 2 for Cancel.
    int NewEntryResult = 0;

    // Published handlers.
    void FormCreate(core::TObject* sender);
    void FormCloseQuery(core::TObject* sender, bool& canClose);
    void LocalCBClick(core::TObject* sender);
    void UDFGridSetEditText(core::TObject* sender, int col, int row, const std::string& value);
    void AddBtnClick(core::TObject* sender);
    void EditBtnClick(core::TObject* sender);
    void DeleteBtnClick(core::TObject* sender);
    void VariableOKBtnClick(core::TObject* sender);
    void NewOKBtnClick(core::TObject* sender);
    void NewCancelBtnClick(core::TObject* sender);
    void SpeedButton1Click(core::TObject* sender);

    // The local environment while "Local defines" is checked, else the global one.
    TRpEvEnvironment* CurrentEnvironment() const;
    void FillGrid();
    // Shows the new-entry page and waits; true and the texts on OK.
    bool AskNewEntry(std::string& name, std::string& expression);

protected:
    bool WidgetEvent(QWidget* source, QEvent* event) override;
};

// Runs the editor modally on a report's environment (or none) and, when
// allowGlobal, on the global environment too.
void EditEnvironment(TRpEvEnvironment* localEnvironment, bool allowGlobal);

} // namespace report
