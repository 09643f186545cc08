#include "platform/ui/controls/ExtCtrls.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QPainter>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include <algorithm>

namespace ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A frame that shows its caption centred, as a panel does.
class PanelWidget : public QFrame {
public:
    QString caption;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QFrame::paintEvent(event);
        if (caption.isEmpty())
            return;
        QPainter painter(this);
        painter.drawText(contentsRect(), Qt::AlignCenter, caption);
    }
};

} // namespace

// ---- TPanel ----

TPanel::TPanel(core::TComponent* owner) : TWinControl(owner)
{
    auto* frame = new PanelWidget;
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(1);
    SetWidget(frame);
    SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TBevelCut bevel)
{
    auto* frame = static_cast<QFrame*>(Widget());
    if (frame == nullptr)
        return;
    switch (bevel) {
    case TBevelCut::bvNone: frame->setFrameStyle(QFrame::NoFrame); break;
    case TBevelCut::bvLowered: frame->setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
    default: frame->setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    }
}

void TPanel::CaptionChanged()
{
    if (auto* frame = static_cast<PanelWidget*>(Widget())) {
        frame->caption = Q(Caption());
        frame->update();
    }
}

// ---- TRadioGroup ----

TRadioGroup::TRadioGroup(core::TComponent* owner) : TWinControl(owner)
{
    auto* box = new QGroupBox;
    group_ = new QButtonGroup(box);
    group_->setExclusive(true);
    SetWidget(box);
    SetBounds(0, 0, 185, 105);
    items_.OnChange = [this](core::TObject*) { RebuildButtons(); };
}

TRadioGroup::~TRadioGroup()
{
    items_.OnChange = nullptr;
}

void TRadioGroup::CaptionChanged()
{
    if (auto* box = static_cast<QGroupBox*>(Widget()))
        box->setTitle(Q(Caption()));
}

void TRadioGroup::SetColumns(int columns)
{
    columns_ = std::max(1, columns);
    ArrangeButtons();
}

void TRadioGroup::RebuildButtons()
{
    auto* box = static_cast<QGroupBox*>(Widget());
    if (box == nullptr)
        return;
    updating_ = true;
    for (QRadioButton* button : buttons_)
        delete button;
    buttons_.clear();
    for (int i = 0; i < items_.Count(); ++i) {
        auto* button = new QRadioButton(Q(items_.Get(i)), box);
        group_->addButton(button, i);
        QObject::connect(button, &QRadioButton::toggled, box,
                         [this, i](bool checked) { ButtonToggled(i, checked); });
        button->show();
        buttons_.push_back(button);
    }
    if (itemIndex_ >= static_cast<int>(buttons_.size()))
        itemIndex_ = -1;
    if (itemIndex_ >= 0)
        buttons_[static_cast<size_t>(itemIndex_)]->setChecked(true);
    updating_ = false;
    ArrangeButtons();
}

void TRadioGroup::ArrangeButtons()
{
    auto* box = static_cast<QGroupBox*>(Widget());
    if (box == nullptr || buttons_.empty())
        return;
    // Below the caption, the buttons share the room evenly, row by row in each column.
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    QRect contents = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, box);
    int count = static_cast<int>(buttons_.size());
    int rows = (count + columns_ - 1) / columns_;
    int columnWidth = (contents.width() - 8) / columns_;
    int rowHeight = std::max(1, contents.height() / rows);
    for (int i = 0; i < count; ++i) {
        int column = i / rows;
        int row = i % rows;
        int height = std::min(rowHeight, buttons_[static_cast<size_t>(i)]->sizeHint().height());
        int top = contents.top() + row * rowHeight + (rowHeight - height) / 2;
        buttons_[static_cast<size_t>(i)]->setGeometry(contents.left() + 8 + column * columnWidth, top,
                                                      columnWidth, height);
    }
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index < -1 || index >= static_cast<int>(buttons_.size()))
        index = -1;
    if (index == itemIndex_)
        return;
    if (index == -1) {
        updating_ = true;
        group_->setExclusive(false);
        for (QRadioButton* button : buttons_)
            button->setChecked(false);
        group_->setExclusive(true);
        updating_ = false;
        itemIndex_ = -1;
        Fire([this] { Click(); });
        return;
    }
    buttons_[static_cast<size_t>(index)]->setChecked(true);
}

void TRadioGroup::ButtonToggled(int index, bool checked)
{
    if (!checked || updating_ || index == itemIndex_)
        return;
    itemIndex_ = index;
    Fire([this] { Click(); });
}

bool TRadioGroup::WidgetEvent(QWidget* source, QEvent* event)
{
    bool result = TWinControl::WidgetEvent(source, event);
    if (source == Widget() && (event->type() == QEvent::Resize || event->type() == QEvent::FontChange))
        ArrangeButtons();
    return result;
}

} // namespace ui
