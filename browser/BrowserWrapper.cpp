#include "browser/BrowserWrapper.h"

#include "platform/core/Exceptions.h"
#include "platform/ui/kernel/ShellItems.h"
#include "platform/ui/kernel/Windows.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace browser {

namespace {

// The hidden window that holds engine windows while their control has none.
QWidget* ParkingWindow()
{
    static QPointer<QWidget> parking;
    if (!parking) {
        parking = new QWidget;
        parking->setObjectName(QStringLiteral("KonverzeBrowserParking"));
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, parking.data(),
                         &QObject::deleteLater);
    }
    return parking;
}

} // namespace

// The control's window. It takes the control's place in the window's tab order and
// stands there for the engine's widgets, which Tab never reaches by themselves: the
// engine makes them at the end of the window's focus chain (again for every page it
// shows in a process of its own), where Tab would come to them after the last
// control and leave them to the first.
// - The focus coming to this window goes on into the engine with its reason, so
//   Tab enters the page at its first element and Shift+Tab at its last.
// - When the page gives the focus away (Tab past its last element, Shift+Tab before
//   its first), it moves on from this window's place to the next or previous control.
// - For a page of another site the engine drops the widget that has the focus for a
//   new one, whenever it gets round to it; the focus that was in the page goes to the
//   new widget, unless it went somewhere else meanwhile.
// Its own focus changes are no entering or leaving of the control: they stay here.
class TBrowserWrapper::EngineContainer : public QWidget {
public:
    EngineContainer()
    {
        setFocusPolicy(Qt::StrongFocus);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        connect(qApp, &QApplication::focusChanged, this, &EngineContainer::FocusChanged);
    }

    // Installed after the control's own filter, so that this one hears the focus first.
    void HearFocusFirst() { installEventFilter(this); }

    // Keeps the engine's widgets, now and whenever it makes new ones, out of Tab's way.
    void Watch(QWidget* engineWindow)
    {
        engine_ = engineWindow;
        engineWindow->installEventFilter(this);
        KeepEngineOutOfTabChain();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (watched == this && (type == QEvent::FocusIn || type == QEvent::FocusOut)) {
            if (type == QEvent::FocusIn && !leaving_)
                EnterEngine(static_cast<QFocusEvent*>(event)->reason());
            return true;
        }
        if (watched != this && (type == QEvent::ChildAdded || type == QEvent::ChildRemoved) && !pending_) {
            // The engine chooses its new focus widget once the child is made.
            pending_ = true;
            QTimer::singleShot(0, this, [this] {
                pending_ = false;
                KeepEngineOutOfTabChain();
                KeepFocusInEngine();
            });
        }
        return QWidget::eventFilter(watched, event);
    }

    bool focusNextPrevChild(bool next) override
    {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || (focus != this && !isAncestorOf(focus)))
            return QWidget::focusNextPrevChild(next);
        leaving_ = true;
        setFocus(Qt::OtherFocusReason);
        QWidget::focusNextPrevChild(next);
        leaving_ = false;
        // No other control to go to: round again through the page.
        if (QApplication::focusWidget() == this)
            EnterEngine(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }

private:
    // A focus that leaves for nowhere is the window's being deactivated or the
    // engine's widget going; the window remembers its focus only in the first case.
    void FocusChanged(QWidget* old, QWidget* now)
    {
        if (now != nullptr)
            focusHere_ = now == this || isAncestorOf(now);
        else if (old != nullptr && isAncestorOf(old))
            QMetaObject::invokeMethod(this, &EngineContainer::KeepFocusInEngine, Qt::QueuedConnection);
    }

    void KeepFocusInEngine()
    {
        if (focusHere_ && window()->focusWidget() == nullptr && isVisible())
            EnterEngine(Qt::OtherFocusReason);
    }

    // The engine's window while it is placed here (not while it is kept away).
    QWidget* EngineWindow() const { return engine_ && engine_->parentWidget() == this ? engine_.data() : nullptr; }

    void EnterEngine(Qt::FocusReason reason)
    {
        QWidget* target = EngineWindow();
        if (target == nullptr)
            return;
        while (target->focusProxy() != nullptr)
            target = target->focusProxy();
        target->setFocus(reason);
    }

