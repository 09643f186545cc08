#include "platform/ui/controls/ComCtrls.h"

#include <QTabWidget>

namespace ui {

// ---- TTabSheet ----

TTabSheet::TTabSheet(core::TComponent* owner) : TWinControl(owner)
{
    SetWidget(new QWidget);
}

TPageControl* TTabSheet::PageControl() const
{
    return dynamic_cast<TPageControl*>(Parent());
}

void TTabSheet::SetPageControl(TPageControl* pageControl)
{
    SetParent(pageControl);
}

int TTabSheet::PageIndex() const
{
    TPageControl* pages = PageControl();
    if (pages == nullptr || pages->tabs() == nullptr || Widget() == nullptr)
        return -1;
    return pages->tabs()->indexOf(Widget());
}

void TTabSheet::SetTabVisible(bool visible)
{
    tabVisible_ = visible;
    int index = PageIndex();
    if (index >= 0)
        PageControl()->tabs()->setTabVisible(index, visible);
}

void TTabSheet::SetBounds(int, int, int, int) {}

void TTabSheet::CaptionChanged()
{
    int index = PageIndex();
    if (index >= 0)
        PageControl()->tabs()->setTabText(index, QString::fromStdString(Caption()));
}

// ---- TPageControl ----

TPageControl::TPageControl(core::TComponent* owner) : TWinControl(owner)
{
    auto* tabs = new QTabWidget;
    SetWidget(tabs);
    SetBounds(0, 0, 289, 193);
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [this](int) {
        if (settingPage_)
            return;
        Fire([this] {
            if (OnChange)
                OnChange(this);
        });
    });
}

QTabWidget* TPageControl::tabs() const
{
    return static_cast<QTabWidget*>(Widget());
}

void TPageControl::InsertControl(TControl* control)
{
    auto* sheet = dynamic_cast<TTabSheet*>(control);
    if (sheet == nullptr || tabs() == nullptr || sheet->Widget() == nullptr) {
        TWinControl::InsertControl(control);
        return;
    }
    controls_.push_back(control);
    settingPage_ = true;
    int index = tabs()->addTab(sheet->Widget(), QString::fromStdString(sheet->Caption()));
    tabs()->setTabVisible(index, sheet->TabVisible());
    settingPage_ = false;
}

void TPageControl::RemoveControl(TControl* control)
{
    if (auto* sheet = dynamic_cast<TTabSheet*>(control); sheet != nullptr && tabs() != nullptr) {
        int index = sheet->Widget() != nullptr ? tabs()->indexOf(sheet->Widget()) : -1;
        if (index >= 0) {
            settingPage_ = true;
            tabs()->removeTab(index);
            settingPage_ = false;
        }
    }
    TWinControl::RemoveControl(control);
}

int TPageControl::PageCount() const
{
    return tabs() != nullptr ? tabs()->count() : 0;
}

TTabSheet* TPageControl::Pages(int index) const
{
    if (tabs() == nullptr)
        return nullptr;
    return dynamic_cast<TTabSheet*>(TControl::FromWidget(tabs()->widget(index)));
}

TTabSheet* TPageControl::ActivePage() const
{
    return tabs() != nullptr ? Pages(tabs()->currentIndex()) : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (tabs() == nullptr || page == nullptr || page->Widget() == nullptr)
        return;
    settingPage_ = true;
    tabs()->setCurrentWidget(page->Widget());
    settingPage_ = false;
}

int TPageControl::ActivePageIndex() const
{
    return tabs() != nullptr ? tabs()->currentIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index)
{
    if (tabs() == nullptr)
        return;
    settingPage_ = true;
    tabs()->setCurrentIndex(index);
    settingPage_ = false;
}

} // namespace ui
