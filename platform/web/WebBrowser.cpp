#include "platform/web/WebBrowser.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Registry.h"
#include "platform/web/ContextMenu.h"
#include "platform/web/DocumentContext.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHttpRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>
#include <array>
#include <cmath>

namespace web {

const char* const UserAgentTokenKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\User Agent\\Post Platform";

namespace {

// Text-size steps 0 (smallest) to 4 (largest), 2 being the normal size, as page zoom factors.
constexpr std::array<double, 5> TextSizeZoom{0.6, 0.8, 1.0, 1.2, 1.5};
constexpr int TextSizeMin = 0;
constexpr int TextSizeMax = 4;
constexpr int OpticalZoomMin = 10;
constexpr int OpticalZoomMax = 1000;
constexpr std::int32_t PackRange(int low, int high)
{
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(high) << 16) | static_cast<std::uint32_t>(low));
}

// The page tells the engine that its document is ready (DOMContentLoaded) through this console text.
const QString ReadyMarker = QStringLiteral("\x01konverze-document-ready");

// The caption of the engine's own script dialogs.
const char* const ScriptDialogCaption = "Zpráva z webové stránky";

// New-window flags given to the site and the events.
constexpr std::uint32_t NWMF_USERINITED = 0x2;
constexpr std::uint32_t NWMF_FIRST = 0x4;

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

std::uint32_t VirtualKey(const QKeyEvent& event)
{
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<std::uint32_t>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + static_cast<std::uint32_t>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    default: return 0;
    }
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

class EnginePage;
class EngineView;

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
    bool ContextMenu(QContextMenuEvent* event, QWebEngineContextMenuRequest* request);
    bool Key(QKeyEvent* event);
    bool Drag(QObject* watched, QEvent* event);
    HRESULT ExecMenuCommand(std::uint32_t command);

    TWebBrowser& owner_;
    IWebHostSite* site_;
    std::shared_ptr<TEngineLink> link_;
    std::unique_ptr<EnginePage> page_;
    QPointer<EngineView> view_;
    std::shared_ptr<THTMLDocument> document_;
    std::shared_ptr<THTMLEventObj> currentEvent_;

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
    void Connect();
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
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        if (!engine_.ContextMenu(event, lastContextMenuRequest()))
            QWebEngineView::contextMenuEvent(event);
    }
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

TWebBrowser::Impl::Impl(TWebBrowser& owner, IWebHostSite* site)
    : owner_(owner), site_(site), link_(std::make_shared<TEngineLink>())
{
    link_->engine = this;
    EngineUserAgent(); // taken before any engine changes the profile's agent
    page_ = std::make_unique<EnginePage>(*this, QWebEngineProfile::defaultProfile());

    QWebEngineScript ready;
    ready.setName(QStringLiteral("konverze-ready-state"));
    ready.setInjectionPoint(QWebEngineScript::DocumentReady);
    ready.setWorldId(QWebEngineScript::ApplicationWorld);
    ready.setRunsOnSubFrames(false);
    ready.setSourceCode(QStringLiteral("console.debug(%1);").arg("'" + ReadyMarker + "'"));
    page_->scripts().insert(ready);

    Connect();
    // The site is asked first at the first navigation: a site that makes its engine
    // in its own constructor is not ready to answer before that.
}

TWebBrowser::Impl::~Impl()
{
    link_->engine = nullptr;
    // Nothing the page does while it goes may reach the site or the events any more.
    QObject::disconnect(page_.get(), nullptr, this, nullptr);
    QObject::disconnect(page_->profile(), nullptr, this, nullptr);
    // The view does not own the page: free the view first, then the page.
    delete view_.data();
    page_.reset();
}

