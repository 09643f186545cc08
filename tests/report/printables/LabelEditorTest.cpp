// The label and expression editors: what they answer and change, their
// dialogs confirmed and cancelled, and the expression builder opened from the
// expression dialog.
#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/Mask.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/kernel/Application.h"
#include "report/editors/RpExpressionBuilder.h"
#include "report/editors/RpWordWrapEdit.h"
#include "report/printables/RpLabelEditor.h"
#include "tests/report/editors/DialogDriver.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <chrono>

using namespace report;
using namespace report::test;

namespace {

template <class Form>
Form* Dialog()
{
    for (int i = ui::Application->ComponentCount() - 1; i >= 0; --i)
        if (auto* form = dynamic_cast<Form*>(ui::Application->Components(i)))
            return form;
    return nullptr;
}

template <class Form>
bool DialogReady()
{
    Form* form = Dialog<Form>();
    return form != nullptr && form->Showing() && Builders().empty();
}

void Press(ui::TButton* button)
{
    static_cast<QPushButton*>(button->Widget())->click();
}

// Closes a settings dialog that is still open after a while, so that a
// failing test ends instead of waiting.
class Watchdog {
public:
    Watchdog()
    {
        QObject::connect(&timer_, &QTimer::timeout, [] {
            if (auto* form = Dialog<TRpLabelEditorForm>()) {
                ADD_FAILURE() << "a settings dialog was still open";
                form->SetModalResult(ui::mrCancel);
            }
        });
        timer_.setSingleShot(true);
        timer_.start(std::chrono::seconds(15));
    }

private:
    QTimer timer_;
};

// A label on a form, sized in millimetres.
struct LabelEditor : testing::Test {
    LabelEditor()
    {
        form = ui::CreateComponent<ui::TForm>(nullptr);
        label = new TRpLabel(form);
        label->SetParent(form);
        label->Size().SetUnits(TRpUnit::MM);
        label->Size().SetWidth(40);
        label->Size().SetHeight(5);
        label->SetCaption("Total");
        expr = new TRpExpr(form);
        expr->SetParent(form);
        expr->Size().SetUnits(TRpUnit::MM);
        expr->Size().SetWidth(30);
        expr->Size().SetHeight(6);
        expr->SetExpression("1+1");
        expr->SetMask("0.00");
    }
    ~LabelEditor() override
    {
        ui::FreeComponent(form);
        EXPECT_EQ(Dialog<TRpLabelEditorForm>(), nullptr) << "a dialog was left behind";
    }
    ui::TForm* form;
    TRpLabel* label;
    TRpExpr* expr;
    Watchdog watchdog;
};

} // namespace

TEST_F(LabelEditor, EachLabelKindNamesItsEditor)
{
    EXPECT_EQ(&label->EditorClass(), &TRpLabelEditor::StaticClass());
    EXPECT_EQ(&expr->EditorClass(), &TRpExprEditor::StaticClass());
    std::unique_ptr<TRpPrintableEditor> labelEditor = label->EditorClass().Create(label);
    std::unique_ptr<TRpPrintableEditor> exprEditor = expr->EditorClass().Create(expr);
    EXPECT_EQ(labelEditor->ClassName(), "TRpLabelEditor");
    EXPECT_EQ(exprEditor->ClassName(), "TRpExprEditor");
    EXPECT_EQ(labelEditor->Control(), label);
    EXPECT_EQ(exprEditor->Control(), expr);
}

TEST_F(LabelEditor, TheLabelEditorAnswersAndChanges)
{
    TRpLabelEditor editor(label);
    EXPECT_EQ(editor.GetName(), "RPLABEL");
    EXPECT_EQ(editor.GetDescription(), "Text Control");
    EXPECT_EQ(&editor.ControlClass(), &TRpLabel::StaticClass());
    EXPECT_EQ(editor.GetText(), "Total");
    EXPECT_EQ(editor.GetColor(), ui::RGBToColor(255, 255, 255));
    EXPECT_EQ(editor.GetFont(), &label->Font());
    EXPECT_EQ(editor.GetAlignment(), ui::TAlignment::taLeftJustify);

    editor.SetText("Sum");
    EXPECT_EQ(label->Caption(), "Sum");
    EXPECT_EQ(label->PrintCaption(), "Sum");
    editor.SetColor(ui::clYellow);
    EXPECT_EQ(label->Color(), ui::clYellow);
    editor.SetAlignment(ui::TAlignment::taCenter);
    EXPECT_EQ(label->Alignment(), ui::TAlignment::taCenter);
    ui::TFont font;
    font.SetName("Courier New");
    font.SetSize(12);
    editor.SetFont(&font);
    EXPECT_EQ(label->Font().Name(), "Courier New");
    EXPECT_EQ(label->Font().Size(), 12);
}

