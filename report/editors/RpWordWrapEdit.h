#pragma once
// An edit box whose text wraps at its right edge instead of scrolling
// sideways, so a long expression stays readable in a box several lines high.
// Its text holds a line break typed with Enter as CR LF, as an edit box of the
// platform gives it.

#include "platform/ui/kernel/WinControl.h"

#include <string>

class QPlainTextEdit;

namespace report {

class TWordWrapEdit : public ui::TWinControl {
public:
    explicit TWordWrapEdit(core::TComponent* owner);
    std::string ClassName() const override { return "TWordWrapEdit"; }

    std::string Text() const override;
    void SetText(const std::string& text) override;

    // The selection, in characters as the box shows them (a line break is one).
    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int start);
    void SetSelLength(int length);
    std::string SelText() const;
    // Replaces the selection by text; the cursor ends after it, nothing selected.
    void SetSelText(const std::string& text);
    void SelectAll();
    void Clear() { SetText(""); }

    core::TNotifyEvent OnChange;

protected:
    void ColorChanged() override;

private:
    QPlainTextEdit* editor() const;
};

} // namespace report
