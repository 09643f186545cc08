#pragma once
// A tool bar: a row of tool buttons showing pictures of an image list, with
// separators between groups. Check buttons stay down when clicked; grouped
// check buttons next to each other let only one of them be down.

#include "platform/ui/kernel/Control.h"
#include "platform/ui/kernel/WinControl.h"

class QToolButton;

namespace ui {

class TImageList;
class TToolBar;

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsSeparator, tbsDivider };

class TToolButton : public TControl {
public:
    explicit TToolButton(core::TComponent* owner);
    std::string ClassName() const override { return "TToolButton"; }

    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle style);
    // A grouped check button releases the other down button of its group.
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool grouped) { grouped_ = grouped; }
    bool Down() const { return down_; }
    void SetDown(bool down);
    // The picture of the tool bar's image list; -1 shows none.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);

    TToolBar* ToolBar() const;
    void SetParent(TWinControl* parent) override;
    // Presses the button as the user does: a check button goes down (or up),
    // then OnClick runs. A disabled button or a separator does nothing.
    void Click() override;

protected:
    void CaptionChanged() override;
    void HintChanged() override;

private:
    friend class TToolBar;
    QToolButton* button() const;
    void ShowPicture();
    void ShowState();
    // The buttons of the same group: the grouped check buttons next to this one.
    std::vector<TToolButton*> Group() const;

    TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
    bool grouped_ = false;
    bool down_ = false;
    int imageIndex_ = -1;
};

class TToolBar : public TWinControl {
public:
    explicit TToolBar(core::TComponent* owner);
    ~TToolBar() override;
    std::string ClassName() const override { return "TToolBar"; }

    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    // The bar takes the height of its buttons.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    int ButtonWidth() const { return buttonWidth_; }
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonSize(int width, int height);

    int ButtonCount() const;
    TToolButton* Buttons(int index) const;

protected:
    void AlignControls(QRect& rect) override;
    // Every control placed or taken away moves the others along the row.
    void InsertControl(TControl* control) override;
    void RemoveControl(TControl* control) override;
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    TImageList* images_ = nullptr;
    bool flat_ = false;
    bool autoSize_ = false;
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
};

} // namespace ui
