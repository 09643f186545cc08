#pragma once
// One-line edits and multi-line memos.

#include "platform/core/StringList.h"
#include "platform/ui/kernel/WinControl.h"

#include <memory>

class QLineEdit;
class QPlainTextEdit;

namespace ui {

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(core::TComponent* owner);
    std::string ClassName() const override { return "TCustomEdit"; }

    std::string Text() const override;
    // A change of the text, by the user or the program, runs OnChange.
    void SetText(const std::string& text) override;
    bool ReadOnly() const { return readOnly_; }
    virtual void SetReadOnly(bool readOnly);
    // The most characters (not bytes) the user may type; 0 for no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength);
    void SelectAll();
    void Clear() { SetText(""); }

    core::TNotifyEvent OnChange;

protected:
    // Runs OnChange.
    virtual void Change();
    void ColorChanged() override;
    QLineEdit* LineEdit() const;
    // The line edit refuses what goes past MaxLength without a word; an edit
    // that cuts the text itself and tells the user turns that off.
    void SetLineEditKeepsMaxLength(bool keeps);

private:
    void ApplyMaxLength();

    bool readOnly_ = false;
    int maxLength_ = 0;
    bool lineEditKeepsMaxLength_ = true;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(core::TComponent* owner) : TCustomEdit(owner) {}
    std::string ClassName() const override { return "TEdit"; }
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
public:
    explicit TMemo(core::TComponent* owner);
    ~TMemo() override;
    std::string ClassName() const override { return "TMemo"; }

    // The lines shown; changing them changes the memo.
    core::TStrings& Lines() { return *lines_; }
    std::string Text() const override;
    void SetText(const std::string& text) override;
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    void SetScrollBars(TScrollStyle style);

    core::TNotifyEvent OnChange;

protected:
    void ColorChanged() override;

private:
    class MemoLines;
    QPlainTextEdit* editor() const;

    std::unique_ptr<core::TStrings> lines_;
    bool readOnly_ = false;
    bool wordWrap_ = true;
};

} // namespace ui