TEST_F(LabelEditor, TheExpressionEditorWorksOnTheExpression)
{
    TRpExprEditor editor(expr);
    EXPECT_EQ(editor.GetName(), "RPEXPR");
    EXPECT_EQ(editor.GetDescription(), "Expression Control");
    EXPECT_EQ(&editor.ControlClass(), &TRpExpr::StaticClass());
    EXPECT_EQ(editor.GetText(), "1+1");
    editor.SetText("2*3");
    EXPECT_EQ(expr->Expression(), "2*3");
    EXPECT_EQ(expr->Caption(), "2*3");
    editor.SetColor(ui::clLime);
    EXPECT_EQ(expr->Color(), ui::clLime);
}

TEST_F(LabelEditor, CancelLeavesTheLabelAsItWas)
{
    TRpLabelEditor editor(label);
    std::string caption, value, width, height;
    bool autoSize = false, stretch = true, transparent = true;
    TDialogDriver driver;
    driver.When(DialogReady<TRpLabelEditorForm>, [&] {
        TRpLabelEditorForm* f = Dialog<TRpLabelEditorForm>();
        caption = f->Caption();
        value = f->Value->Text();
        width = f->WidthEdit->Text();
        height = f->HeightEdit->Text();
        autoSize = f->AutoSize->Checked();
        stretch = f->Stretch->Checked();
        transparent = f->Transparent->Checked();
        f->Value->SetText("changed");
        f->WidthEdit->SetText("99");
        f->Transparent->SetChecked(true);
        Press(f->Button4);
    });
    EXPECT_FALSE(editor.Execute());
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(caption, "Text Settings");
    EXPECT_EQ(value, "Total");
    EXPECT_EQ(width, "40");
    EXPECT_EQ(height, "5");
    EXPECT_TRUE(autoSize);
    EXPECT_FALSE(stretch);
    EXPECT_FALSE(transparent);
    EXPECT_EQ(label->Caption(), "Total");
    EXPECT_EQ(label->Size().NativeWidth(), 400);
    EXPECT_FALSE(label->Transparent());
}

TEST_F(LabelEditor, OKAppliesTheDialog)
{
    label->SetAutoSize(false);
    TRpLabelEditor editor(label);
    std::string widthName, heightName, mask;
    TDialogDriver driver;
    driver.When(DialogReady<TRpLabelEditorForm>, [&] {
        TRpLabelEditorForm* f = Dialog<TRpLabelEditorForm>();
        widthName = f->WidthEdit->Name();
        heightName = f->HeightEdit->Name();
        mask = f->WidthEdit->EditMask();
        f->Value->SetText("Grand total");
        f->WidthEdit->SetText("55");
        f->AutoSize->SetChecked(true);
        f->Stretch->SetChecked(true);
        f->Transparent->SetChecked(true);
        Press(f->OKBtn);
    });
    EXPECT_TRUE(editor.Execute());
    EXPECT_EQ(widthName, "Width");
    EXPECT_EQ(heightName, "Height");
    EXPECT_EQ(mask, "9999");
    EXPECT_EQ(label->Caption(), "Grand total");
    EXPECT_EQ(label->Size().NativeWidth(), 550);
    EXPECT_EQ(label->Size().NativeHeight(), 50);
    EXPECT_TRUE(label->AutoSize());
    EXPECT_TRUE(label->AutoStretch());
    EXPECT_TRUE(label->Transparent());
}

TEST_F(LabelEditor, AnUntouchedFractionalSizeIsKept)
{
    // 25.4 mm does not fit a box of four digits; left alone it stays.
    label->Size().SetWidth(25.4L);
    TRpLabelEditor editor(label);
    TDialogDriver driver;
    driver.When(DialogReady<TRpLabelEditorForm>, [] { Press(Dialog<TRpLabelEditorForm>()->OKBtn); });
    EXPECT_TRUE(editor.Execute());
    EXPECT_NEAR(static_cast<double>(label->Size().NativeWidth()), 254, 1e-9);
}