    void KeepEngineOutOfTabChain()
    {
        QWidget* window = EngineWindow();
        if (window == nullptr)
            return;
        for (QWidget* widget : window->findChildren<QWidget*>())
            if (widget->focusPolicy() & Qt::TabFocus)
                widget->setFocusPolicy(Qt::ClickFocus);
    }

    QPointer<QWidget> engine_;
    bool focusHere_ = false; // the focus was last seen in the control
    bool leaving_ = false;
    bool pending_ = false;
};

TBrowserWrapper::TBrowserWrapper(core::TComponent* owner, std::unique_ptr<web::IWebHostSite> site)
    : TBrowserWrapper(owner, site.get())
{
    ownedSite_ = std::move(site);
}

TBrowserWrapper::TBrowserWrapper(core::TComponent* owner, web::IWebHostSite* site)
    : TWinControl(owner), browser_(std::make_unique<web::TWebBrowser>(site))
{
    auto* container = new EngineContainer;
    SetWidget(container);
    container->HearFocusFirst();
    AttachEngineWindow(browser_->Window());
    SetBounds(0, 0, 300, 150);

    web::TWebBrowser& b = *browser_;
    b.OnStatusTextChange = [this](const std::string& text) { if (OnStatusTextChange) Fire([&] { OnStatusTextChange(this, text); }); };
    b.OnProgressChange = [this](std::int32_t p, std::int32_t max) { if (OnProgressChange) Fire([&] { OnProgressChange(this, p, max); }); };
    b.OnCommandStateChange = [this](std::int32_t command, bool enable) {
        if (OnCommandStateChange)
            Fire([&] { OnCommandStateChange(this, command, enable); });
    };
    b.OnDownloadBegin = [this] { if (OnDownloadBegin) Fire([&] { OnDownloadBegin(this); }); };
    b.OnDownloadComplete = [this] { if (OnDownloadComplete) Fire([&] { OnDownloadComplete(this); }); };
    b.OnTitleChange = [this](const std::string& text) { if (OnTitleChange) Fire([&] { OnTitleChange(this, text); }); };
    b.OnBeforeNavigate2 = [this](const std::string& url, std::uint32_t flags, const std::string& frame,
                                 const std::string& post, const std::string& headers, bool& cancel) {
        if (OnBeforeNavigate2)
            Fire([&] { OnBeforeNavigate2(this, url, flags, frame, post, headers, cancel); });
    };
    b.OnNewWindow2 = [this](bool& cancel) { if (OnNewWindow2) Fire([&] { OnNewWindow2(this, cancel); }); };
    b.OnNewWindow3 = [this](std::uint32_t flags, const std::string& context, const std::string& url, bool& cancel) {
        if (OnNewWindow3)
            Fire([&] { OnNewWindow3(this, cancel, flags, context, url); });
    };
    b.OnNavigateComplete2 = [this](const std::string& url) { if (OnNavigateComplete2) Fire([&] { OnNavigateComplete2(this, url); }); };
    b.OnDocumentComplete = [this](const std::string& url) { if (OnDocumentComplete) Fire([&] { OnDocumentComplete(this, url); }); };
    b.OnNavigateError = [this](const std::string& url, const std::string& frame, std::int32_t status, bool& cancel) {
        if (OnNavigateError)
            Fire([&] { OnNavigateError(this, url, frame, status, cancel); });
    };
    b.OnWindowClosing = [this](bool child, bool& cancel) { if (OnWindowClosing) Fire([&] { OnWindowClosing(this, child, cancel); }); };
    b.OnQuit = [this] { if (OnQuit) Fire([&] { OnQuit(this); }); };
    b.OnFileDownload = [this](bool active, bool& cancel) { Fire([&] { EngineFileDownload(active, cancel); }); };
}

TBrowserWrapper::~TBrowserWrapper()
{
    // The engine goes first, while the widgets it lives in are still there.
    browser_.reset();
    delete kept_.data();
}

QWidget* TBrowserWrapper::EngineWindow() const
{
    return kept_ ? nullptr : browser_->Window();
}

void TBrowserWrapper::AttachEngineWindow(QWidget* window)
{
    QWidget* container = Widget();
    if (!container || !window)
        return;
    container->layout()->addWidget(window);
    window->setGeometry(0, 0, container->width(), container->height());
    window->show();
    static_cast<EngineContainer*>(container)->Watch(window);
    ui::RegisterWindow(window, EngineWindowClass, [this, window](ui::TMessage& message) {
        EngineWindowProc(window, message);
    });
}

