#include "platform/ui/controls/StatusBar.h"

#include "platform/core/Exceptions.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

namespace ui {

// Paints the panels as sunken boxes with their texts.
class TStatusBar::BarWidget : public QWidget {
public:
    explicit BarWidget(TStatusBar* bar) : bar_(bar) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const TStatusPanels& panels = bar_->Panels();
        for (int i = 0; i < panels.Count(); ++i) {
            int left = bar_->PanelLeft(i);
            int right = i + 1 < panels.Count() ? bar_->PanelLeft(i + 1) : width();
            QRect box(left, 2, std::max(0, right - left - 2), std::max(0, height() - 2));
            QStyleOptionFrame frame;
            frame.initFrom(this);
            frame.rect = box;
            frame.state |= QStyle::State_Sunken;
            frame.lineWidth = 1;
            style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
            Qt::Alignment align = Qt::AlignVCenter;
            switch (panels[i].Alignment()) {
            case TAlignment::taRightJustify: align |= Qt::AlignRight; break;
            case TAlignment::taCenter: align |= Qt::AlignHCenter; break;
            default: align |= Qt::AlignLeft; break;
            }
            painter.drawText(box.adjusted(2, 0, -2, 0), align, QString::fromStdString(panels[i].Text()));
        }
    }

private:
    TStatusBar* bar_;
};

void TStatusPanel::SetText(const std::string& text)
{
    if (text == text_)
        return;
    text_ = text;
    bar_->PanelsChanged();
}

void TStatusPanel::SetWidth(int width)
{
    width_ = std::max(0, width);
    bar_->PanelsChanged();
}

void TStatusPanel::SetAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    bar_->PanelsChanged();
}

TStatusPanel& TStatusPanels::operator[](int index) const
{
    if (index < 0 || index >= Count())
        throw core::EListError("List index out of bounds (" + std::to_string(index) + ")");
    return *panels_[static_cast<std::size_t>(index)];
}

TStatusPanel& TStatusPanels::Add()
{
    panels_.push_back(std::unique_ptr<TStatusPanel>(new TStatusPanel(bar_)));
    bar_->PanelsChanged();
    return *panels_.back();
}

void TStatusPanels::Clear()
{
    panels_.clear();
    bar_->PanelsChanged();
}

TStatusBar::TStatusBar(core::TComponent* owner) : TWinControl(owner)
{
    SetWidget(new BarWidget(this));
    SetTabStop(false);
    SetBounds(0, 0, 150, 19);
    SetAlign(TAlign::alBottom);
}

int TStatusBar::PanelLeft(int index) const
{
    int left = 0;
    for (int i = 0; i < index && i < panels_.Count(); ++i)
        left += panels_[i].Width();
    return left;
}

void TStatusBar::PanelsChanged()
{
    Invalidate();
}

} // namespace ui
