#include "platform/ui/kernel/Forms.h"

#include "platform/core/Exceptions.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/MessageTranslation.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace ui {

void FreeComponent(core::TComponent* component)
{
    if (component == nullptr)
        return;
    if (auto* events = dynamic_cast<TCreationEvents*>(component))
        events->BeforeDestruction();
    delete component;
}

void FreeOwnedComponents(core::TComponent* owner)
{
    while (owner->ComponentCount() > 0) {
        core::TComponent* last = owner->Components(owner->ComponentCount() - 1);
        if (auto* events = dynamic_cast<TCreationEvents*>(last))
            events->BeforeDestruction();
        owner->RemoveComponent(last);
        delete last;
    }
}

// Sees the key presses of every widget of the form's window before they do.
// Qt hands an unaccepted key press up the parents as the same event: it is
// offered to the form once, when it reaches its first widget.
class TCustomForm::KeyPreviewFilter : public QObject {
public:
    explicit KeyPreviewFilter(TCustomForm* form) : form_(form) {}

    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !receiver->isWidgetType() || TRedelivery::Active())
            return false;
        auto* widget = static_cast<QWidget*>(receiver);
        QWidget* window = form_->Widget();
        if (window == nullptr || widget->window() != window)
            return false;
        bool handedUp = event == lastEvent_ && lastReceiver_ != nullptr && widget->isAncestorOf(lastReceiver_);
        lastEvent_ = event;
        lastReceiver_ = widget;
        if (handedUp)
            return false;
        return form_->PreviewKey(event);
    }

private:
    TCustomForm* form_;
    const QEvent* lastEvent_ = nullptr;
    QPointer<QWidget> lastReceiver_;
};

TCustomForm::TCustomForm(core::TComponent* owner) : TWinControl(owner)
{
    auto* widget = new QWidget(nullptr, Qt::Window);
    widget->setAttribute(Qt::WA_DeleteOnClose, false);
    SetWidget(widget);
    // A form shows only when asked to.
    TControl::SetVisible(false);
    // A form has a font of its own, which its controls take.
    SetParentFont(false);
}

TCustomForm::~TCustomForm()
{
    Destroying();
    keyFilter_.reset();
    // Owned components, and so their widgets, go before the form's own widget.
    FreeOwnedComponents(this);
}

void TCustomForm::AfterConstruction()
{
    if (created_)
        return;
    created_ = true;
    DoCreate();
}

void TCustomForm::BeforeDestruction()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    Destroying();
    DoDestroy();
}

void TCustomForm::DoCreate()
{
    try {
        if (OnCreate)
            OnCreate(this);
    } catch (...) {
        HandleCurrentException(this);
    }
}

void TCustomForm::DoDestroy()
{
    try {
        if (OnDestroy)
            OnDestroy(this);
    } catch (...) {
        HandleCurrentException(this);
    }
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action)
{
    if (OnClose)
        OnClose(this, action);
}

void TCustomForm::CaptionChanged()
{
    if (Widget() != nullptr)
        Widget()->setWindowTitle(QString::fromStdString(Caption()));
}

void TCustomForm::SetWindowState(TWindowState state)
{
    windowState_ = state;
    QWidget* w = Widget();
    if (w == nullptr || !w->isVisible())
        return;
    switch (state) {
    case TWindowState::wsMaximized: w->showMaximized(); break;
    case TWindowState::wsMinimized: w->showMinimized(); break;
    default: w->showNormal(); break;
    }
}

void TCustomForm::SetFormStyle(TFormStyle style)
{
    formStyle_ = style;
    QWidget* w = Widget();
    if (w == nullptr)
        return;
    bool shown = w->isVisible();
    w->setWindowFlag(Qt::WindowStaysOnTopHint, style == TFormStyle::fsStayOnTop);
    // Changing the flags hides the window.
    if (shown)
        w->show();
}

void TCustomForm::SetKeyPreview(bool preview)
{
    keyPreview_ = preview;
    if (preview && keyFilter_ == nullptr && QCoreApplication::instance() != nullptr) {
        keyFilter_ = std::make_unique<KeyPreviewFilter>(this);
        QCoreApplication::instance()->installEventFilter(keyFilter_.get());
    } else if (!preview) {
        keyFilter_.reset();
    }
}

