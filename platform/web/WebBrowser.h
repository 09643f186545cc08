#pragma once
// The web engine that the browser control hosts, over Qt WebEngine.
//
// One engine is one page in one window (a QWebEngineView). It navigates, tells
// its ready state for the navigation in hand (0 nothing loaded, 1 loading,
// 3 interactive, 4 complete), gives the current document's object model, runs
// commands (zoom, print, refresh...), raises the browser events, and asks its
// host site (HostSite.h) what to do wherever the host may decide.
//
// The engine's user agent is the web engine's own with the tokens registered in
// the current user's registry (UserAgentTokenKey, one value named by each token)
// added to its platform part, unless the site answers the ambient user agent.

#include "platform/web/HostSite.h"
#include "platform/web/HtmlDocument.h"
#include "platform/web/OleVariant.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace web {

// Navigate flags.
enum : std::uint32_t {
    navOpenInNewWindow = 0x1,
    navNoHistory = 0x2,
    navNoReadFromCache = 0x4,
    navNoWriteToCache = 0x8,
};

enum : std::int32_t {
    READYSTATE_UNINITIALIZED = 0,
    READYSTATE_LOADING = 1,
    READYSTATE_LOADED = 2,
    READYSTATE_INTERACTIVE = 3,
    READYSTATE_COMPLETE = 4,
};

// The commands whose state OnCommandStateChange reports.
enum : std::int32_t {
    CSC_NAVIGATEFORWARD = 1,
    CSC_NAVIGATEBACK = 2,
};

extern const char* const UserAgentTokenKey;

// The engine's user agent with the registered tokens added to its platform part.
std::string ComposeUserAgent(const std::string& engineAgent);

class TWebBrowser {
public:
    // The site may be null (the engine then behaves as by itself) and must outlive the engine.
    explicit TWebBrowser(IWebHostSite* site = nullptr);
    ~TWebBrowser();
    TWebBrowser(const TWebBrowser&) = delete;
    TWebBrowser& operator=(const TWebBrowser&) = delete;

    IWebHostSite* Site() const;
    // The web engine starts when the window is first shown or at the first use
    // that needs a page (a navigation, a command, a script); false until then.
    bool EngineStarted() const;

    // The engine's window. Re-parenting it keeps the page.
    QWidget* Window() const;

    // Starts a navigation and returns; raises EOleError for an address the engine refuses.
    // Post data makes it a POST; headers are "Name: value" lines.
    void Navigate(const std::string& url, std::uint32_t flags = 0, const std::string& targetFrameName = {},
                  const std::string& postData = {}, const std::string& headers = {});
    void Refresh();
    void Stop();
    void GoBack();
    void GoForward();

    std::int32_t ReadyState() const;
    bool Busy() const;
    std::string LocationURL() const;
    std::string LocationName() const;
    // The current document; null before anything was navigated to.
    std::shared_ptr<THTMLDocument> Document();

    // Runs an engine command; raises EOleError when the command fails or is not supported.
    void ExecWB(std::uint32_t commandId, std::uint32_t execOption, const TOleVariant& in = {}, TOleVariant* out = nullptr);
    // The same without raising: the command's result code.
    HRESULT Exec(std::uint32_t commandId, std::uint32_t execOption, const TOleVariant& in, TOleVariant* out);
    HRESULT QueryStatusWB(std::uint32_t commandId) const;
    // Runs a command of the engine's context menus (ContextMenu.h) for the place last
    // clicked; OLECMDERR_E_NOTSUPPORTED for a command the menus do not have.
    HRESULT ExecMenuCommand(std::uint32_t command);
    // Whether a command of the context menus can be done now: at the place clicked
    // while a menu is being asked for there (also while the site builds a menu of its
    // own), else on the page as it stands. The engine's own menu asks the same.
    bool MenuCommandEnabled(std::uint32_t command) const;
    // The engine's own handling of a key before it is delivered: S_OK when it took the key.
    HRESULT TranslateAccelerator(const TKeyMessage& message);

    // The site's ambient property changed: the engine asks it again (download control, user agent).
    void AmbientPropertyChanged(std::int32_t dispId);
    // The download-control and host flags in force for the current page.
    std::uint32_t DownloadControlFlags() const;
    std::uint32_t HostFlags() const;
    std::string UserAgent() const;

    // Runs a script in the page (in a world of its own, sharing the page's document)
    // and waits for its result; raises EOleError on a script error or when the page
    // does not answer within TimeoutMs.
    TOleVariant Evaluate(const std::string& script);
    int ScriptTimeoutMs() const;
    void SetScriptTimeoutMs(int ms);

    // Browser properties the host may set; the engine keeps them.
    bool Silent = false;
    bool Offline = false;
    bool Visible = true;
    bool RegisterAsBrowser = false;
    bool RegisterAsDropTarget = true;
    bool StatusBar = false;
    bool ToolBar = false;
    bool MenuBar = false;
    bool FullScreen = false;
    bool TheaterMode = false;
    bool AddressBar = false;
    bool Resizable = true;
    std::string StatusText() const;
    // Sets the status text; a change raises OnStatusTextChange.
    void SetStatusText(const std::string& text);

    // Browser events.
    std::function<void(const std::string& url, std::uint32_t flags, const std::string& targetFrame,
                       const std::string& postData, const std::string& headers, bool& cancel)>
        OnBeforeNavigate2;
    std::function<void(const std::string& url)> OnNavigateComplete2;
    std::function<void(const std::string& url)> OnDocumentComplete;
    std::function<void(const std::string& url, const std::string& frame, std::int32_t statusCode, bool& cancel)>
        OnNavigateError;
    std::function<void(bool& cancel)> OnNewWindow2;
    std::function<void(std::uint32_t flags, const std::string& urlContext, const std::string& url, bool& cancel)>
        OnNewWindow3;
    std::function<void(bool activeDocument, bool& cancel)> OnFileDownload;
    std::function<void(const std::string& text)> OnTitleChange;
    std::function<void(const std::string& text)> OnStatusTextChange;
    // Going back or forward became possible (enable) or impossible.
    std::function<void(std::int32_t command, bool enable)> OnCommandStateChange;
    std::function<void(std::int32_t progress, std::int32_t progressMax)> OnProgressChange;
    std::function<void()> OnDownloadBegin;
    std::function<void()> OnDownloadComplete;
    std::function<void(bool isChildWindow, bool& cancel)> OnWindowClosing;
    std::function<void()> OnQuit;

    class Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace web
