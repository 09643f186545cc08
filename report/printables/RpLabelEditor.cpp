#include "report/printables/RpLabelEditor.h"

#include "platform/core/FormatSettings.h"
#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/Mask.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/kernel/Application.h"
#include "report/editors/RpExpressionBuilder.h"

#include <QWidget>

#include <memory>

namespace report {

// ---- the dialogs ----

TRpLabelEditorForm::TRpLabelEditorForm(core::TComponent* owner) : ui::TForm(owner)
{
    SetName("RpLabelEditorForm");
    SetCaption("Text Settings");
    SetPosition(ui::TPosition::poScreenCenter);
    SetClientWidth(330);
    SetClientHeight(190);
    if (Widget() != nullptr)
        Widget()->setFixedSize(Widget()->size());

    auto place = [](ui::TControl* control, const char* name, ui::TWinControl* parent, int left, int top, int width,
                    int height) {
        control->SetName(name);
        control->SetParent(parent);
        control->SetBounds(left, top, width, height);
    };
    auto label = [&](const char* name, const char* caption, int left, int top) {
        auto* l = new ui::TLabel(this);
        l->SetName(name);
        l->SetParent(GroupBox1);
        l->SetLeft(left);
        l->SetTop(top);
        l->SetCaption(caption);
        return l;
    };
    auto check = [&](const char* name, const char* caption, int top) {
        auto* c = new ui::TCheckBox(this);
        place(c, name, GroupBox1, 200, top, 110, 17);
        c->SetCaption(caption);
        return c;
    };
    auto size = [&](const char* name, int top) {
        auto* e = new ui::TMaskEdit(this);
        place(e, name, GroupBox1, 56, top, 57, 21);
        e->SetEditMask("9999");
        e->SetMaxLength(4);
        return e;
    };

    GroupBox1 = new ui::TGroupBox(this);
    place(GroupBox1, "GroupBox1", this, 8, 8, 314, 137);
    GroupBox1->SetCaption("Properties");
    ValueLabel = label("ValueLabel", "Text", 12, 24);
    Value = new ui::TEdit(this);
    place(Value, "Value", GroupBox1, 56, 20, 246, 21);
    WidthLabel = label("WidthLabel", "Width", 12, 58);
    WidthEdit = size("Width", 54);
    HeightLabel = label("HeightLabel", "Height", 12, 88);
    HeightEdit = size("Height", 84);
    AutoSize = check("AutoSize", "Autosize", 56);
    Stretch = check("Stretch", "Stretch", 78);
    Transparent = check("Transparent", "Transparent", 100);

    OKBtn = new ui::TButton(this);
    place(OKBtn, "OKBtn", this, 166, 156, 75, 25);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(ui::mrOk);
    Button4 = new ui::TButton(this);
    place(Button4, "Button4", this, 247, 156, 75, 25);
    Button4->SetCaption("Cancel");
    Button4->SetCancel(true);
    Button4->SetModalResult(ui::mrCancel);
}

TRpExprEditorForm::TRpExprEditorForm(core::TComponent* owner) : TRpLabelEditorForm(owner)
{
    SetName("RpExprEditorForm");
    SetCaption("Expression settings");
    if (Widget() != nullptr) {
        Widget()->setMinimumSize(0, 0);
        Widget()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    SetClientHeight(220);
    if (Widget() != nullptr)
        Widget()->setFixedSize(Widget()->size());
    GroupBox1->SetHeight(167);
    OKBtn->SetTop(186);
    Button4->SetTop(186);
    ValueLabel->SetCaption("Expression");
    ValueLabel->SetLeft(8);
    Value->SetBounds(70, 20, 208, 21);

    ShowExprBuilder = new ui::TSpeedButton(this);
    ShowExprBuilder->SetName("ShowExprBuilder");
    ShowExprBuilder->SetParent(GroupBox1);
    ShowExprBuilder->SetBounds(280, 19, 23, 22);
    ShowExprBuilder->SetCaption("...");
    ShowExprBuilder->OnClick = [this](core::TObject* sender) { ShowExprBuilderClick(sender); };

    MaskLabel = new ui::TLabel(this);
    MaskLabel->SetName("MaskLabel");
    MaskLabel->SetParent(GroupBox1);
    MaskLabel->SetLeft(12);
    MaskLabel->SetTop(136);
    MaskLabel->SetCaption("Format mask");
    Mask = new ui::TComboBox(this);
    Mask->SetName("Mask");
    Mask->SetParent(GroupBox1);
    Mask->SetBounds(90, 132, 212, 21);
}

void TRpExprEditorForm::ShowExprBuilderClick(core::TObject* /*sender*/)
{
    std::string expression = Value->Text();
    if (RunExpressionBuilder("", expression, DataSetOwnerForm, nullptr, nullptr))
        Value->SetText(expression);
}

// ---- editor classes ----

namespace {

std::unique_ptr<TRpPrintableEditor> NewLabelEditor(TRpPrintable* control)
{
    return std::make_unique<TRpLabelEditor>(control);
}

std::unique_ptr<TRpPrintableEditor> NewExprEditor(TRpPrintable* control)
{
    return std::make_unique<TRpExprEditor>(control);
}

// Frees a dialog however Execute ends.
struct FreeForm {
    core::TComponent* form;
    ~FreeForm() { ui::FreeComponent(form); }
};

} // namespace

const TRpPrintableEditorClass& TRpLabelEditor::StaticClass()
{
    static const TRpPrintableEditorClass editorClass{"TRpLabelEditor", &NewLabelEditor};
    return editorClass;
}

const TRpPrintableEditorClass& TRpExprEditor::StaticClass()
{
    static const TRpPrintableEditorClass editorClass{"TRpExprEditor", &NewExprEditor};
    return editorClass;
}

const TRpPrintableEditorClass& TRpLabel::EditorClass() const
{
    return TRpLabelEditor::StaticClass();
}

const TRpPrintableEditorClass& TRpExpr::EditorClass() const
{
    return TRpExprEditor::StaticClass();
}

ui::TCustomForm* ParentForm(ui::TControl* control)
{
    for (ui::TControl* c = control != nullptr ? control->Parent() : nullptr; c != nullptr; c = c->Parent())
        if (auto* form = dynamic_cast<ui::TCustomForm*>(c))
            return form;
    return nullptr;
}

// ---- TRpLabelEditor ----

TRpCustomLabel* TRpLabelEditor::Label() const
{
    return dynamic_cast<TRpCustomLabel*>(Control());
}

ui::TColor TRpLabelEditor::GetColor()
{
    return Control()->Color();
}

ui::TFont* TRpLabelEditor::GetFont()
{
    return &Control()->Font();
}

std::string TRpLabelEditor::GetText()
{
    return Control()->Caption();
}

ui::TAlignment TRpLabelEditor::GetAlignment()
{
    return Control()->Alignment();
}

void TRpLabelEditor::SetAlignment(ui::TAlignment value)
{
    Control()->SetAlignment(value);
}

void TRpLabelEditor::SetColor(ui::TColor value)
{
    Control()->SetColor(value);
}

void TRpLabelEditor::SetFont(ui::TFont* value)
{
    if (value != nullptr)
        Control()->Font().Assign(value);
}

void TRpLabelEditor::SetText(const std::string& value)
{
    Control()->SetCaption(value);
}

bool TRpLabelEditor::ExecuteForm(TRpLabelEditorForm& form)
{
    TRpCustomLabel* label = Label();
    TRpPrintableSize& size = Control()->Size();
    form.Value->SetText(GetText());
    form.WidthEdit->SetText(core::FloatToStr(static_cast<double>(size.Width())));
    form.HeightEdit->SetText(core::FloatToStr(static_cast<double>(size.Height())));
    // What the boxes show after their mask: only a text the user changed is
    // a new size, so that an untouched size never comes back cut to the mask.
    const std::string shownWidth = form.WidthEdit->Text();
    const std::string shownHeight = form.HeightEdit->Text();
    form.AutoSize->SetChecked(label != nullptr && label->AutoSize());
    form.Stretch->SetChecked(label != nullptr && label->AutoStretch());
    form.Transparent->SetChecked(Control()->Transparent());

    if (form.ShowModal() != ui::mrOk)
        return false;

    SetText(form.Value->Text());
    double value = 0;
    if (form.WidthEdit->Text() != shownWidth && core::TryStrToFloat(form.WidthEdit->Text(), value))
        size.SetWidth(value);
    if (form.HeightEdit->Text() != shownHeight && core::TryStrToFloat(form.HeightEdit->Text(), value))
        size.SetHeight(value);
    if (label != nullptr) {
        label->SetAutoSize(form.AutoSize->Checked());
        label->SetAutoStretch(form.Stretch->Checked());
    }
    Control()->SetTransparent(form.Transparent->Checked());
    return true;
}

bool TRpLabelEditor::Execute()
{
    auto* form = ui::CreateComponent<TRpLabelEditorForm>(ui::Application);
    FreeForm freeForm{form};
    return ExecuteForm(*form);
}

// ---- TRpExprEditor ----

TRpExpr* TRpExprEditor::Expr() const
{
    return dynamic_cast<TRpExpr*>(Control());
}

std::string TRpExprEditor::GetText()
{
    TRpExpr* expr = Expr();
    return expr != nullptr ? expr->Expression() : std::string();
}

void TRpExprEditor::SetText(const std::string& value)
{
    if (TRpExpr* expr = Expr())
        expr->SetExpression(value);
}

bool TRpExprEditor::Execute()
{
    auto* form = ui::CreateComponent<TRpExprEditorForm>(ui::Application);
    FreeForm freeForm{form};
    TRpExpr* expr = Expr();
    form->Mask->SetText(expr != nullptr ? expr->Mask() : std::string());
    form->DataSetOwnerForm = ParentForm(Control());
    if (!ExecuteForm(*form))
        return false;
    if (expr != nullptr)
        expr->SetMask(form->Mask->Text());
    return true;
}

} // namespace report
