#include "platform/web/WebBrowserImpl.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Registry.h"
#include "platform/web/DocumentContext.h"

#include <QAction>
#include <QEventLoop>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHttpRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include <algorithm>
#include <cmath>

namespace web {

const char* const UserAgentTokenKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\User Agent\\Post Platform";

namespace {

// The page tells the engine that its document is ready (DOMContentLoaded) through this console text.
const QString ReadyMarker = QStringLiteral("\x01konverze-document-ready");

// The engine's own user agent, taken before any token was added to it.
const std::string& EngineUserAgent()
{
    static const std::string agent = QWebEngineProfile::defaultProfile()->httpUserAgent().toStdString();
    return agent;
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

TOleVariant FromQVariant(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool();
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt: return static_cast<std::int32_t>(value.toLongLong());
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (std::nearbyint(d) == d && std::fabs(d) <= 2147483647.0)
            return static_cast<std::int32_t>(d);
        return d;
    }
    case QMetaType::UnknownType: return {};
    default: return value.toString().toStdString();
    }
}

} // namespace

std::string ComposeUserAgent(const std::string& engineAgent)
{
    std::vector<std::string> tokens;
    try {
        core::TRegistry registry;
        if (registry.OpenKeyReadOnly(UserAgentTokenKey)) {
            core::TStringList names;
            registry.GetValueNames(names);
            // A header carries printable ASCII only: other tokens stay registered but are not sent.
            auto printable = [](const std::string& text) {
                return std::all_of(text.begin(), text.end(), [](unsigned char c) { return c >= 0x20 && c < 0x7F; });
            };
            for (int i = 0; i < names.Count(); ++i)
                if (const std::string token = Trim(names[i]); !token.empty() && printable(token))
                    tokens.push_back(token);
        }
    } catch (const core::Exception&) {
        // A registry that cannot be read adds no tokens.
    }
    if (tokens.empty())
        return engineAgent;
    std::string added;
    for (const auto& token : tokens)
        added += "; " + token;
    // Into the platform part, the first parenthesis; without one, at the end.
    const auto close = engineAgent.find(')');
    if (close == std::string::npos)
        return engineAgent + " (" + added.substr(2) + ")";
    return engineAgent.substr(0, close) + added + engineAgent.substr(close);
}

// ---------------------------------------------------------------------------------------------

TWebBrowser::Impl::Impl(TWebBrowser& owner, IWebHostSite* site)
    : owner_(owner), site_(site), link_(std::make_shared<TEngineLink>())
{
    link_->engine = this;
    // The site is asked first at the first navigation: a site that makes its engine
    // in its own constructor is not ready to answer before that.
}

std::unique_ptr<EnginePage> TWebBrowser::Impl::MakePage()
{
    EngineUserAgent(); // taken before any engine changes the profile's agent
    auto page = std::make_unique<EnginePage>(*this, QWebEngineProfile::defaultProfile());

    QWebEngineScript ready;
    ready.setName(QStringLiteral("konverze-ready-state"));
    ready.setInjectionPoint(QWebEngineScript::DocumentReady);
    ready.setWorldId(QWebEngineScript::ApplicationWorld);
    ready.setRunsOnSubFrames(false);
    ready.setSourceCode(QStringLiteral("console.debug(%1);").arg("'" + ReadyMarker + "'"));
    page->scripts().insert(ready);
    Connect(page.get());
    return page;
}

void TWebBrowser::Impl::PageMade(EnginePage* page)
{
    ApplySiteSettings();
    if (view_)
        view_->setPage(page);
}

TWebBrowser::Impl::~Impl()
{
    link_->engine = nullptr;
    // Nothing the page does while it goes may reach the site or the events any more.
    if (page_.Made()) {
        QObject::disconnect(page_.get(), nullptr, this, nullptr);
        QObject::disconnect(page_->profile(), nullptr, this, nullptr);
    }
    // The view does not own the page: free the view first, then the page.
    delete view_.data();
    page_.reset();
}

