#pragma once
// The property editors of the text printables and their settings dialogs:
// an editor answers questions about a label or an expression label, changes
// its colour, font, text and alignment, and shows a modal dialog of its text,
// size and switches.

#include "platform/ui/kernel/Forms.h"
#include "report/printables/RpExprLabel.h"
#include "report/printables/RpLabel.h"
#include "report/printables/RpPrintable.h"

#include <string>

namespace ui {
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TMaskEdit;
class TSpeedButton;
} // namespace ui

namespace report {

// The settings dialog of a label.
class TRpLabelEditorForm : public ui::TForm {
public:
    explicit TRpLabelEditorForm(core::TComponent* owner);
    std::string ClassName() const override { return "TRpLabelEditorForm"; }

    ui::TGroupBox* GroupBox1;
    ui::TLabel* ValueLabel;
    ui::TEdit* Value;
    ui::TLabel* WidthLabel;
    // Named "Width" and "Height" as components.
    ui::TMaskEdit* WidthEdit;
    ui::TLabel* HeightLabel;
    ui::TMaskEdit* HeightEdit;
    ui::TCheckBox* AutoSize;
    ui::TCheckBox* Stretch;
    ui::TCheckBox* Transparent;
    ui::TButton* OKBtn;
    ui::TButton* Button4;
};

// The settings dialog of an expression label: the label's, with a button
// that opens the expression builder and a format mask.
class TRpExprEditorForm : public TRpLabelEditorForm {
public:
    explicit TRpExprEditorForm(core::TComponent* owner);
    std::string ClassName() const override { return "TRpExprEditorForm"; }

    ui::TSpeedButton* ShowExprBuilder;
    ui::TLabel* MaskLabel;
    ui::TComboBox* Mask;

    // The form whose data sets the expression builder offers; may be none.
    core::TComponent* DataSetOwnerForm = nullptr;

    // Opens the expression builder on Value; Value takes what the user built.
    void ShowExprBuilderClick(core::TObject* sender);
};

class TRpLabelEditor : public TRpPrintableEditor {
public:
    using TRpPrintableEditor::TRpPrintableEditor;
    std::string ClassName() const override { return "TRpLabelEditor"; }
    static const TRpPrintableEditorClass& StaticClass();

    ui::TColor GetColor() override;
    ui::TFont* GetFont() override;
    const TRpPrintableClass& ControlClass() override { return TRpLabel::StaticClass(); }
    std::string GetText() override;
    std::string GetName() override { return "RPLABEL"; }
    std::string GetDescription() override { return "Text Control"; }
    ui::TAlignment GetAlignment() override;
    void SetAlignment(ui::TAlignment value) override;
    void SetColor(ui::TColor value) override;
    void SetFont(ui::TFont* value) override;
    void SetText(const std::string& value) override;
    bool Execute() override;

protected:
    TRpCustomLabel* Label() const;
    // Shows form filled from the label and applies it on OK.
    bool ExecuteForm(TRpLabelEditorForm& form);
};

class TRpExprEditor : public TRpLabelEditor {
public:
    using TRpLabelEditor::TRpLabelEditor;
    std::string ClassName() const override { return "TRpExprEditor"; }
    static const TRpPrintableEditorClass& StaticClass();

    const TRpPrintableClass& ControlClass() override { return TRpExpr::StaticClass(); }
    std::string GetText() override;
    std::string GetName() override { return "RPEXPR"; }
    std::string GetDescription() override { return "Expression Control"; }
    void SetText(const std::string& value) override;
    bool Execute() override;

private:
    TRpExpr* Expr() const;
};

// The first form going up the parents of control, or none.
ui::TCustomForm* ParentForm(ui::TControl* control);

} // namespace report