void TWebBrowser::Impl::Connect()
{
    QWebEnginePage* page = page_.get();
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

bool TWebBrowser::Impl::ScriptAlert(const QString& text)
{
    std::int32_t result = IDOK;
    return site_ && site_->ShowMessage(text.toStdString(), ScriptDialogCaption, MB_OK | MB_ICONWARNING, result) == S_OK;
}

int TWebBrowser::Impl::ScriptConfirm(const QString& text)
{
    std::int32_t result = IDCANCEL;
    if (!site_ || site_->ShowMessage(text.toStdString(), ScriptDialogCaption, MB_OKCANCEL | MB_ICONQUESTION, result) != S_OK)
        return -1;
    return result == IDOK ? 1 : 0;
}

// The engine's own dialogs belong to its window, so its host can tell them from
// dialogs of its own. They are made on the heap: the window may go (and take them
// along) while they wait for the user.
void TWebBrowser::Impl::OwnAlert(const QString& text)
{
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Warning, QString::fromUtf8(ScriptDialogCaption), text,
                                                QMessageBox::Ok, Window());
    box->setTextFormat(Qt::PlainText);
    box->exec();
    delete box.data();
}

bool TWebBrowser::Impl::OwnConfirm(const QString& text)
{
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Question, QString::fromUtf8(ScriptDialogCaption), text,
                                                QMessageBox::Ok | QMessageBox::Cancel, Window());
    box->setTextFormat(Qt::PlainText);
    const int answer = box->exec();
    delete box.data();
    return answer == QMessageBox::Ok;
}

bool TWebBrowser::Impl::ContextMenu(QContextMenuEvent* event, QWebEngineContextMenuRequest* request)
{
    if (!site_)
        return false;
    std::uint32_t kind = CONTEXT_MENU_DEFAULT;
    if (request) {
        if (request->mediaType() == QWebEngineContextMenuRequest::MediaTypeImage)
            kind = CONTEXT_MENU_IMAGE;
        else if (request->isContentEditable())
            kind = CONTEXT_MENU_CONTROL;
        else if (!request->selectedText().isEmpty())
            kind = CONTEXT_MENU_TEXTSELECT;
        else if (request->linkUrl().isValid())
            kind = CONTEXT_MENU_ANCHOR;
    }
    const QPoint global = event->globalPos();
    return site_->ShowContextMenu(kind, TPoint{global.x(), global.y()}) == S_OK;
}

bool TWebBrowser::Impl::Key(QKeyEvent* event)
{
    if (!site_)
        return false;
    TKeyMessage message;
    message.VirtualKey = VirtualKey(*event);
    if (message.VirtualKey == 0)
        return false;
    const auto modifiers = event->modifiers();
    message.Shift = modifiers & Qt::ShiftModifier;
    message.Ctrl = modifiers & Qt::ControlModifier;
    message.Alt = modifiers & Qt::AltModifier;
    message.Message = message.Alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    if (site_->TranslateAccelerator(message) == S_OK)
        return true;
    // Help for the page: the site shows it, or nothing happens.
    if (message.VirtualKey == VK_F1 && event->type() == QEvent::KeyPress && !message.Shift && !message.Ctrl
        && !message.Alt) {
        const QPoint cursor = QCursor::pos();
        return site_->ShowHelp({}, HELP_CONTEXT, 0, TPoint{cursor.x(), cursor.y()}) == S_OK;
    }
    return false;
}

bool TWebBrowser::Impl::Drag(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::DragLeave && type != QEvent::Drop)
        return false;
    // The view takes the page's drags (the widget that draws the page passes them up to it).
    QWidget* receiver = view_.data();
    if (receiver == nullptr || watched != receiver)
        return false;
    if (type == QEvent::DragLeave) {
        if (site_ && owner_.RegisterAsDropTarget)
            site_->DragLeave();
        return false;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    auto refuse = [drop] {
        drop->setDropAction(Qt::IgnoreAction);
        drop->ignore();
        return true;
    };
    if (!owner_.RegisterAsDropTarget)
        return refuse();
    if (!site_)
        return false;
    std::uint32_t keyState = 0;
    const auto buttons = drop->buttons();
    const auto modifiers = drop->modifiers();
    if (buttons & Qt::LeftButton)
        keyState |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        keyState |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        keyState |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        keyState |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        keyState |= MK_CONTROL;
    if (modifiers & Qt::AltModifier)
        keyState |= MK_ALT;
    const QPoint inView = drop->position().toPoint();
    const TPoint point{inView.x(), inView.y()};
    // The actions of Qt and the drop effects share their bits: copy 1, move 2, link 4.
    std::uint32_t effect = static_cast<std::uint32_t>(drop->possibleActions().toInt()) & 7u;
    HRESULT answer = S_OK;
    if (type == QEvent::DragEnter) {
        answer = site_->DragEnter(drop->mimeData(), keyState, point, effect);
    } else if (type == QEvent::DragMove) {
        answer = site_->DragOver(keyState, point, effect);
    } else {
        const QMimeData* data = drop->mimeData();
        answer = site_->Drop(data != nullptr && !data->formats().isEmpty() ? data : nullptr, keyState, point, effect);
    }
    if (core::Failed(answer) || effect == DROPEFFECT_NONE)
        return refuse();
    return false;
}