TEST_F(LabelEditor, TheExpressionDialogSetsExpressionAndMask)
{
    TRpExprEditor editor(expr);
    std::string caption, valueCaption, value, mask;
    TDialogDriver driver;
    driver.When(DialogReady<TRpLabelEditorForm>, [&] {
        auto* f = dynamic_cast<TRpExprEditorForm*>(Dialog<TRpLabelEditorForm>());
        ASSERT_NE(f, nullptr);
        caption = f->Caption();
        valueCaption = f->ValueLabel->Caption();
        value = f->Value->Text();
        mask = f->Mask->Text();
        EXPECT_EQ(f->DataSetOwnerForm, form);
        EXPECT_EQ(f->ShowExprBuilder->Caption(), "...");
        EXPECT_EQ(f->MaskLabel->Caption(), "Format mask");
        EXPECT_EQ(f->Mask->Items().Count(), 0);
        f->Value->SetText("SUM(1)");
        f->Mask->SetText("%m");
        Press(f->OKBtn);
    });
    EXPECT_TRUE(editor.Execute());
    EXPECT_EQ(caption, "Expression settings");
    EXPECT_EQ(valueCaption, "Expression");
    EXPECT_EQ(value, "1+1");
    EXPECT_EQ(mask, "0.00");
    EXPECT_EQ(expr->Expression(), "SUM(1)");
    EXPECT_EQ(expr->Mask(), "%m");
}

TEST_F(LabelEditor, CancelledExpressionDialogKeepsExpressionAndMask)
{
    TRpExprEditor editor(expr);
    TDialogDriver driver;
    driver.When(DialogReady<TRpLabelEditorForm>, [&] {
        auto* f = Dialog<TRpLabelEditorForm>();
        f->Value->SetText("other");
        static_cast<TRpExprEditorForm*>(f)->Mask->SetText("#");
        Press(f->Button4);
    });
    EXPECT_FALSE(editor.Execute());
    EXPECT_EQ(expr->Expression(), "1+1");
    EXPECT_EQ(expr->Mask(), "0.00");
}

TEST_F(LabelEditor, TheBuilderEditsTheExpressionInTheDialog)
{
    TRpExprEditor editor(expr);
    std::string builderText, afterBuilder, afterCancelledBuilder;
    TDialogDriver driver;
    driver.When(DialogReady<TRpLabelEditorForm>, [] {
          auto* f = static_cast<TRpExprEditorForm*>(Dialog<TRpLabelEditorForm>());
          static_cast<QToolButton*>(f->ShowExprBuilder->Widget())->click();
      })
        .When([] { return Builder() != nullptr && Builder()->Showing() && Builder()->MainPage->Enabled(); },
              [&] {
                  TRpExpressionBuilder* b = Builder();
                  builderText = b->ExpressionBox->Text();
                  EXPECT_EQ(b->DataSetOwnerForm, form);
                  EXPECT_EQ(b->Heading->Caption(), "Enter expression:");
                  b->ExpressionBox->SetText("2 * 21");
                  Press(b->OK);
              })
        .When(DialogReady<TRpLabelEditorForm>, [&] {
            auto* f = static_cast<TRpExprEditorForm*>(Dialog<TRpLabelEditorForm>());
            afterBuilder = f->Value->Text();
            static_cast<QToolButton*>(f->ShowExprBuilder->Widget())->click();
        })
        .When([] { return Builder() != nullptr && Builder()->Showing() && Builder()->MainPage->Enabled(); },
              [] {
                  Builder()->ExpressionBox->SetText("thrown away");
                  Press(Builder()->Cancel);
              })
        .When(DialogReady<TRpLabelEditorForm>, [&] {
            auto* f = Dialog<TRpLabelEditorForm>();
            afterCancelledBuilder = f->Value->Text();
            Press(f->OKBtn);
        });
    EXPECT_TRUE(editor.Execute());
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(builderText, "1+1");
    EXPECT_EQ(afterBuilder, "2 * 21");
    EXPECT_EQ(afterCancelledBuilder, "2 * 21");
    EXPECT_EQ(expr->Expression(), "2 * 21");
}
