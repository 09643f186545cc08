#include "platform/ui/controls/ToolBar.h"

#include "platform/core/Exceptions.h"
#include "platform/ui/controls/ImgList.h"

#include <QFrame>
#include <QIcon>
#include <QToolButton>

#include <algorithm>

namespace ui {

namespace {

// Width of a separator between groups of buttons.
constexpr int kSeparatorWidth = 8;

} // namespace

// ---- TToolButton ----

TToolButton::TToolButton(core::TComponent* owner) : TControl(owner)
{
    auto* button = new QToolButton;
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    QObject::connect(button, &QToolButton::clicked, button, [this] { Fire([this] { Click(); }); });
    SetWidget(button);
    SetBounds(0, 0, 23, 22);
}

QToolButton* TToolButton::button() const
{
    return static_cast<QToolButton*>(Widget());
}

TToolBar* TToolButton::ToolBar() const
{
    return dynamic_cast<TToolBar*>(Parent());
}

void TToolButton::SetParent(TWinControl* parent)
{
    TControl::SetParent(parent);
    ShowPicture();
}

void TToolButton::SetStyle(TToolButtonStyle style)
{
    style_ = style;
    if (button() != nullptr) {
        bool separator = style == TToolButtonStyle::tbsSeparator || style == TToolButtonStyle::tbsDivider;
        button()->setCheckable(style == TToolButtonStyle::tbsCheck);
        button()->setEnabled(!separator && Enabled());
        ShowState();
    }
    if (Parent() != nullptr)
        Parent()->Realign();
}

std::vector<TToolButton*> TToolButton::Group() const
{
    std::vector<TToolButton*> group;
    TWinControl* bar = Parent();
    if (bar == nullptr || !grouped_ || style_ != TToolButtonStyle::tbsCheck)
        return group;
    // The run of grouped check buttons around this one, in the bar's order.
    int self = -1;
    for (int i = 0; i < bar->ControlCount(); ++i)
        if (bar->Controls(i) == this)
            self = i;
    auto member = [&](int i) {
        auto* b = dynamic_cast<TToolButton*>(bar->Controls(i));
        return b != nullptr && b->grouped_ && b->style_ == TToolButtonStyle::tbsCheck ? b : nullptr;
    };
    int first = self;
    while (first > 0 && member(first - 1) != nullptr)
        --first;
    for (int i = first; i < bar->ControlCount() && member(i) != nullptr; ++i)
        group.push_back(member(i));
    return group;
}

void TToolButton::SetDown(bool down)
{
    if (down == down_) {
        ShowState();
        return;
    }
    down_ = down;
    if (down_)
        for (TToolButton* other : Group())
            if (other != this && other->down_) {
                other->down_ = false;
                other->ShowState();
            }
    ShowState();
}

void TToolButton::ShowState()
{
    if (button() != nullptr && button()->isCheckable())
        button()->setChecked(down_);
}

void TToolButton::Click()
{
    if (!Enabled() || style_ == TToolButtonStyle::tbsSeparator || style_ == TToolButtonStyle::tbsDivider)
        return;
    if (style_ == TToolButtonStyle::tbsCheck)
        SetDown(grouped_ ? true : !down_);
    TControl::Click();
}

void TToolButton::SetImageIndex(int index)
{
    imageIndex_ = index;
    ShowPicture();
}

void TToolButton::ShowPicture()
{
    if (button() == nullptr)
        return;
    TToolBar* bar = ToolBar();
    TImageList* images = bar != nullptr ? bar->Images() : nullptr;
    if (images != nullptr && imageIndex_ >= 0 && imageIndex_ < images->Count()) {
        button()->setIcon(QIcon(images->Bitmap(imageIndex_)));
        button()->setIconSize(QSize(images->Width(), images->Height()));
        button()->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        button()->setIcon(QIcon());
        // Without a picture the caption stands in.
        button()->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
}

void TToolButton::CaptionChanged()
{
    if (button() != nullptr)
        button()->setText(QString::fromStdString(Caption()));
}

void TToolButton::HintChanged()
{
    // A tool bar shows the hints of its buttons.
    if (Widget() != nullptr)
        Widget()->setToolTip(QString::fromStdString(Hint()));
}

// ---- TToolBar ----

TToolBar::TToolBar(core::TComponent* owner) : TWinControl(owner)
{
    auto* frame = new QFrame;
    SetWidget(frame);
    SetTabStop(false);
    SetBounds(0, 0, 150, 29);
    SetAlign(TAlign::alTop);
}

TToolBar::~TToolBar()
{
    Destroying();
    if (images_ != nullptr)
        images_->RemoveFreeNotification(this);
}

void TToolBar::SetImages(TImageList* images)
{
    if (images_ != nullptr)
        images_->RemoveFreeNotification(this);
    images_ = images;
    if (images_ != nullptr)
        images_->FreeNotification(this);
    for (int i = 0; i < ButtonCount(); ++i)
        Buttons(i)->ShowPicture();
}

void TToolBar::Notification(core::TComponent* component, core::TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == core::TOperation::opRemove && component == images_) {
        images_ = nullptr;
        if (!HasState(core::csDestroying))
            for (int i = 0; i < ButtonCount(); ++i)
                Buttons(i)->ShowPicture();
    }
}

void TToolBar::SetFlat(bool flat)
{
    flat_ = flat;
    if (auto* frame = static_cast<QFrame*>(Widget()))
        frame->setFrameStyle(flat ? QFrame::NoFrame : static_cast<int>(QFrame::Panel | QFrame::Raised));
}

void TToolBar::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    Realign();
}

void TToolBar::SetButtonSize(int width, int height)
{
    buttonWidth_ = std::max(1, width);
    buttonHeight_ = std::max(1, height);
    Realign();
}

int TToolBar::ButtonCount() const
{
    int count = 0;
    for (TControl* c : controls_)
        if (dynamic_cast<TToolButton*>(c) != nullptr)
            ++count;
    return count;
}

TToolButton* TToolBar::Buttons(int index) const
{
    int count = 0;
    for (TControl* c : controls_)
        if (auto* button = dynamic_cast<TToolButton*>(c)) {
            if (count == index)
                return button;
            ++count;
        }
    throw core::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TToolBar::InsertControl(TControl* control)
{
    TWinControl::InsertControl(control);
    Realign();
}

void TToolBar::RemoveControl(TControl* control)
{
    TWinControl::RemoveControl(control);
    if (!HasState(core::csDestroying))
        Realign();
}

void TToolBar::AlignControls(QRect& rect)
{
    // Every control in a row, in the order placed: buttons take the bar's
    // button size, separators a narrow gap, other controls keep their width.
    int x = rect.left();
    int rowHeight = buttonHeight_;
    for (TControl* c : controls_) {
        if (!c->Visible())
            continue;
        int width = c->Width();
        int height = c->Height();
        if (auto* button = dynamic_cast<TToolButton*>(c)) {
            bool separator = button->Style() == TToolButtonStyle::tbsSeparator ||
                             button->Style() == TToolButtonStyle::tbsDivider;
            width = separator ? kSeparatorWidth : buttonWidth_;
            height = buttonHeight_;
        }
        rowHeight = std::max(rowHeight, height);
        c->SetBounds(x, rect.top(), width, height);
        x += width;
    }
    if (autoSize_) {
        int wanted = rowHeight + (Height() - ClientHeight());
        if (wanted != Height())
            SetHeight(wanted);
    }
}

} // namespace ui
