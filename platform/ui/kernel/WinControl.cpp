#include "platform/ui/kernel/WinControl.h"

#include "platform/ui/kernel/MessageTranslation.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

#include <algorithm>

namespace ui {

// One message from the screen on its way through the window procedure.
struct TWinControl::Dispatch {
    TMessage* record = nullptr;
    bool defaultReached = false;
};

TWinControl::TWinControl(core::TComponent* owner) : TControl(owner)
{
    WindowProc = [this](TMessage& message) { WndProc(message); };
}

TWinControl::~TWinControl()
{
    Destroying();
    // Children are not ours to free: give their widgets back before Qt deletes ours.
    while (!controls_.empty())
        controls_.back()->SetParent(nullptr);
}

TWinControl* TWinControl::FindControl(HWND window)
{
    for (QWidget* w = window; w != nullptr; w = w->parentWidget())
        if (auto* control = dynamic_cast<TWinControl*>(TControl::FromWidget(w)))
            return control;
    return nullptr;
}

TControl* TWinControl::Controls(int index) const
{
    return controls_.at(static_cast<size_t>(index));
}

bool TWinControl::ContainsControl(const TControl* control) const
{
    for (; control != nullptr; control = control->Parent())
        if (control == this)
            return true;
    return false;
}

LRESULT TWinControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    WindowProc(message);
    return message.Result;
}

void TWinControl::WndProc(TMessage& message)
{
    DefaultHandler(message);
}

void TWinControl::DefaultHandler(TMessage& message)
{
    if (dispatch_ != nullptr && dispatch_->record == &message) {
        dispatch_->defaultReached = true;
        return;
    }
    if (Widget() != nullptr)
        Redeliver(Widget(), message);
}

void TWinControl::Redeliver(QWidget* target, const TMessage& message)
{
    TMsg msg{target, message.Msg, message.WParam, message.LParam, 0, {}};
    std::unique_ptr<QEvent> event = EventFromMessage(msg);
    if (event == nullptr)
        return;
    bool saved = redelivering_;
    redelivering_ = true;
    {
        TRedelivery redelivery;
        QApplication::sendEvent(target, event.get());
    }
    redelivering_ = saved;
}

bool TWinControl::DispatchScreenMessage(QWidget* source, QEvent* event)
{
    std::optional<TMsg> msg = MessageFromEvent(source, event);
    if (!msg)
        return false;
    TMessage message{msg->message, msg->wParam, msg->lParam, 0};
    const TMessage original = message;
    Dispatch dispatch{&message, false};
    Dispatch* saved = dispatch_;
    dispatch_ = &dispatch;
    try {
        WindowProc(message);
    } catch (...) {
        dispatch_ = saved;
        HandleCurrentException(this);
        return true;
    }
    dispatch_ = saved;
    if (!dispatch.defaultReached)
        return true;
    if (message.Msg == original.Msg && message.WParam == original.WParam && message.LParam == original.LParam)
        return false;
    Redeliver(source, message);
    return true;
}

bool TWinControl::WidgetEvent(QWidget* source, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        if (redelivering_ || HasState(core::csDestroying))
            return false;
        return DispatchScreenMessage(source, event);
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        if (source != Widget())
            break;
        // Switching windows or opening a popup does not move the focus between controls.
        auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            break;
        if (event->type() == QEvent::FocusIn)
            Fire([this] { DoEnter(); });
        else
            Fire([this] { DoExit(); });
        break;
    }
    case QEvent::Resize:
        if (source == Widget() || source == ClientWidget()) {
            bool result = TControl::WidgetEvent(source, event);
            Realign();
            return result;
        }
        break;
    default:
        break;
    }
    return TControl::WidgetEvent(source, event);
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::InsertControl(TControl* control)
{
    controls_.push_back(control);
    QWidget* child = control->Widget();
    QWidget* client = ClientWidget();
    if (child != nullptr && client != nullptr) {
        child->setParent(client);
        control->ApplyBounds();
        child->setVisible(control->Visible());
    }
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        tabList_.push_back(windowed);
        ApplyTabOrder();
    }
    if (control->Align() != TAlign::alNone)
        Realign();
}