HRESULT TWebBrowser::Impl::ExecMenuCommand(std::uint32_t command)
{
    QWebEnginePage::WebAction action;
    switch (command) {
    case IDM_COPY: action = QWebEnginePage::Copy; break;
    case IDM_CUT: action = QWebEnginePage::Cut; break;
    case IDM_PASTE: action = QWebEnginePage::Paste; break;
    case IDM_UNDO: action = QWebEnginePage::Undo; break;
    case IDM_REDO: action = QWebEnginePage::Redo; break;
    case IDM_SELECTALL: action = QWebEnginePage::SelectAll; break;
    case IDM_OPENLINK: action = QWebEnginePage::OpenLinkInThisWindow; break;
    case IDM_OPENINNEWWINDOW: action = QWebEnginePage::OpenLinkInNewWindow; break;
    case IDM_VIEWSOURCE: action = QWebEnginePage::ViewSource; break;
    case IDM_COPYLINK: action = QWebEnginePage::CopyLinkToClipboard; break;
    case IDM_SAVETARGET: action = QWebEnginePage::DownloadLinkToDisk; break;
    case IDM_SAVEPICTURE: action = QWebEnginePage::DownloadImageToDisk; break;
    case IDM_COPYPICTURE: action = QWebEnginePage::CopyImageToClipboard; break;
    case IDM_SAVEPAGE: action = QWebEnginePage::SavePage; break;
    case IDM_BACK: action = QWebEnginePage::Back; break;
    case IDM_FORWARD: action = QWebEnginePage::Forward; break;
    case IDM_REFRESH: action = QWebEnginePage::Reload; break;
    default: return OLECMDERR_E_NOTSUPPORTED;
    }
    page_->triggerAction(action);
    return S_OK;
}

void TWebBrowser::Impl::NewWindow(QWebEngineNewWindowRequest& request)
{
    const std::string url = request.requestedUrl().toString().toStdString();
    const std::string context = page_->url().toString().toStdString();
    const std::uint32_t flags = (request.isUserInitiated() ? NWMF_USERINITED : 0u) | NWMF_FIRST;
    bool cancel = false;
    if (site_) {
        const HRESULT answer = site_->EvaluateNewWindow(url, {}, context, {}, false, flags, 0);
        cancel = answer == S_FALSE || (core::Failed(answer) && answer != E_FAIL);
    }
    if (!cancel && owner_.OnNewWindow3)
        owner_.OnNewWindow3(flags, context, url, cancel);
    if (!cancel && owner_.OnNewWindow2)
        owner_.OnNewWindow2(cancel);
    // The engine has one window: an allowed new window opens in it.
    if (!cancel)
        QTimer::singleShot(0, this, [this, url] { Navigate(url, 0, {}, {}); });
}

void TWebBrowser::Impl::Download(QWebEngineDownloadRequest* download)
{
    bool cancel = false;
    if (owner_.OnFileDownload)
        owner_.OnFileDownload(false, cancel);
    if (!cancel && site_) {
        TDownloadInfo info;
        info.Url = download->url().toString().toStdString();
        info.SuggestedFileName = download->suggestedFileName().toStdString();
        info.MimeType = download->mimeType().toStdString();
        info.TotalBytes = download->totalBytes();
        cancel = site_->Download(info) == S_OK; // the site took it over
    }
    if (cancel) {
        download->cancel();
        return;
    }
    // The engine's own way: into the user's download folder, under a name not yet taken.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    const QFileInfo suggested(download->suggestedFileName().isEmpty() ? QStringLiteral("soubor")
                                                                      : download->suggestedFileName());
    QString name = suggested.fileName();
    for (int n = 1; QFileInfo::exists(folder + "/" + name); ++n)
        name = suggested.completeBaseName() + QStringLiteral(" (%1)").arg(n)
            + (suggested.suffix().isEmpty() ? QString() : "." + suggested.suffix());
    download->setDownloadDirectory(folder);
    download->setDownloadFileName(name);
    download->accept();
}