void TWebBrowser::Impl::Connect(QWebEnginePage* page)
{
    connect(page, &QWebEnginePage::loadStarted, this, [this] { LoadStarted(); });
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) { LoadFinished(ok); });
    connect(page, &QWebEnginePage::urlChanged, this, [this] {
        if (loading_)
            ++generation_; // the navigation has reached another document
    });
    connect(page, &QWebEnginePage::loadProgress, this, [this](int progress) {
        if (owner_.OnProgressChange)
            owner_.OnProgressChange(progress, 100);
    });
    connect(page, &QWebEnginePage::titleChanged, this, [this](const QString& title) {
        if (owner_.OnTitleChange)
            owner_.OnTitleChange(title.toStdString());
    });
    connect(page, &QWebEnginePage::linkHovered, this,
            [this](const QString& url) { owner_.SetStatusText(url.toStdString()); });
    connect(page, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) { NewWindow(request); });
    connect(page, &QWebEnginePage::windowCloseRequested, this, [this] {
        bool cancel = false;
        if (owner_.OnWindowClosing)
            owner_.OnWindowClosing(false, cancel);
        if (!cancel && owner_.OnQuit)
            owner_.OnQuit();
    });
    connect(page, &QWebEnginePage::geometryChangeRequested, this, [this](const QRect& geometry) {
        if (!site_ || !view_)
            return;
        if (geometry.topLeft() != view_->geometry().topLeft())
            site_->MoveTo(geometry.x(), geometry.y());
        if (geometry.size() != view_->size())
            site_->ResizeTo(geometry.width(), geometry.height());
    });
    // Back and forward: the history tells when either becomes possible or impossible.
    for (const auto& [action, command] : {std::pair{QWebEnginePage::Back, CSC_NAVIGATEBACK},
                                          std::pair{QWebEnginePage::Forward, CSC_NAVIGATEFORWARD}}) {
        QAction* state = page->action(action);
        connect(state, &QAction::changed, this, [this, state, command, enabled = state->isEnabled()]() mutable {
            if (state->isEnabled() == enabled)
                return;
            enabled = state->isEnabled();
            if (owner_.OnCommandStateChange)
                owner_.OnCommandStateChange(command, enabled);
        });
    }
    connect(page->profile(), &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest* download) {
                if (download->page() == page_.get())
                    Download(download);
            });
}

QWidget* TWebBrowser::Impl::Window()
{
    if (!view_) {
        // Made on first use, and again if a parent widget took the old one with it.
        view_ = new EngineView(*this);
        if (page_.Made())
            view_->setPage(page_.get());
        view_->setContextMenuPolicy(Qt::DefaultContextMenu);
    }
    return view_;
}

void TWebBrowser::Impl::ApplySiteSettings()
{
    std::uint32_t download = DefaultDownloadControl;
    std::uint32_t host = 0;
    std::string agent;
    if (site_) {
        TOleVariant value;
        if (core::Succeeded(site_->GetAmbientProperty(DISPID_AMBIENT_DLCONTROL, value)) && !value.IsEmpty())
            download = static_cast<std::uint32_t>(value.AsInteger());
        TDocHostUIInfo info;
        info.cbSize = sizeof(TDocHostUIInfo);
        if (core::Succeeded(site_->GetHostInfo(info)))
            host = info.dwFlags;
        TOleVariant agentValue;
        if (core::Succeeded(site_->GetAmbientProperty(DISPID_AMBIENT_USERAGENT, agentValue)) && agentValue.IsString())
            agent = agentValue.AsString();
    }
    downloadFlags_ = download;
    hostFlags_ = host;
    // Before the engine has started, the rest waits for its page (PageMade).
    if (!page_.Made())
        return;
    userAgent_ = agent.empty() ? ComposeUserAgent(EngineUserAgent()) : agent;

    QWebEngineSettings* settings = page_->settings();
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, (download & DLCTL_DLIMAGES) != 0);
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, (download & DLCTL_NO_SCRIPTS) == 0);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, (download & DLCTL_VIDEOS) == 0);
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, (host & DOCHOSTUIFLAG_SCROLL_NO) == 0);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls,
                           (host & DOCHOSTUIFLAG_LOCAL_MACHINE_ACCESS_CHECK) == 0);
    QWebEngineProfile* profile = page_->profile();
    if (profile->httpUserAgent().toStdString() != userAgent_)
        profile->setHttpUserAgent(QString::fromStdString(userAgent_));
}

