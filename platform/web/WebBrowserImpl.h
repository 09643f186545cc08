#pragma once
// The engine behind TWebBrowser, shared by the sources of the web platform and
// by no one else: the state of one browser, and the Qt page and view that
// report to it. WebBrowser.cpp holds its lifecycle, navigation and scripts,
// WebBrowserCommands.cpp its commands and zoom, WebBrowserHostQuestions.cpp what
// it asks its host site (dialogs, menus, keys, drags, new windows, downloads).

#include "platform/web/DocumentContext.h"
#include "platform/web/WebBrowser.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QObject>
#include <QPointer>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineDownloadRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace web {

class EnginePage;
class EngineView;

// The engine's page, made on first use: making the first page starts the web
// engine, which takes most of a second, so a browser that is never shown or
// navigated never pays for it. made runs once the page is in place.
class TEnginePageHolder {
public:
    TEnginePageHolder(std::function<std::unique_ptr<EnginePage>()> make, std::function<void(EnginePage*)> made)
        : make_(std::move(make)), made_(std::move(made))
    {
    }
    ~TEnginePageHolder();
    EnginePage* get() const;
    EnginePage* operator->() const { return get(); }
    bool Made() const noexcept { return page_ != nullptr; }
    void reset();

private:
    std::function<std::unique_ptr<EnginePage>()> make_;
    std::function<void(EnginePage*)> made_;
    mutable std::unique_ptr<EnginePage> page_;
};

class TWebBrowser::Impl : public QObject, public TEngineCore {
public:
    Impl(TWebBrowser& owner, IWebHostSite* site);
    ~Impl() override;

    QWidget* Window();
    void Navigate(const std::string& url, std::uint32_t flags, const std::string& postData, const std::string& headers);
    std::int32_t ReadyState() const;
    std::shared_ptr<THTMLDocument> Document();
    HRESULT Exec(std::uint32_t commandId, std::uint32_t execOption, const TOleVariant& in, TOleVariant* out);
    HRESULT QueryStatus(std::uint32_t commandId) const;
    void ApplySiteSettings();
    TOleVariant Evaluate(const QString& script);
    QVariant RunAndWait(const QString& script);
    // Lets the engine take a change of the process proxy before the next
    // navigation (it would otherwise notice it one request late).
    void TakeProxyChange();
    bool ProxyChangePending() const;

    // TEngineCore
    std::uint64_t Generation() const override { return generation_; }
    QVariant RunDomScript(const QString& script) override;
    std::shared_ptr<THTMLEventObj> CurrentEvent() const override { return currentEvent_; }
    HRESULT ExecCommand(std::uint32_t commandId, std::uint32_t execOption, const TOleVariant& in,
                        TOleVariant* out) override
    {
        return Exec(commandId, execOption, in, out);
    }

    // Called by the page and the view.
    bool BeforeNavigation(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame);
    void ConsoleMessage(QWebEnginePage::JavaScriptConsoleMessageLevel level, const QString& message, int line,
                        const QString& source);
    bool ScriptAlert(const QString& text);
    int ScriptConfirm(const QString& text); // -1: the engine asks itself
    void OwnAlert(const QString& text);
    bool OwnConfirm(const QString& text);
    void ContextMenu(QContextMenuEvent* event, QWebEngineContextMenuRequest* request);
    // The engine's own menu of that kind (ContextMenu.h), for the place clicked.
    void OwnContextMenu(std::uint32_t kind, const QPoint& screenPoint);
    bool MenuCommandEnabled(std::uint32_t command) const;
    bool Key(QKeyEvent* event);
    bool Drag(QObject* watched, QEvent* event);
    HRESULT ExecMenuCommand(std::uint32_t command);

    TWebBrowser& owner_;
    IWebHostSite* site_;
    std::shared_ptr<TEngineLink> link_;
    TEnginePageHolder page_{[this] { return MakePage(); }, [this](EnginePage* page) { PageMade(page); }};
    std::unique_ptr<QWebEnginePage> proxyProbe_; // made at the first proxy change
    QPointer<EngineView> view_;
    std::shared_ptr<THTMLDocument> document_;
    std::shared_ptr<THTMLEventObj> currentEvent_;
    // The place clicked, while its context menu is being asked for.
    const QWebEngineContextMenuRequest* menuPlace_ = nullptr;

    std::uint64_t generation_ = 0;
    bool everNavigated_ = false;
    // Qt reports loading as a state: overlapping navigations give one start and one finish.
    bool requested_ = false; // a navigation was asked for and loading has not started yet
    bool loading_ = false;
    // Ends of loads that the engine had finished but not yet reported when a new
    // navigation was asked for: they say nothing about the new one.
    int staleEnds_ = 0;
    bool interactive_ = false;
    std::uint64_t queriedGeneration_ = 0;

    int textSize_ = 2;
    int opticalZoom_ = 100;
    std::uint32_t downloadFlags_ = DefaultDownloadControl;
    std::uint32_t hostFlags_ = 0;
    std::string userAgent_;
    std::string statusText_;
    int scriptTimeoutMs_ = 10000;

private:
    std::unique_ptr<EnginePage> MakePage();
    void PageMade(EnginePage* page);
    void Connect(QWebEnginePage* page);
    void LoadStarted();
    void LoadFinished(bool ok);
    void NewWindow(QWebEngineNewWindowRequest& request);
    void Download(QWebEngineDownloadRequest* download);
    void ApplyZoom();
};

class EnginePage : public QWebEnginePage {
public:
    EnginePage(TWebBrowser::Impl& engine, QWebEngineProfile* profile) : QWebEnginePage(profile), engine_(engine) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        return engine_.BeforeNavigation(url, type, isMainFrame);
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override
    {
        engine_.ConsoleMessage(level, message, line, source);
    }
    void javaScriptAlert(const QUrl& origin, const QString& text) override
    {
        (void)origin;
        if (!engine_.ScriptAlert(text))
            engine_.OwnAlert(text);
    }
    bool javaScriptConfirm(const QUrl& origin, const QString& text) override
    {
        (void)origin;
        const int answer = engine_.ScriptConfirm(text);
        return answer < 0 ? engine_.OwnConfirm(text) : answer == 1;
    }

private:
    TWebBrowser::Impl& engine_;
};

class EngineView : public QWebEngineView {
public:
    explicit EngineView(TWebBrowser::Impl& engine) : engine_(engine) { installEventFilter(this); }

protected:
    // The engine starts when its window is first shown, if no navigation started it before.
    void showEvent(QShowEvent* event) override
    {
        engine_.page_.get();
        QWebEngineView::showEvent(event);
    }
    // The menu is the site's or the engine's own, never the web engine's (its texts are not Czech).
    void contextMenuEvent(QContextMenuEvent* event) override { engine_.ContextMenu(event, lastContextMenuRequest()); }
    // Keys reach the page through a child widget of the view: watch every child.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded)
            if (auto* child = static_cast<QChildEvent*>(event)->child(); child && child->isWidgetType())
                child->installEventFilter(this);
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
            if (engine_.Key(static_cast<QKeyEvent*>(event))) {
                event->accept();
                return true;
            }
        if (engine_.Drag(watched, event))
            return true;
        return QWebEngineView::eventFilter(watched, event);
    }

private:
    TWebBrowser::Impl& engine_;
};

inline TEnginePageHolder::~TEnginePageHolder() = default;

inline EnginePage* TEnginePageHolder::get() const
{
    if (!page_) {
        page_ = make_();
        made_(page_.get());
    }
    return page_.get();
}

inline void TEnginePageHolder::reset() { page_.reset(); }

} // namespace web