void TWinControl::RemoveControl(TControl* control)
{
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
    if (control->Align() != TAlign::alNone && !HasState(core::csDestroying))
        Realign();
}

void TWinControl::Realign()
{
    QWidget* client = ClientWidget();
    if (client == nullptr)
        return;
    QRect rect = client->contentsRect();
    const QSize clientSize = rect.size();
    AlignControls(rect);
    for (TControl* c : controls_)
        c->ApplyAnchors(clientSize);
}

void TWinControl::AlignControls(QRect& rect)
{
    auto place = [](TControl* c, int left, int top, int width, int height) {
        c->left_ = left;
        c->top_ = top;
        c->width_ = std::max(0, width);
        c->height_ = std::max(0, height);
        c->ApplyBounds();
    };
    for (TAlign pass : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        for (TControl* c : controls_) {
            if (c->Align() != pass || !c->Visible())
                continue;
            switch (pass) {
            case TAlign::alTop:
                place(c, rect.left(), rect.top(), rect.width(), c->Height());
                rect.setTop(rect.top() + c->Height());
                break;
            case TAlign::alBottom:
                place(c, rect.left(), rect.bottom() + 1 - c->Height(), rect.width(), c->Height());
                rect.setBottom(rect.bottom() - c->Height());
                break;
            case TAlign::alLeft:
                place(c, rect.left(), rect.top(), c->Width(), rect.height());
                rect.setLeft(rect.left() + c->Width());
                break;
            case TAlign::alRight:
                place(c, rect.right() + 1 - c->Width(), rect.top(), c->Width(), rect.height());
                rect.setRight(rect.right() - c->Width());
                break;
            default:
                place(c, rect.left(), rect.top(), rect.width(), rect.height());
                break;
            }
        }
    }
}

int TWinControl::ClientWidth() const
{
    QWidget* client = ClientWidget();
    return client != nullptr ? client->contentsRect().width() : Width();
}

int TWinControl::ClientHeight() const
{
    QWidget* client = ClientWidget();
    return client != nullptr ? client->contentsRect().height() : Height();
}

void TWinControl::SetClientWidth(int width)
{
    SetWidth(Width() - ClientWidth() + width);
}

void TWinControl::SetClientHeight(int height)
{
    SetHeight(Height() - ClientHeight() + height);
}

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c != nullptr; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return Widget() != nullptr;
}

bool TWinControl::Focused() const
{
    return Widget() != nullptr && Widget()->hasFocus();
}

void TWinControl::SetFocus()
{
    if (CanFocus())
        Widget()->setFocus(Qt::OtherFocusReason);
}

int TWinControl::TabOrder() const
{
    if (Parent() == nullptr)
        return -1;
    const auto& list = Parent()->tabList_;
    const auto found = std::find(list.begin(), list.end(), this);
    return found != list.end() ? static_cast<int>(found - list.begin()) : -1;
}

void TWinControl::SetTabOrder(int order)
{
    if (Parent() == nullptr)
        return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (order < 0 || order > static_cast<int>(list.size()))
        order = static_cast<int>(list.size());
    list.insert(list.begin() + order, this);
    Parent()->ApplyTabOrder();
}

void TWinControl::ApplyTabOrder()
{
    QWidget* previous = nullptr;
    for (TWinControl* control : tabList_) {
        QWidget* widget = control->Widget();
        if (widget == nullptr || widget->isWindow())
            continue;
        if (previous != nullptr)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void TWinControl::SetTabStop(bool tabStop)
{
    tabStop_ = tabStop;
    if (Widget() != nullptr && !tabStop)
        Widget()->setFocusPolicy(Qt::ClickFocus);
}

} // namespace ui
