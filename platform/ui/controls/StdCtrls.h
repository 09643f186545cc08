#pragma once
// Labels, push buttons, check boxes and group boxes.

#include "platform/ui/kernel/Forms.h"
#include "platform/ui/kernel/WinControl.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QShortcut;

namespace ui {

class TLabel : public TControl {
public:
    explicit TLabel(core::TComponent* owner);
    std::string ClassName() const override { return "TLabel"; }

    // On by default: the label takes the size of its text.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    // The control that takes the focus when the label's accelerator is used.
    void SetFocusControl(TWinControl* control);

protected:
    void CaptionChanged() override;
    void FontChanged() override;
    bool WidgetEvent(QWidget* source, QEvent* event) override;

private:
    QLabel* label() const;
    void AdjustSize();

    bool autoSize_ = true;
    bool wordWrap_ = false;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};

class TButton : public TWinControl {
public:
    explicit TButton(core::TComponent* owner);
    std::string ClassName() const override { return "TButton"; }

    // A click also gives the owning form this modal result (when not mrNone).
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    // A cancel button is clicked by Escape while its window is active and the
    // button can be used.
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel);

    void Click() override;

protected:
    void CaptionChanged() override;

private:
    QPushButton* button() const;

    TModalResult modalResult_ = mrNone;
    bool wordWrap_ = false;
    bool default_ = false;
    bool cancel_ = false;
    QLabel* wrapLabel_ = nullptr;
    QShortcut* cancelKey_ = nullptr;
};

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(core::TComponent* owner);
    std::string ClassName() const override { return "TCheckBox"; }

    bool Checked() const;
    // A change of the state, by the user or the program, runs OnClick.
    void SetChecked(bool checked);

protected:
    void CaptionChanged() override;

private:
    QCheckBox* box() const;
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(core::TComponent* owner);
    std::string ClassName() const override { return "TGroupBox"; }

protected:
    void CaptionChanged() override;
};

} // namespace ui
