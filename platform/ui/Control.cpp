#include "platform/ui/Control.h"

#include "platform/ui/WinControl.h"

#include <QEvent>
#include <QPalette>
#include <QVariant>
#include <QWidget>

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
        return control_->WidgetEvent(static_cast<QWidget*>(watched), event);
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
    if (parent_ != nullptr)
        parent_->InsertControl(this);
    else if (widget_ != nullptr && !widget_->isWindow()) {
        widget_->hide();
        widget_->setParent(nullptr);
    }
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    left_ = left;
    top_ = top;
    width_ = width < 0 ? 0 : width;
    height_ = height < 0 ? 0 : height;
    if (parent_ != nullptr && align_ != TAlign::alNone)
        parent_->Realign();
    else
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
    showHint_ = showHint;
    HintChanged();
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
    switch (cursor) {
    case TCursor::crHandPoint: widget_->setCursor(Qt::PointingHandCursor); break;
    case TCursor::crHourGlass: widget_->setCursor(Qt::WaitCursor); break;
    case TCursor::crIBeam: widget_->setCursor(Qt::IBeamCursor); break;
    case TCursor::crArrow: widget_->setCursor(Qt::ArrowCursor); break;
    default: widget_->unsetCursor(); break;
    }
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
}

} // namespace ui
