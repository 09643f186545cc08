#pragma once
// A combo box: an edit with a drop-down list of items; the user types a text
// or picks an item.

#include "platform/core/StringList.h"
#include "platform/ui/kernel/WinControl.h"

class QComboBox;

namespace ui {

class TComboBox : public TWinControl {
public:
    explicit TComboBox(core::TComponent* owner);
    ~TComboBox() override;
    std::string ClassName() const override { return "TComboBox"; }

    // The items of the list; changing them changes the list shown.
    core::TStrings& Items() { return items_; }
    const core::TStrings& Items() const { return items_; }
    // The text in the edit.
    std::string Text() const override;
    // A change of the text, by the user or the program, runs OnChange.
    void SetText(const std::string& text) override;
    // The item whose text is shown, -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int index);

    core::TNotifyEvent OnChange;

private:
    QComboBox* box() const;
    void Rebuild();

    core::TStringList items_;
    bool updating_ = false;
};

} // namespace ui
