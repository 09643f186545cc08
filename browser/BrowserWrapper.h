#pragma once
// The windowed control that hosts the web engine: the engine's operations and
// properties, its events with the control as sender, and the engine window kept
// alive across the control's window being taken down and made again.
//
// The engine's window is a window of its own class (EngineWindowClass): its
// procedure runs the commands of the engine's context menus sent as WM_COMMAND.

#include "platform/ui/kernel/WinControl.h"
#include "platform/web/WebBrowser.h"

#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace browser {

class TBrowserWrapper : public ui::TWinControl {
public:
    // The site answers the engine's questions; it must outlive the engine.
    TBrowserWrapper(core::TComponent* owner, web::IWebHostSite* site);
    // The same with a site the control owns (freed after the engine).
    TBrowserWrapper(core::TComponent* owner, std::unique_ptr<web::IWebHostSite> site);
    ~TBrowserWrapper() override;
    std::string ClassName() const override { return "TBrowserWrapper"; }

    web::TWebBrowser& Browser() { return *browser_; }
    const web::TWebBrowser& Browser() const { return *browser_; }

    void Navigate(const std::string& url);
    void Navigate2(const std::string& url, std::uint32_t flags = 0, const std::string& targetFrameName = {},
                   const std::string& postData = {}, const std::string& headers = {});
    // Navigates to the local folder or file of a shell item-ID list (platform/ui/kernel/ShellItems.h);
    // raises EOleError for a list that names none.
    void Navigate2(const std::vector<std::uint8_t>& itemIdList);
    void ExecWB(std::uint32_t commandId, std::uint32_t execOption, const web::TOleVariant& in = {},
                web::TOleVariant* out = nullptr);
    std::int32_t ReadyState() const { return browser_->ReadyState(); }
    std::shared_ptr<web::THTMLDocument> Document() { return browser_->Document(); }
    std::string LocationURL() const { return browser_->LocationURL(); }
    std::string LocationName() const { return browser_->LocationName(); }

    // The engine's window (null while it is kept away from the control).
    QWidget* EngineWindow() const;
    // Takes the control's window down: the engine window is kept, hidden, with its page.
    // While the control is being destroyed the engine simply goes with it.
    virtual void DestroyWnd();
    // Puts the kept engine window back into the control (a new one if it was lost).
    virtual void CreateWnd();
    bool HasKeptWindow() const { return !kept_.isNull(); }

    // The browser's own properties. The engine keeps them (a hosted engine has no bars
    // or frame of its own to show); a change of a bar, the full-screen or theater mode,
    // the status text or the visibility raises the matching event.
    bool AddressBar() const { return browser_->AddressBar; }
    void SetAddressBar(bool value);
    bool FullScreen() const { return browser_->FullScreen; }
    void SetFullScreen(bool value);
    bool MenuBar() const { return browser_->MenuBar; }
    void SetMenuBar(bool value);
    bool Offline() const { return browser_->Offline; }
    void SetOffline(bool value) { browser_->Offline = value; }
    bool RegisterAsBrowser() const { return browser_->RegisterAsBrowser; }
    void SetRegisterAsBrowser(bool value) { browser_->RegisterAsBrowser = value; }
    // False: the engine's window takes no drops.
    bool RegisterAsDropTarget() const { return browser_->RegisterAsDropTarget; }
    void SetRegisterAsDropTarget(bool value) { browser_->RegisterAsDropTarget = value; }
    bool Resizable() const { return browser_->Resizable; }
    void SetResizable(bool value) { browser_->Resizable = value; }
    bool Silent() const { return browser_->Silent; }
    void SetSilent(bool value) { browser_->Silent = value; }
    bool StatusBar() const { return browser_->StatusBar; }
    void SetStatusBar(bool value);
    std::string StatusText() const { return browser_->StatusText(); }
    void SetStatusText(const std::string& text) { browser_->SetStatusText(text); }
    bool TheaterMode() const { return browser_->TheaterMode; }
    void SetTheaterMode(bool value);
    bool ToolBar() const { return browser_->ToolBar; }
    void SetToolBar(bool value);
    // The control and the browser are shown or hidden together.
    void SetVisible(bool visible) override;

    // Browser events (the control is the sender).
    std::function<void(core::TObject*, const std::string& text)> OnStatusTextChange;
    std::function<void(core::TObject*, std::int32_t progress, std::int32_t progressMax)> OnProgressChange;
    std::function<void(core::TObject*, std::int32_t command, bool enable)> OnCommandStateChange;
    core::TNotifyEvent OnDownloadBegin;
    core::TNotifyEvent OnDownloadComplete;
    std::function<void(core::TObject*, const std::string& text)> OnTitleChange;
    std::function<void(core::TObject*, const std::string& property)> OnPropertyChange;
    std::function<void(core::TObject*, const std::string& url, std::uint32_t flags, const std::string& targetFrame,
                       const std::string& postData, const std::string& headers, bool& cancel)>
        OnBeforeNavigate2;
    std::function<void(core::TObject*, bool& cancel)> OnNewWindow2;
    std::function<void(core::TObject*, const std::string& url)> OnNavigateComplete2;
    std::function<void(core::TObject*, const std::string& url)> OnDocumentComplete;
    core::TNotifyEvent OnQuit;
    std::function<void(core::TObject*, bool value)> OnVisible, OnToolBar, OnMenuBar, OnStatusBar, OnFullScreen,
        OnTheaterMode, OnAddressBar, OnWindowSetResizable;
    std::function<void(core::TObject*, std::int32_t value)> OnWindowSetLeft, OnWindowSetTop, OnWindowSetWidth,
        OnWindowSetHeight;
    std::function<void(core::TObject*, bool isChildWindow, bool& cancel)> OnWindowClosing;
    std::function<void(core::TObject*, std::int32_t& cx, std::int32_t& cy)> OnClientToHostWindow;
    std::function<void(core::TObject*, std::int32_t secureLockIcon)> OnSetSecureLockIcon;
    std::function<void(core::TObject*, const std::string& url, const std::string& frame, std::int32_t statusCode,
                       bool& cancel)>
        OnNavigateError;
    core::TNotifyEvent OnPrintTemplateInstantiation;
    core::TNotifyEvent OnPrintTemplateTeardown;
    std::function<void(core::TObject*, std::int32_t page, bool done)> OnUpdatePageStatus;
    std::function<void(core::TObject*, bool impacted)> OnPrivacyImpactedStateChange;
    std::function<void(core::TObject*, bool& cancel, std::uint32_t flags, const std::string& urlContext,
                       const std::string& url)>
        OnNewWindow3;

    static constexpr const char* EngineWindowClass = "KonverzeWebEngine";

protected:
    // The engine's file-download event; a derived control may publish its own in its place.
    virtual void EngineFileDownload(bool activeDocument, bool& cancel) { (void)activeDocument, (void)cancel; }
    // The ambient properties the control's site answers by itself (user mode and the
    // like); DISP_E_MEMBERNOTFOUND for any other.
    virtual web::HRESULT AmbientProperty(std::int32_t dispId, web::TOleVariant& value);

private:
    // Sets one of the browser's flags; a change raises the event.
    void ChangeFlag(bool web::TWebBrowser::*flag, bool value,
                    const std::function<void(core::TObject*, bool)>& event);
    void AttachEngineWindow(QWidget* window);
    void EngineWindowProc(QWidget* window, ui::TMessage& message);
    class EngineContainer;

    std::unique_ptr<web::IWebHostSite> ownedSite_;
    std::unique_ptr<web::TWebBrowser> browser_;
    QPointer<QWidget> kept_;
};

} // namespace browser