void TWebBrowser::Impl::ApplyZoom()
{
    const double factor = TextSizeZoom[static_cast<std::size_t>(textSize_)] * opticalZoom_ / 100.0;
    if (std::fabs(page_->zoomFactor() - factor) > 1e-9)
        page_->setZoomFactor(factor);
}

HRESULT TWebBrowser::Impl::QueryStatus(std::uint32_t commandId) const
{
    constexpr HRESULT supportedAndEnabled = 3;
    switch (commandId) {
    case OLECMDID_ZOOM:
    case OLECMDID_GETZOOMRANGE:
    case OLECMDID_OPTICAL_ZOOM:
    case OLECMDID_OPTICAL_GETZOOMRANGE:
    case OLECMDID_REFRESH:
    case OLECMDID_STOP:
    case OLECMDID_SELECTALL:
    case OLECMDID_CLEARSELECTION:
    case OLECMDID_COPY:
    case OLECMDID_PASTE: return everNavigated_ ? supportedAndEnabled : 1;
    default: return 0;
    }
}

HRESULT TWebBrowser::Impl::Exec(std::uint32_t commandId, std::uint32_t execOption, const TOleVariant& in,
                                TOleVariant* out)
{
    (void)execOption; // nothing here asks the user
    if (QueryStatus(commandId) == 0)
        return OLECMDERR_E_NOTSUPPORTED;
    if (!everNavigated_)
        return OLECMDERR_E_DISABLED; // no document: no zoom, no range
    try {
        switch (commandId) {
        case OLECMDID_GETZOOMRANGE:
            if (out)
                *out = TOleVariant(PackRange(TextSizeMin, TextSizeMax));
            return S_OK;
        case OLECMDID_OPTICAL_GETZOOMRANGE:
            if (out)
                *out = TOleVariant(PackRange(OpticalZoomMin, OpticalZoomMax));
            return S_OK;
        case OLECMDID_ZOOM:
            if (!in.IsEmpty()) {
                const std::int32_t size = in.AsInteger();
                if (size < TextSizeMin || size > TextSizeMax)
                    return core::E_INVALIDARG;
                textSize_ = size;
                ApplyZoom();
            }
            if (out)
                *out = TOleVariant(static_cast<std::int32_t>(textSize_));
            return S_OK;
        case OLECMDID_OPTICAL_ZOOM:
            if (!in.IsEmpty()) {
                const std::int32_t percent = in.AsInteger();
                if (percent < OpticalZoomMin || percent > OpticalZoomMax)
                    return core::E_INVALIDARG;
                opticalZoom_ = percent;
                ApplyZoom();
            }
            if (out)
                *out = TOleVariant(static_cast<std::int32_t>(opticalZoom_));
            return S_OK;
        case OLECMDID_REFRESH: page_->triggerAction(QWebEnginePage::Reload); return S_OK;
        case OLECMDID_STOP: page_->triggerAction(QWebEnginePage::Stop); return S_OK;
        case OLECMDID_SELECTALL: page_->triggerAction(QWebEnginePage::SelectAll); return S_OK;
        case OLECMDID_CLEARSELECTION: page_->triggerAction(QWebEnginePage::Unselect); return S_OK;
        case OLECMDID_COPY: page_->triggerAction(QWebEnginePage::Copy); return S_OK;
        case OLECMDID_PASTE: page_->triggerAction(QWebEnginePage::Paste); return S_OK;
        default: return OLECMDERR_E_NOTSUPPORTED;
        }
    } catch (const core::Exception&) {
        return core::E_INVALIDARG;
    }
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
    return impl_->page_->url().toString().toStdString();
}

std::string TWebBrowser::LocationName() const
{
    return impl_->page_->title().toStdString();
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
