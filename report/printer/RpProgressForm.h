#pragma once
// The printing progress window: how far the printing of stored pages has
// come, and a button that cancels it. The report printer posts its progress
// to the form (WM_RPPROGRESS); the form reads the value from the printer.

#include "platform/ui/kernel/Forms.h"

namespace ui {
class TButton;
class TLabel;
class TProgressBar;
}

namespace report {

class TRpPrinter;

class TRpProgressForm : public ui::TForm {
public:
    explicit TRpProgressForm(core::TComponent* owner);
    std::string ClassName() const override { return "TRpProgressForm"; }

    TRpPrinter* RpPrinter() const { return rpPrinter_; }
    void SetRpPrinter(TRpPrinter* printer) { rpPrinter_ = printer; }

    void CancelButtonClick(core::TObject* Sender);

    ui::TLabel* Info;
    ui::TButton* CancelButton;
    ui::TProgressBar* Gauge;

protected:
    void WndProc(ui::TMessage& message) override;

private:
    void ShowProgress();

    TRpPrinter* rpPrinter_ = nullptr;
};

} // namespace report
