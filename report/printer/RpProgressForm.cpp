#include "report/printer/RpProgressForm.h"

#include "platform/ui/controls/ProgressBar.h"
#include "platform/ui/controls/StdCtrls.h"
#include "report/printer/RpPrinter.h"
#include "report/printer/RpWindowMessages.h"

#include <QWidget>

#include <string>

namespace report {

TRpProgressForm::TRpProgressForm(core::TComponent* owner) : ui::TForm(owner)
{
    SetName("RpProgressForm");
    SetCaption("Printing progress");
    SetPosition(ui::TPosition::poScreenCenter);
    if (QWidget* window = Widget())
        window->setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                               Qt::CustomizeWindowHint);
    SetClientWidth(149);
    SetClientHeight(97);

    Info = new ui::TLabel(this);
    Info->SetName("Info");
    Info->SetParent(this);
    Info->SetAutoSize(false);
    Info->SetAlignment(ui::TAlignment::taCenter);
    Info->SetBounds(4, 12, 141, 13);
    Info->SetCaption("");

    Gauge = new ui::TProgressBar(this);
    Gauge->SetName("Gauge");
    Gauge->SetParent(this);
    Gauge->SetBounds(8, 32, 133, 17);
    Gauge->SetRange(0, 100);

    CancelButton = new ui::TButton(this);
    CancelButton->SetName("CancelButton");
    CancelButton->SetParent(this);
    CancelButton->SetBounds(37, 62, 75, 25);
    CancelButton->SetCaption("Cancel");
    CancelButton->OnClick = [this](core::TObject* sender) { CancelButtonClick(sender); };
}

void TRpProgressForm::WndProc(ui::TMessage& message)
{
    if (message.Msg == WM_RPPROGRESS) {
        ShowProgress();
        return;
    }
    ui::TForm::WndProc(message);
}

void TRpProgressForm::ShowProgress()
{
    if (rpPrinter_ == nullptr)
        return;
    int progress = rpPrinter_->Progress();
    if (progress % 5 != 0)
        return;
    Gauge->SetPosition(progress);
    Info->SetCaption(std::to_string(progress) + "% " + " Completed");
    RpProcessMessages();
}

void TRpProgressForm::CancelButtonClick(core::TObject* /*Sender*/)
{
    if (rpPrinter_ != nullptr)
        rpPrinter_->Cancel();
}

} // namespace report