void TCustomForm::KeyDown(WORD& key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

bool TCustomForm::PreviewKey(QEvent* event)
{
    if (HasState(core::csDestroying))
        return false;
    auto* press = static_cast<QKeyEvent*>(event);
    WORD key = VirtualKeyFromQt(press->key());
    if (key == 0)
        return false;
    TShiftState shift = ShiftStateFromQt(press->modifiers(), 0);
    Fire([&] { KeyDown(key, shift); });
    return key == 0;
}

void TCustomForm::PlaceOnFirstShow()
{
    if (placed_)
        return;
    placed_ = true;
    QWidget* w = Widget();
    QWidget* around = nullptr;
    switch (position_) {
    case TPosition::poOwnerFormCenter:
        if (auto* owner = dynamic_cast<TCustomForm*>(Owner()))
            around = owner->Widget();
        [[fallthrough]];
    case TPosition::poMainFormCenter:
        if (around == nullptr && Application != nullptr && Application->MainForm() != nullptr &&
            Application->MainForm() != this)
            around = Application->MainForm()->Widget();
        [[fallthrough]];
    case TPosition::poScreenCenter:
    case TPosition::poDesktopCenter: {
        QRect area;
        if (around != nullptr && around->isVisible())
            area = around->frameGeometry();
        else if (QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
        if (area.isValid()) {
            QPoint topLeft = area.center() - QPoint(w->width() / 2, w->height() / 2);
            SetBounds(topLeft.x(), topLeft.y(), Width(), Height());
        }
        break;
    }
    default:
        break;
    }
}

void TCustomForm::SetVisible(bool visible)
{
    QWidget* w = Widget();
    if (visible && w != nullptr && !w->isVisible())
        PlaceOnFirstShow();
    TControl::SetVisible(visible);
    if (w == nullptr)
        return;
    if (visible) {
        if (windowState_ == TWindowState::wsMaximized)
            w->showMaximized();
        else if (windowState_ == TWindowState::wsMinimized)
            w->showMinimized();
        else
            w->show();
        w->raise();
        w->activateWindow();
    } else {
        w->hide();
    }
}

void TCustomForm::Show()
{
    SetVisible(true);
}

void TCustomForm::Hide()
{
    SetVisible(false);
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = TCloseAction::caHide;
    DoClose(action);
    if (action == TCloseAction::caNone)
        return;
    if (Application != nullptr && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case TCloseAction::caHide: Hide(); break;
    case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); break;
    default: Release(); break;
    }
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || modal_)
        throw core::Exception("Viditelné okno nelze zobrazit modálně.");
    modal_ = true;
    modalResult_ = mrNone;
    QWidget* w = Widget();
    w->setWindowModality(Qt::ApplicationModal);
    Show();
    QPointer<QWidget> guard(w);
    QEventLoop loop;
    for (;;) {
        if (Application != nullptr && Application->Terminated())
            modalResult_ = mrCancel;
        if (modalResult_ != mrNone) {
            TCloseAction action = TCloseAction::caNone;
            if (CloseQuery()) {
                action = TCloseAction::caHide;
                DoClose(action);
            }
            if (action == TCloseAction::caNone && !(Application != nullptr && Application->Terminated()))
                modalResult_ = mrNone;
            else
                break;
        }
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
    modal_ = false;
    Hide();
    if (guard != nullptr)
        guard->setWindowModality(Qt::NonModal);
    return modalResult_;
}

void TCustomForm::Release()
{
    QWidget* w = Widget();
    if (w == nullptr)
        return;
    QTimer::singleShot(0, w, [this] { FreeComponent(this); });
}

bool TCustomForm::Active() const
{
    return Widget() != nullptr && Widget()->isActiveWindow();
}

TWinControl* TCustomForm::ActiveControl() const
{
    QWidget* w = Widget();
    if (w == nullptr || w->focusWidget() == nullptr)
        return nullptr;
    TWinControl* control = TWinControl::FindControl(w->focusWidget());
    return control != this ? control : nullptr;
}

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control != nullptr)
        control->SetFocus();
}

bool TCustomForm::WidgetEvent(QWidget* source, QEvent* event)
{
    if (source == Widget() && !HasState(core::csDestroying)) {
        switch (event->type()) {
        case QEvent::Close:
            // The window's close box asks the form; the form decides.
            event->ignore();
            Fire([this] { Close(); });
            return true;
        case QEvent::Show:
            Fire([this] { DoShow(); });
            break;
        case QEvent::Hide:
            Fire([this] { DoHide(); });
            break;
        case QEvent::KeyPress:
            // Without key preview the form hears the keys pressed in itself.
            if (!keyPreview_ && PreviewKey(event))
                return true;
            break;
        case QEvent::WindowActivate:
            Fire([this] { if (OnActivate) OnActivate(this); });
            break;
        case QEvent::WindowDeactivate:
            Fire([this] { if (OnDeactivate) OnDeactivate(this); });
            break;
        case QEvent::Resize: {
            bool result = TWinControl::WidgetEvent(source, event);
            Fire([this] { if (OnResize) OnResize(this); });
            return result;
        }
        case QEvent::PlatformSurface:
            // Qt makes a shown window anew when a child needs another kind of
            // drawing surface (a web page's), and the desktop may then report
            // the new window in the normal state: for a short while such
            // reports get the form's own state applied again.
            if (static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
                    QPlatformSurfaceEvent::SurfaceCreated &&
                windowState_ != TWindowState::wsNormal) {
                stateRestoresLeft_ = 3;
                QTimer::singleShot(1000, source, [this] { stateRestoresLeft_ = 0; });
            }
            break;
        case QEvent::WindowStateChange:
            if (stateRestoresLeft_ > 0 && source->windowState() == Qt::WindowNoState) {
                --stateRestoresLeft_;
                QTimer::singleShot(0, source, [this, window = QPointer<QWidget>(source)] {
                    if (window && window->isVisible() && window == Widget() &&
                        window->windowState() == Qt::WindowNoState)
                        SetWindowState(windowState_);
                });
            }
            break;
        default:
            break;
        }
    }
    return TWinControl::WidgetEvent(source, event);
}

} // namespace ui