void TWebBrowser::Impl::Navigate(const std::string& url, std::uint32_t flags, const std::string& postData,
                                 const std::string& headers)
{
    (void)flags; // history and cache flags: the engine keeps its own history and cache
    QUrl address(QString::fromStdString(url));
    if (address.isRelative() && !url.empty())
        address = QUrl::fromUserInput(QString::fromStdString(url));
    if (url.empty() || !address.isValid())
        throw core::EOleError("Adresu nelze otevřít: " + url);
    {
        const std::shared_ptr<TEngineLink> link = link_;
        TakeProxyChange();
        if (!link->engine)
            throw core::EOleError("Prohlížeč stránky už neexistuje.");
    }
    ApplySiteSettings();

    if (loading_ && !page_->isLoading()) {
        loading_ = false;
        ++staleEnds_;
    }
    // A jump within the page that is shown starts no load.
    const QUrl current = page_->url();
    const bool samePage = everNavigated_ && !loading_ && address.hasFragment() && postData.empty()
        && address.adjusted(QUrl::RemoveFragment) == current.adjusted(QUrl::RemoveFragment);
    requested_ = !samePage;
    if (!samePage) {
        interactive_ = false;
        ++generation_; // the shown document is on its way out
    }
    everNavigated_ = true;
    if (!document_)
        Document();

    QWebEngineHttpRequest request(address);
    if (!postData.empty()) {
        request.setMethod(QWebEngineHttpRequest::Post);
        request.setPostData(QByteArray::fromStdString(postData));
    }
    for (const QString& line : QString::fromStdString(headers).split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts)) {
        const int colon = line.indexOf(':');
        if (colon > 0)
            request.setHeader(line.left(colon).trimmed().toUtf8(), line.mid(colon + 1).trimmed().toUtf8());
    }
    Window(); // a page needs its view to lay out and finish loading
    page_->load(request);
}

std::int32_t TWebBrowser::Impl::ReadyState() const
{
    if (!everNavigated_)
        return READYSTATE_UNINITIALIZED;
    if (requested_ || loading_)
        return interactive_ ? READYSTATE_INTERACTIVE : READYSTATE_LOADING;
    return READYSTATE_COMPLETE;
}

std::shared_ptr<THTMLDocument> TWebBrowser::Impl::Document()
{
    if (!everNavigated_)
        return nullptr;
    if (!document_ || !document_->IsCurrent()) {
        auto context = std::make_shared<TDocumentContext>();
        context->link = link_;
        context->generation = generation_;
        document_ = std::make_shared<THTMLDocument>(context);
    }
    return document_;
}

void TWebBrowser::Impl::LoadStarted()
{
    requested_ = false;
    loading_ = true;
    interactive_ = false;
    ++generation_; // from here on the objects of the old document refuse to work
    everNavigated_ = true;
    if (owner_.OnDownloadBegin)
        owner_.OnDownloadBegin();
}

void TWebBrowser::Impl::LoadFinished(bool ok)
{
    if (staleEnds_ > 0) {
        // The end of a load that a later navigation has taken over from.
        --staleEnds_;
        if (owner_.OnDownloadComplete)
            owner_.OnDownloadComplete();
        return;
    }
    loading_ = false;
    requested_ = false;
    const std::string url = page_->url().toString().toStdString();
    if (owner_.OnDownloadComplete)
        owner_.OnDownloadComplete();
    if (!ok && owner_.OnNavigateError) {
        bool cancel = false;
        owner_.OnNavigateError(url, {}, 0, cancel);
    }
    ApplyZoom();
    if (owner_.OnNavigateComplete2)
        owner_.OnNavigateComplete2(url);
    // The command status, once for every page (a site applies its text size here).
    if (site_ && queriedGeneration_ != generation_) {
        queriedGeneration_ = generation_;
        site_->QueryStatus();
    }
    if (owner_.OnDocumentComplete)
        owner_.OnDocumentComplete(url);
}

bool TWebBrowser::Impl::BeforeNavigation(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame)
{
    std::string target = url.toString().toStdString();
    if (isMainFrame && site_ && type == QWebEnginePage::NavigationTypeReload) {
        // A refresh the site takes over does not happen.
        TOleVariant out;
        if (site_->Exec(TCommandGroup::DocHostCommandHandler, CMD_HOST_REFRESH, OLECMDEXECOPT_DODEFAULT, {}, out) == S_OK)
            return false;
    }
    if (isMainFrame && site_ && type != QWebEnginePage::NavigationTypeReload) {
        std::string translated;
        if (site_->TranslateUrl(0, target, translated) == S_OK && !translated.empty() && translated != target) {
            QTimer::singleShot(0, this, [this, translated] { Navigate(translated, 0, {}, {}); });
            return false;
        }
    }
    // A link or a script of the page leaves it while the engine has not yet
    // taken a proxy change: that request would still go the old way, so it is
    // made again as a navigation of ours, which hands the engine the change
    // first. Form posts, reloads, history steps and redirects go as they are:
    // made again they would lose their data or their place in the history.
    if (isMainFrame && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
        && ProxyChangePending()
        && (type == QWebEnginePage::NavigationTypeLinkClicked || type == QWebEnginePage::NavigationTypeOther)) {
        QTimer::singleShot(0, this, [this, target] { Navigate(target, 0, {}, {}); });
        return false;
    }
    bool cancel = false;
    if (owner_.OnBeforeNavigate2)
        owner_.OnBeforeNavigate2(target, 0, isMainFrame ? std::string() : std::string("frame"), {}, {}, cancel);
    if (cancel) {
        if (isMainFrame && !loading_)
            requested_ = false;
        return false;
    }
    if (isMainFrame) {
        // The document shown is about to be left (a jump inside it leaves nothing).
        const QUrl current = page_->url();
        const bool leaving = !current.isEmpty()
            && (type == QWebEnginePage::NavigationTypeReload
                || url.adjusted(QUrl::RemoveFragment) != current.adjusted(QUrl::RemoveFragment));
        if (leaving && site_) {
            TOleVariant out;
            site_->Exec(TCommandGroup::Explorer, CMD_EXPLORER_UNLOAD, OLECMDEXECOPT_DODEFAULT, {}, out);
        }
        ApplySiteSettings();
    }
    return true;
}

