#pragma once
// The dialog that asks the preview's search text and whether letter case
// must match.

#include "platform/ui/kernel/Forms.h"

#include <string>

namespace ui {
class TCheckBox;
class TEdit;
class TLabel;
class TSpeedButton;
}

namespace report {

class TSearchDlg : public ui::TForm {
public:
    explicit TSearchDlg(core::TComponent* owner);
    std::string ClassName() const override { return "TSearchDlg"; }

    void FormCreate(core::TObject* Sender);
    // Cancel.
    void SpeedButton1Click(core::TObject* Sender);
    // Search.
    void SpeedButton2Click(core::TObject* Sender);

    // True after the Cancel button.
    bool Cancelled() const { return cancelled_; }
    std::string SearchText() const;
    void SetSearchText(const std::string& text);
    bool MatchCase() const;
    void SetMatchCase(bool matchCase);

    ui::TLabel* Label1;
    ui::TEdit* Edit1;
    ui::TCheckBox* CheckBox1;
    ui::TSpeedButton* SpeedButton1;
    ui::TSpeedButton* SpeedButton2;

private:
    bool cancelled_ = false;
};

} // namespace report