void TBrowserWrapper::EngineWindowProc(QWidget* window, ui::TMessage& message)
{
    if (message.Msg == ui::WM_COMMAND && message.LParam == 0) {
        message.Result = browser_->ExecMenuCommand(ui::LoWord(message.WParam)) == web::S_OK ? 0 : 1;
        return;
    }
    ui::DefWindowProc(window, message);
}

web::HRESULT TBrowserWrapper::AmbientProperty(std::int32_t dispId, web::TOleVariant& value)
{
    constexpr std::int32_t DISPID_AMBIENT_USERMODE = -709;
    constexpr std::int32_t DISPID_AMBIENT_UIDEAD = -710;
    constexpr std::int32_t DISPID_AMBIENT_SHOWGRABHANDLES = -711;
    constexpr std::int32_t DISPID_AMBIENT_SHOWHATCHING = -712;
    switch (dispId) {
    case DISPID_AMBIENT_USERMODE: value = !HasState(core::csDesigning); return web::S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING: value = false; return web::S_OK;
    default: return web::DISP_E_MEMBERNOTFOUND;
    }
}

void TBrowserWrapper::DestroyWnd()
{
    if (HasState(core::csDestroying) || kept_)
        return;
    QWidget* window = browser_->Window();
    if (Widget())
        Widget()->layout()->removeWidget(window);
    window->hide();
    window->setParent(ParkingWindow());
    kept_ = window;
}

void TBrowserWrapper::CreateWnd()
{
    // A kept window that is gone meanwhile is replaced by a new one showing the same page.
    QWidget* window = kept_ ? kept_.data() : browser_->Window();
    kept_ = nullptr;
    if (window->parentWidget() == Widget())
        return;
    AttachEngineWindow(window);
}

void TBrowserWrapper::ChangeFlag(bool web::TWebBrowser::*flag, bool value,
                                 const std::function<void(core::TObject*, bool)>& event)
{
    if ((*browser_).*flag == value)
        return;
    (*browser_).*flag = value;
    if (event)
        Fire([&] { event(this, value); });
}

void TBrowserWrapper::SetAddressBar(bool value)
{
    ChangeFlag(&web::TWebBrowser::AddressBar, value, OnAddressBar);
}

void TBrowserWrapper::SetFullScreen(bool value)
{
    ChangeFlag(&web::TWebBrowser::FullScreen, value, OnFullScreen);
}

void TBrowserWrapper::SetMenuBar(bool value)
{
    ChangeFlag(&web::TWebBrowser::MenuBar, value, OnMenuBar);
}

void TBrowserWrapper::SetStatusBar(bool value)
{
    ChangeFlag(&web::TWebBrowser::StatusBar, value, OnStatusBar);
}

void TBrowserWrapper::SetTheaterMode(bool value)
{
    ChangeFlag(&web::TWebBrowser::TheaterMode, value, OnTheaterMode);
}

void TBrowserWrapper::SetToolBar(bool value)
{
    ChangeFlag(&web::TWebBrowser::ToolBar, value, OnToolBar);
}

void TBrowserWrapper::SetVisible(bool visible)
{
    TWinControl::SetVisible(visible);
    ChangeFlag(&web::TWebBrowser::Visible, visible, OnVisible);
}

void TBrowserWrapper::Navigate(const std::string& url)
{
    browser_->Navigate(url);
}

void TBrowserWrapper::Navigate2(const std::string& url, std::uint32_t flags, const std::string& targetFrameName,
                                const std::string& postData, const std::string& headers)
{
    browser_->Navigate(url, flags, targetFrameName, postData, headers);
}

void TBrowserWrapper::Navigate2(const std::vector<std::uint8_t>& itemIdList)
{
    const auto path = ui::PathFromItemIDList(itemIdList);
    if (!path)
        throw core::EOleError("Seznam položek neurčuje žádnou místní složku ani soubor.");
    browser_->Navigate(QUrl::fromLocalFile(QString::fromStdString(*path)).toString().toStdString());
}

void TBrowserWrapper::ExecWB(std::uint32_t commandId, std::uint32_t execOption, const web::TOleVariant& in,
                             web::TOleVariant* out)
{
    browser_->ExecWB(commandId, execOption, in, out);
}

} // namespace browser