void TWebBrowser::Impl::ConsoleMessage(QWebEnginePage::JavaScriptConsoleMessageLevel level, const QString& message,
                                       int line, const QString& source)
{
    if (message == ReadyMarker) {
        if (loading_)
            interactive_ = true;
        return;
    }
    if (level != QWebEnginePage::ErrorMessageLevel || !message.startsWith(QStringLiteral("Uncaught")) || !site_)
        return;
    // An uncaught script error: the site may report it, reading it as the window's event.
    currentEvent_ = std::make_shared<THTMLEventObj>(std::map<std::string, TOleVariant>{
        {"errorLine", TOleVariant(static_cast<std::int32_t>(line))},
        {"errorCharacter", TOleVariant(std::int32_t(0))},
        {"errorCode", TOleVariant(std::int32_t(0))},
        {"errorMessage", TOleVariant(message.toStdString())},
        {"errorUrl", TOleVariant(source.toStdString())},
    });
    TOleVariant out;
    try {
        site_->Exec(TCommandGroup::DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, OLECMDEXECOPT_DODEFAULT, {}, out);
    } catch (...) {
        // A site's failure is no reason to stop the page.
    }
    currentEvent_.reset();
}

// The caller waits for the page's answer in a local event loop, so that the
// object model can be read synchronously as the application expects. This is
// safe against re-entry because:
// - the loop takes no user input: no click or key press runs program code while
//   a caller waits in the middle of its own work;
// - the answer goes into state shared with the callback, never into this engine
//   or the loop, so an answer that comes after the time limit (or after the
//   engine has gone) touches nothing that is freed;
// - a nested wait (a timer handler reading the page during an outer wait) has
//   its own loop and state and ends before the outer one can return;
// - the engine is checked again after the wait: if it was freed meanwhile, the
//   caller gets an error instead of a dangling engine.
QVariant TWebBrowser::Impl::RunAndWait(const QString& script)
{
    struct Answer {
        QVariant value;
        bool done = false;
        QPointer<QEventLoop> loop;
    };
    auto answer = std::make_shared<Answer>();
    const std::shared_ptr<TEngineLink> link = link_;
    page_->runJavaScript(script, QWebEngineScript::ApplicationWorld, [answer](const QVariant& value) {
        answer->value = value;
        answer->done = true;
        if (answer->loop)
            answer->loop->quit();
    });
    if (!answer->done) {
        QEventLoop wait;
        answer->loop = &wait;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &wait, &QEventLoop::quit);
        QObject::connect(page_.get(), &QObject::destroyed, &wait, &QEventLoop::quit);
        deadline.start(scriptTimeoutMs_);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
        answer->loop = nullptr;
    }
    if (!link->engine)
        throw core::EOleError("Prohlížeč stránky už neexistuje.");
    if (!answer->done)
        throw core::EOleError("Stránka neodpověděla včas.");
    return answer->value;
}

TOleVariant TWebBrowser::Impl::Evaluate(const QString& script)
{
    return FromQVariant(RunAndWait(script));
}

QVariant TWebBrowser::Impl::RunDomScript(const QString& script)
{
    const std::uint64_t generation = generation_;
    const QVariant value = RunAndWait(script);
    if (generation != generation_)
        throw core::EOleError("Prohlížeč mezitím načetl jinou stránku.");
    if (!value.isValid())
        throw core::EOleError("Stránka nedovolila přístup ke svému obsahu.");
    return value;
}

// ---------------------------------------------------------------------------------------------

TWebBrowser::TWebBrowser(IWebHostSite* site) : impl_(std::make_unique<Impl>(*this, site)) {}

