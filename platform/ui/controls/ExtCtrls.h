#pragma once
// Panels and radio groups.

#include "platform/core/StringList.h"
#include "platform/ui/kernel/WinControl.h"

#include <vector>

class QButtonGroup;
class QRadioButton;

namespace ui {

enum class TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
public:
    explicit TPanel(core::TComponent* owner);
    std::string ClassName() const override { return "TPanel"; }

    void SetBevelOuter(TBevelCut bevel);

protected:
    void CaptionChanged() override;
};

// A group box of radio buttons, one per line of Items, arranged in columns.
class TRadioGroup : public TWinControl {
public:
    explicit TRadioGroup(core::TComponent* owner);
    ~TRadioGroup() override;
    std::string ClassName() const override { return "TRadioGroup"; }

    core::TStrings& Items() { return items_; }
    // The selected button, -1 for none. A change, by the user or the program, runs OnClick.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int columns);

protected:
    void CaptionChanged() override;
    bool WidgetEvent(QWidget* source, QEvent* event) override;
    void BoundsChanged() override
    {
        TWinControl::BoundsChanged();
        ArrangeButtons();
    }

private:
    void RebuildButtons();
    void ArrangeButtons();
    void ButtonToggled(int index, bool checked);

    core::TStringList items_;
    std::vector<QRadioButton*> buttons_;
    QButtonGroup* group_ = nullptr;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

} // namespace ui
