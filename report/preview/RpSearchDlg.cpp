#include "report/preview/RpSearchDlg.h"

#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/controls/StdCtrls.h"
#include "report/preview/RpPreviewTexts.h"

#include <QWidget>

namespace report {

TSearchDlg::TSearchDlg(core::TComponent* owner) : ui::TForm(owner)
{
    SetName("SearchDlg");
    SetCaption(std::string(msg::SearchDlgCaption));
    SetPosition(ui::TPosition::poOwnerFormCenter);
    // A dialog border without border icons.
    if (QWidget* window = Widget())
        window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    SetClientWidth(305);
    SetClientHeight(118);

    Label1 = new ui::TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetBounds(8, 8, 289, 13);

    Edit1 = new ui::TEdit(this);
    Edit1->SetName("Edit1");
    Edit1->SetParent(this);
    Edit1->SetBounds(8, 26, 289, 21);

    CheckBox1 = new ui::TCheckBox(this);
    CheckBox1->SetName("CheckBox1");
    CheckBox1->SetParent(this);
    CheckBox1->SetBounds(8, 54, 200, 17);

    SpeedButton2 = new ui::TSpeedButton(this);
    SpeedButton2->SetName("SpeedButton2");
    SpeedButton2->SetParent(this);
    SpeedButton2->SetBounds(128, 84, 81, 25);
    SpeedButton2->OnClick = [this](core::TObject* sender) { SpeedButton2Click(sender); };

    SpeedButton1 = new ui::TSpeedButton(this);
    SpeedButton1->SetName("SpeedButton1");
    SpeedButton1->SetParent(this);
    SpeedButton1->SetBounds(216, 84, 81, 25);
    SpeedButton1->OnClick = [this](core::TObject* sender) { SpeedButton1Click(sender); };

    OnCreate = [this](core::TObject* sender) { FormCreate(sender); };
}

void TSearchDlg::FormCreate(core::TObject* /*Sender*/)
{
    Label1->SetCaption(std::string(msg::SearchText));
    CheckBox1->SetCaption(std::string(msg::MatchCase));
    SpeedButton2->SetCaption(std::string(msg::Search));
    SpeedButton1->SetCaption(std::string(msg::Cancel));
    SetCaption(std::string(msg::SearchForText));
}

void TSearchDlg::SpeedButton1Click(core::TObject* /*Sender*/)
{
    cancelled_ = true;
    Close();
}

void TSearchDlg::SpeedButton2Click(core::TObject* /*Sender*/)
{
    cancelled_ = false;
    if (Modal())
        SetModalResult(ui::mrOk);
    else
        Close();
}

std::string TSearchDlg::SearchText() const
{
    return Edit1->Text();
}

void TSearchDlg::SetSearchText(const std::string& text)
{
    Edit1->SetText(text);
}

bool TSearchDlg::MatchCase() const
{
    return CheckBox1->Checked();
}

void TSearchDlg::SetMatchCase(bool matchCase)
{
    CheckBox1->SetChecked(matchCase);
}

} // namespace report
