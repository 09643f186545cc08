#include "report/RpWindowMessages.h"

#include "platform/ui/Application.h"
#include "platform/ui/WinControl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace report {

namespace {

// A posted message travels as a Qt event to a receiver of ours, which hands it
// to the window procedure of the control that the widget still belongs to.
class PostedMessageEvent : public QEvent {
public:
    static QEvent::Type EventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    PostedMessageEvent(QWidget* window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam)
        : QEvent(EventType()), Window(window), Message(message), WParam(wParam), LParam(lParam)
    {
    }

    QPointer<QWidget> Window;
    ui::UINT Message;
    ui::WPARAM WParam;
    ui::LPARAM LParam;
};

class PostedMessageReceiver : public QObject {
public:
    bool event(QEvent* event) override
    {
        if (event->type() != PostedMessageEvent::EventType())
            return QObject::event(event);
        auto* posted = static_cast<PostedMessageEvent*>(event);
        if (posted->Window == nullptr)
            return true;
        if (ui::TWinControl* control = ui::TWinControl::FindControl(posted->Window.data()))
            control->Perform(posted->Message, posted->WParam, posted->LParam);
        return true;
    }
};

// Lives in the application's thread as long as the application does.
QObject* Receiver()
{
    static QPointer<PostedMessageReceiver> receiver;
    if (receiver == nullptr && QCoreApplication::instance() != nullptr) {
        receiver = new PostedMessageReceiver;
        receiver->moveToThread(QCoreApplication::instance()->thread());
        receiver->setParent(QCoreApplication::instance());
    }
    return receiver.data();
}

} // namespace

bool RpPostMessage(ui::TWinControl* window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam)
{
    if (window == nullptr || window->Handle() == nullptr)
        return false;
    QObject* receiver = Receiver();
    if (receiver == nullptr)
        return false;
    QCoreApplication::postEvent(receiver, new PostedMessageEvent(window->Handle(), message, wParam, lParam));
    return true;
}

ui::LRESULT RpSendMessage(ui::TWinControl* window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam)
{
    if (window == nullptr)
        return 0;
    return window->Perform(message, wParam, lParam);
}

void RpProcessMessages()
{
    if (ui::Application != nullptr)
        ui::Application->ProcessMessages();
    else if (QCoreApplication::instance() != nullptr)
        QCoreApplication::processEvents();
}

} // namespace report
