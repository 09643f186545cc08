#include "platform/ui/kernel/Control.h"

#include "platform/ui/kernel/PopupMenus.h"
#include "platform/ui/kernel/WinControl.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

const char* const kControlProperty = "konverze.control";

} // namespace

// Forwards the events of a control's widget to the control. A child of the
// widget, so it never outlives it; the control deletes it before the widget.
class TControl::Bridge : public QObject {
public:
    Bridge(TControl* control, QWidget* widget) : QObject(widget), control_(control) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (control_ == nullptr || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (control_->InheritedEvent(widget, event))
            return true;
        return control_->WidgetEvent(widget, event);
    }

    void Detach() { control_ = nullptr; }

private:
    TControl* control_;
};

TControl::TControl(core::TComponent* owner) : core::TComponent(owner)
{
    font_.OnChange = [this](core::TObject*) {
        parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl()
{
    Destroying();
    TControlDrag::Forget(this);
    if (parent_ != nullptr)
        SetParent(nullptr);
    if (widget_ != nullptr) {
        widget_->setProperty(kControlProperty, QVariant());
        if (bridge_ != nullptr) {
            widget_->removeEventFilter(bridge_);
            bridge_->Detach();
        }
        delete widget_.data();
    }
}

TControl* TControl::FromWidget(const QWidget* widget)
{
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        QVariant value = w->property(kControlProperty);
        if (value.isValid())
            return reinterpret_cast<TControl*>(value.value<quintptr>());
    }
    return nullptr;
}

void TControl::SetWidget(QWidget* widget)
{
    widget_ = widget;
    widget->setProperty(kControlProperty, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
    widget->setObjectName(QString::fromStdString(Name()));
    bridge_ = new Bridge(this, widget);
    widget->installEventFilter(bridge_);
    left_ = widget->x();
    top_ = widget->y();
    width_ = widget->width();
    height_ = widget->height();
}

bool TControl::WidgetEvent(QWidget* source, QEvent* event)
{
    if (syncingBounds_ || source != widget_)
        return false;
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        // Qt moved or resized the widget (a window resized by the user): keep the bounds.
        if (widget_ != nullptr) {
            QRect r = widget_->isWindow() ? QRect(widget_->pos(), widget_->size()) : widget_->geometry();
            left_ = r.x();
            top_ = r.y();
            width_ = r.width();
            height_ = r.height();
        }
        break;
    default:
        break;
    }
    return false;
}

void TControl::WatchWidget(QWidget* inner)
{
    if (bridge_ != nullptr && inner != nullptr)
        inner->installEventFilter(bridge_);
}

void TControl::SetName(const std::string& name)
{
    core::TComponent::SetName(name);
    if (widget_ != nullptr)
        widget_->setObjectName(QString::fromStdString(name));
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (parent_ != nullptr) {
        TWinControl* old = parent_;
        parent_ = nullptr;
        old->RemoveControl(this);
    }
    parent_ = parent;
    if (parent_ != nullptr) {
        parent_->InsertControl(this);
        if (parentShowHint_)
            FollowShowHint(parent_->ShowHint());
        KeepAnchorOrigin();
    } else if (widget_ != nullptr && !widget_->isWindow()) {
        widget_->hide();
        widget_->setParent(nullptr);
    }
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    left_ = left;
    top_ = top;
    width_ = std::max({width, constraints_.MinWidth, 0});
    height_ = std::max({height, constraints_.MinHeight, 0});
    if (parent_ != nullptr && align_ != TAlign::alNone)
        parent_->Realign();
    else
        ApplyBounds();
    KeepAnchorOrigin();
}

void TControl::SetConstraints(const TSizeConstraints& constraints)
{
    constraints_ = constraints;
    if (widget_ != nullptr)
        widget_->setMinimumSize(std::max(constraints.MinWidth, 0), std::max(constraints.MinHeight, 0));
    SetBounds(left_, top_, width_, height_);
}

void TControl::SetAnchors(TAnchors anchors)
{
    anchors_ = anchors;
    KeepAnchorOrigin();
}

void TControl::KeepAnchorOrigin()
{
    anchorBounds_ = QRect(left_, top_, width_, height_);
    anchorParentClient_ = parent_ != nullptr ? QSize(parent_->ClientWidth(), parent_->ClientHeight()) : QSize();
}

void TControl::ApplyAnchors(const QSize& parentClient)
{
    if (align_ != TAlign::alNone || anchors_ == (akLeft | akTop))
        return;
    if (anchorParentClient_.isEmpty()) {
        // Placed before its parent had a size: the distances count from now.
        KeepAnchorOrigin();
        return;
    }
    // One axis: the start edge, the extent, the parent's extent then and now.
    auto place = [](bool toStart, bool toEnd, int start, int extent, int parentThen, int parentNow, int& newStart,
                    int& newExtent) {
        newStart = start;
        newExtent = extent;
        if (toStart && toEnd) {
            newExtent = std::max(0, extent + parentNow - parentThen);
        } else if (toEnd) {
            newStart = start + parentNow - parentThen;
        } else if (!toStart) {
            // Neither edge: the centre keeps its share of the parent.
            const double centre = (start + extent / 2.0) * parentNow / parentThen;
            newStart = static_cast<int>(std::lround(centre - extent / 2.0));
        }
    };
    int left, width, top, height;
    place(anchors_ & akLeft, anchors_ & akRight, anchorBounds_.x(), anchorBounds_.width(),
          anchorParentClient_.width(), parentClient.width(), left, width);
    place(anchors_ & akTop, anchors_ & akBottom, anchorBounds_.y(), anchorBounds_.height(),
          anchorParentClient_.height(), parentClient.height(), top, height);
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    ApplyBounds();
}

void TControl::ApplyBounds()
{
    if (widget_ == nullptr)
        return;
    syncingBounds_ = true;
    if (widget_->isWindow()) {
        widget_->move(left_, top_);
        widget_->resize(width_, height_);
    } else {
        widget_->setGeometry(left_, top_, width_, height_);
    }
    syncingBounds_ = false;
    // Qt may refuse a size below the widget's minimum; keep what it took.
    if (!widget_->isWindow()) {
        width_ = widget_->width();
        height_ = widget_->height();
    }
    BoundsChanged();
}

void TControl::SetAlign(TAlign align)
{
    if (align == align_)
        return;
    align_ = align;
    if (parent_ != nullptr)
        parent_->Realign();
}

void TControl::SetVisible(bool visible)
{
    visible_ = visible;
    if (widget_ != nullptr && widget_->parentWidget() != nullptr)
        widget_->setVisible(visible);
    if (parent_ != nullptr && align_ != TAlign::alNone)
        parent_->Realign();
}

bool TControl::Showing() const
{
    return widget_ != nullptr && widget_->isVisible();
}

void TControl::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (widget_ != nullptr)
        widget_->setEnabled(enabled);
}

