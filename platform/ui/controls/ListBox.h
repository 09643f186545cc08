#pragma once
// A list box: a column of text items, each with an optional object, one of
// which may be selected.

#include "platform/core/StringList.h"
#include "platform/ui/kernel/WinControl.h"

class QListWidget;

namespace ui {

class TListBox : public TWinControl {
public:
    explicit TListBox(core::TComponent* owner);
    ~TListBox() override;
    std::string ClassName() const override { return "TListBox"; }

    // The items; changing them changes the list shown.
    core::TStrings& Items() { return items_; }
    const core::TStrings& Items() const { return items_; }
    int Count() const { return items_.Count(); }
    void Clear() { items_.Clear(); }

    // The selected item, -1 for none. Setting it runs no event; the user's
    // choice of an item (mouse or keys) runs OnClick.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);

    core::TNotifyEvent OnDblClick;

private:
    QListWidget* list() const;
    void Rebuild();
    void RowChanged(int row);

    core::TStringList items_;
    int itemIndex_ = -1;
    bool updating_ = false;
};

} // namespace ui
