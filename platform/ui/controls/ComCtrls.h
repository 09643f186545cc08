#pragma once
// Page controls and their tab sheets.

#include "platform/ui/kernel/WinControl.h"

class QTabWidget;

namespace ui {

class TPageControl;

// One page of a page control; its parent is the page control.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(core::TComponent* owner);
    std::string ClassName() const override { return "TTabSheet"; }

    TPageControl* PageControl() const;
    void SetPageControl(TPageControl* pageControl);
    // The position among the page control's pages, -1 when on none.
    int PageIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool visible);
    // The page control places the sheet; its bounds are not set from outside.
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void CaptionChanged() override;

private:
    bool tabVisible_ = true;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(core::TComponent* owner);
    std::string ClassName() const override { return "TPageControl"; }

    int PageCount() const;
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const;
    // Shows a page; a page chosen by the program does not run OnChange.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);

    // Runs after the user chose another page.
    core::TNotifyEvent OnChange;

protected:
    void InsertControl(TControl* control) override;
    void RemoveControl(TControl* control) override;

private:
    friend class TTabSheet;
    QTabWidget* tabs() const;

    bool settingPage_ = false;
};

} // namespace ui