TWebBrowser::~TWebBrowser() = default;

IWebHostSite* TWebBrowser::Site() const
{
    return impl_->site_;
}

QWidget* TWebBrowser::Window() const
{
    return impl_->Window();
}

void TWebBrowser::Navigate(const std::string& url, std::uint32_t flags, const std::string& targetFrameName,
                           const std::string& postData, const std::string& headers)
{
    (void)targetFrameName; // one window, no frames of our own to aim at
    if (flags & navOpenInNewWindow) {
        bool cancel = false;
        if (OnNewWindow2)
            OnNewWindow2(cancel);
        if (cancel)
            return;
    }
    impl_->Navigate(url, flags, postData, headers);
}

void TWebBrowser::Refresh()
{
    impl_->page_->triggerAction(QWebEnginePage::Reload);
}

void TWebBrowser::Stop()
{
    impl_->page_->triggerAction(QWebEnginePage::Stop);
}

void TWebBrowser::GoBack()
{
    impl_->page_->triggerAction(QWebEnginePage::Back);
}

void TWebBrowser::GoForward()
{
    impl_->page_->triggerAction(QWebEnginePage::Forward);
}

std::int32_t TWebBrowser::ReadyState() const
{
    return impl_->ReadyState();
}

bool TWebBrowser::Busy() const
{
    return impl_->requested_ || impl_->loading_;
}

std::string TWebBrowser::LocationURL() const
{
    return impl_->page_.Made() ? impl_->page_->url().toString().toStdString() : std::string();
}

std::string TWebBrowser::LocationName() const
{
    return impl_->page_.Made() ? impl_->page_->title().toStdString() : std::string();
}

bool TWebBrowser::EngineStarted() const
{
    return impl_->page_.Made();
}

std::shared_ptr<THTMLDocument> TWebBrowser::Document()
{
    return impl_->Document();
}

void TWebBrowser::ExecWB(std::uint32_t commandId, std::uint32_t execOption, const TOleVariant& in, TOleVariant* out)
{
    const HRESULT result = impl_->Exec(commandId, execOption, in, out);
    if (core::Failed(result)) {
        char code[16];
        std::snprintf(code, sizeof code, "%08X", static_cast<std::uint32_t>(result));
        throw core::EOleError("Příkaz prohlížeče " + std::to_string(commandId) + " selhal (chyba " + code + ").");
    }
}

HRESULT TWebBrowser::Exec(std::uint32_t commandId, std::uint32_t execOption, const TOleVariant& in, TOleVariant* out)
{
    return impl_->Exec(commandId, execOption, in, out);
}

HRESULT TWebBrowser::QueryStatusWB(std::uint32_t commandId) const
{
    return impl_->QueryStatus(commandId);
}

HRESULT TWebBrowser::ExecMenuCommand(std::uint32_t command)
{
    return impl_->ExecMenuCommand(command);
}

bool TWebBrowser::MenuCommandEnabled(std::uint32_t command) const
{
    return impl_->MenuCommandEnabled(command);
}

HRESULT TWebBrowser::TranslateAccelerator(const TKeyMessage& message)
{
    // The engine has no accelerators beyond what its window does with a key
    // (and what the site filters there): a key is handled when it is delivered.
    (void)message;
    return S_FALSE;
}

void TWebBrowser::AmbientPropertyChanged(std::int32_t dispId)
{
    (void)dispId; // every ambient property the engine uses is asked again
    impl_->ApplySiteSettings();
}

std::uint32_t TWebBrowser::DownloadControlFlags() const
{
    return impl_->downloadFlags_;
}

std::uint32_t TWebBrowser::HostFlags() const
{
    return impl_->hostFlags_;
}

std::string TWebBrowser::UserAgent() const
{
    impl_->page_.get(); // the engine's own agent is known once it runs
    return impl_->userAgent_;
}

TOleVariant TWebBrowser::Evaluate(const std::string& script)
{
    return impl_->Evaluate(QString::fromStdString(script));
}

int TWebBrowser::ScriptTimeoutMs() const
{
    return impl_->scriptTimeoutMs_;
}

void TWebBrowser::SetScriptTimeoutMs(int ms)
{
    impl_->scriptTimeoutMs_ = ms > 0 ? ms : 1;
}

std::string TWebBrowser::StatusText() const
{
    return impl_->statusText_;
}

void TWebBrowser::SetStatusText(const std::string& text)
{
    if (impl_->statusText_ == text)
        return;
    impl_->statusText_ = text;
    if (OnStatusTextChange)
        OnStatusTextChange(text);
}

} // namespace web