void TControl::SetCaption(const std::string& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    CaptionChanged();
}

void TControl::SetParentFont(bool parentFont)
{
    parentFont_ = parentFont;
    FontChanged();
}

void TControl::FontChanged()
{
    if (widget_ == nullptr)
        return;
    if (parentFont_) {
        widget_->setFont(QFont());
        return;
    }
    widget_->setFont(font_.ToQFont());
    if (font_.Color() != clWindowText) {
        QPalette palette = widget_->palette();
        QColor color = ColorToQColor(font_.Color());
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::Text, color);
        palette.setColor(QPalette::ButtonText, color);
        widget_->setPalette(palette);
    }
}

void TControl::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    ColorChanged();
}

void TControl::ColorChanged()
{
    if (widget_ == nullptr)
        return;
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::Window, ColorToQColor(color_));
    widget_->setPalette(palette);
    widget_->setAutoFillBackground(color_ != clBtnFace);
}

void TControl::SetHint(const std::string& hint)
{
    hint_ = hint;
    HintChanged();
}

void TControl::SetShowHint(bool showHint)
{
    parentShowHint_ = false;
    FollowShowHint(showHint);
}

void TControl::FollowShowHint(bool showHint)
{
    showHint_ = showHint;
    HintChanged();
    if (auto* windowed = dynamic_cast<TWinControl*>(this))
        for (TControl* child : windowed->controls_)
            if (child->parentShowHint_)
                child->FollowShowHint(showHint);
}

