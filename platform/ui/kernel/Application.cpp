#include "platform/ui/kernel/Application.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Unicode.h"
#include "platform/ui/kernel/AppEvents.h"
#include "platform/ui/kernel/Dialogs.h"
#include "platform/ui/kernel/InterfaceLanguage.h"
#include "platform/ui/kernel/MessageTranslation.h"

#include <QApplication>
#include <QInputEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace ui {

TApplication* Application = nullptr;

namespace {

bool IsScreenInput(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

} // namespace

// Sees every event the Qt application delivers. Screen input is offered to the
// application-message handlers once, when the loop first hands it to a widget;
// the same event forwarded or propagated inside Qt is not offered again.
class TInputHook : public QObject {
public:
    explicit TInputHook(TApplication* application) : application_(application) {}

    bool IsNewInput(QObject* receiver, QEvent* event) const
    {
        return IsScreenInput(event) && receiver->isWidgetType() && !TRedelivery::Active() &&
               std::find(inFlight_.begin(), inFlight_.end(), event) == inFlight_.end();
    }

    // Offers the event; true when it must not be delivered as it is.
    bool Offer(QObject* receiver, QEvent* event)
    {
        std::optional<TMsg> msg = MessageFromEvent(receiver, event);
        if (!msg)
            return false;
        const QPointer<QObject> savedReceiver = offeredReceiver_;
        QEvent* const savedEvent = offeredEvent_;
        offeredReceiver_ = receiver;
        offeredEvent_ = event;
        const bool taken = application_->TakeMessage(*msg);
        offeredReceiver_ = savedReceiver;
        offeredEvent_ = savedEvent;
        return taken;
    }

    // Delivers the event being offered now, once, without offering it again.
    bool DispatchOffered()
    {
        if (offeredEvent_ == nullptr || offeredReceiver_.isNull())
            return false;
        QEvent* event = std::exchange(offeredEvent_, nullptr);
        QCoreApplication::sendEvent(offeredReceiver_, event);
        return true;
    }

    void Enter(const QEvent* event) { inFlight_.push_back(event); }
    void Leave() { inFlight_.pop_back(); }

    // Used when the Qt application was not made by us: no notify of our own,
    // so a filter on the application stands in, and an event already offered
    // (same object, same time stamp) is recognised by its identity.
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (!IsNewInput(receiver, event))
            return false;
        auto stamp = static_cast<const QInputEvent*>(event)->timestamp();
        if (event == lastEvent_ && stamp == lastStamp_ && event->type() == lastType_)
            return false;
        lastEvent_ = event;
        lastStamp_ = stamp;
        lastType_ = event->type();
        return Offer(receiver, event);
    }

private:
    TApplication* application_;
    std::vector<const QEvent*> inFlight_;
    QPointer<QObject> offeredReceiver_;
    QEvent* offeredEvent_ = nullptr;
    const QEvent* lastEvent_ = nullptr;
    quint64 lastStamp_ = 0;
    QEvent::Type lastType_ = QEvent::None;
};

namespace {

// The Qt application of the program: every delivery passes notify, where the
// message handlers get their turn and escaping exceptions reach the default handler.
class TQtApplication : public QApplication {
public:
    TQtApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    static inline TInputHook* hook = nullptr;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (hook != nullptr && hook->IsNewInput(receiver, event)) {
            struct InFlight {
                explicit InFlight(const QEvent* e) { hook->Enter(e); }
                ~InFlight() { hook->Leave(); }
            } inFlight(event);
            if (hook->Offer(receiver, event))
                return true;
        }
        return Deliver(receiver, event);
    }

private:
    bool Deliver(QObject* receiver, QEvent* event)
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            HandleCurrentException(nullptr);
            return true;
        }
    }
};

std::string LastCharacterDot(std::string message)
{
    // A message that ends in a letter, digit or the like gets a full stop.
    if (message.empty())
        return message;
    std::u32string chars = core::Utf8ToUtf32(message);
    if (!chars.empty() && chars.back() > U'.')
        message += '.';
    return message;
}

} // namespace

void HandleCurrentException(core::TObject* sender)
{
    if (Application != nullptr) {
        Application->HandleException(sender);
        return;
    }
    try {
        throw;
    } catch (const core::EAbort&) {
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "unknown exception\n");
    }
}

TApplication::TApplication(int& argc, char** argv) : core::TComponent(nullptr), argc_(argc), argv_(argv)
{
    Application = this;
    title_ = std::filesystem::path(ExeName()).stem().string();
}

TApplication::~TApplication()
{
    Destroying();
    FreeOwnedComponents(this);
    if (hook_ != nullptr) {
        TQtApplication::hook = nullptr;
        if (qApp != nullptr)
            qApp->removeEventFilter(hook_.get());
    }
    hook_.reset();
    ownApplication_.reset();
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize()
{
    if (initialized_)
        return;
    initialized_ = true;
    hook_ = std::make_unique<TInputHook>(this);
    if (QApplication::instance() == nullptr) {
        ownApplication_ = std::make_unique<TQtApplication>(argc_, argv_);
        TQtApplication::hook = hook_.get();
    } else {
        qApp->installEventFilter(hook_.get());
    }
    InstallInterfaceLanguage();
    // The main form ends the program, not the last window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QString::fromStdString(title_));
}

void TApplication::SetTitle(const std::string& title)
{
    title_ = title;
    if (QApplication::instance() != nullptr)
        QApplication::setApplicationName(QString::fromStdString(title));
}

std::string TApplication::ExeName() const
{
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return path.string();
    return argc_ > 0 && argv_ != nullptr && argv_[0] != nullptr ? argv_[0] : std::string();
}

void TApplication::FormCreated(core::TComponent* instance)
{
    if (mainForm_ == nullptr)
        if (auto* form = dynamic_cast<TCustomForm*>(instance))
            mainForm_ = form;
}

void TApplication::Notification(core::TComponent* component, core::TOperation operation)
{
    core::TComponent::Notification(component, operation);
    if (operation == core::TOperation::opRemove && component == mainForm_)
        mainForm_ = nullptr;
}

void TApplication::Run()
{
    Initialize();
    running_ = true;
    if (mainForm_ != nullptr && showMainForm_)
        mainForm_->Show();
    if (!terminated_)
        QApplication::exec();
    running_ = false;
    terminated_ = true;
}

void TApplication::ProcessMessages()
{
    QApplication::processEvents(QEventLoop::AllEvents);
}

void ProcessMessagesUntil(const std::function<bool()>& done)
{
    while (!done() && !(Application != nullptr && Application->Terminated()))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TApplication::Terminate()
{
    terminated_ = true;
    if (QApplication::instance() != nullptr)
        QApplication::quit();
}

void TApplication::HandleException(core::TObject* sender)
{
    try {
        throw;
    } catch (const core::EAbort&) {
        // Abort ends an operation silently.
    } catch (const std::exception& error) {
        if (OnException)
            OnException(sender, error);
        else
            ShowException(error);
    } catch (...) {
        core::Exception error("Neznámá chyba");
        if (OnException)
            OnException(sender, error);
        else
            ShowException(error);
    }
}

void TApplication::ShowException(const std::exception& error)
{
    MessageBox(LastCharacterDot(error.what()), title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    return Dialogs().MessageBox(text, caption, flags);
}

bool TApplication::TakeMessage(TMsg& msg)
{
    const TMsg original = msg;
    bool handled = false;
    try {
        if (OnMessage)
            OnMessage(msg, handled);
        // Every application-events component hears the message, the last created first.
        std::vector<TApplicationEvents*> listeners(events_.rbegin(), events_.rend());
        for (TApplicationEvents* events : listeners) {
            if (std::find(events_.begin(), events_.end(), events) == events_.end())
                continue;
            if (events->DoMessage(msg, handled))
                break;
        }
    } catch (...) {
        HandleException(this);
        return true;
    }
    if (handled)
        return true;
    if (SameMessage(msg, original))
        return false;
    // Changed on the way: the message goes to the window it now names.
    if (msg.hwnd == nullptr)
        return true;
    std::unique_ptr<QEvent> event = EventFromMessage(msg);
    if (event == nullptr)
        return true;
    QPointer<QWidget> target(msg.hwnd);
    if (hook_ != nullptr)
        hook_->Enter(event.get());
    QApplication::sendEvent(target, event.get());
    if (hook_ != nullptr)
        hook_->Leave();
    return true;
}

bool TApplication::DispatchOfferedInput()
{
    return hook_ != nullptr && hook_->DispatchOffered();
}

void TApplication::AddEvents(TApplicationEvents* events)
{
    events_.push_back(events);
}

void TApplication::RemoveEvents(TApplicationEvents* events)
{
    events_.erase(std::remove(events_.begin(), events_.end(), events), events_.end());
}

} // namespace ui