void TControl::SetParentShowHint(bool parentShowHint)
{
    parentShowHint_ = parentShowHint;
    if (parentShowHint_ && parent_ != nullptr)
        FollowShowHint(parent_->ShowHint());
}

void TControl::HintChanged()
{
    if (widget_ != nullptr)
        widget_->setToolTip(showHint_ ? QString::fromStdString(hint_) : QString());
}

void TControl::SetCursor(TCursor cursor)
{
    cursor_ = cursor;
    if (widget_ == nullptr)
        return;
    if (cursor == TCursor::crDefault)
        widget_->unsetCursor();
    else
        widget_->setCursor(CursorShape(cursor));
}

void TControl::BringToFront()
{
    if (widget_ != nullptr)
        widget_->raise();
}

void TControl::Invalidate()
{
    if (widget_ != nullptr)
        widget_->update();
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::Notification(core::TComponent* component, core::TOperation operation)
{
    core::TComponent::Notification(component, operation);
    if (operation == core::TOperation::opRemove && component == popupMenu_)
        popupMenu_ = nullptr;
}

void TControl::SetPopupMenu(TPopupMenu* menu)
{
    if (menu == popupMenu_)
        return;
    if (popupMenu_ != nullptr)
        popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (popupMenu_ != nullptr)
        popupMenu_->FreeNotification(this);
}

bool TControl::InheritedEvent(QWidget* source, QEvent* event)
{
    if (HasState(core::csDestroying))
        return false;
    switch (event->type()) {
    case QEvent::ContextMenu: {
        if (popupMenu_ == nullptr || !popupMenu_->AutoPopup())
            return false;
        const QPoint at = static_cast<QContextMenuEvent*>(event)->globalPos();
        TPopupMenu* menu = popupMenu_;
        menu->SetPopupComponent(this);
        Fire([&] { menu->Popup(at.x(), at.y()); });
        event->accept();
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (dragMode_ != TDragMode::dmAutomatic || mouse->button() != Qt::LeftButton || TControlDrag::Source())
            return false;
        // A press on a child control of ours is the child's, even when it reaches us.
        const QWidget* hit = source->childAt(mouse->position().toPoint());
        if (FromWidget(hit != nullptr ? hit : source) != this)
            return false;
        TControlDrag::Begin(this, mouse->globalPosition().toPoint(), false, -1);
        return false;
    }
    default:
        return false;
    }
}

void TControl::BeginDrag(bool immediate, int threshold)
{
    TControlDrag::Begin(this, QCursor::pos(), immediate, threshold);
}

bool TControl::Dragging() const
{
    return TControlDrag::Source() == this && TControlDrag::Going();
}

void TControl::DoStartDrag(TDragObject*& dragObject)
{
    if (OnStartDrag)
        OnStartDrag(this, dragObject);
}

void TControl::DoDragOver(core::TObject* source, int x, int y, TDragState state, bool& accept)
{
    accept = false;
    if (OnDragOver) {
        accept = true;
        OnDragOver(this, source, x, y, state, accept);
    }
}

void TControl::DoDragDrop(core::TObject* source, int x, int y)
{
    if (OnDragDrop)
        OnDragDrop(this, source, x, y);
}

void TControl::DoEndDrag(core::TObject* target, int x, int y)
{
    if (OnEndDrag)
        OnEndDrag(this, target, x, y);
}

} // namespace ui
