#pragma once
// The hosted browser control: shows web pages by hosting the web engine and
// answering its host-site questions, with option objects for menus, keys,
// proxy, dialogs, errors, text size, sounds and printing.
//
// Loaded applies the options to the process and the engine (user-agent token,
// proxy, navigation sound, window procedures); destruction undoes all of it.

#include "browser/BrowserWrapper.h"
#include "browser/HostedBrowserOptions.h"
#include "platform/net/Proxy.h"
#include "platform/ui/Application.h"
#include "platform/web/HostSite.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace browser {

class THostedBrowser : public TBrowserWrapper, public web::IWebHostSite {
public:
    explicit THostedBrowser(core::TComponent* owner);
    ~THostedBrowser() override;
    std::string ClassName() const override { return "THostedBrowser"; }

    void Loaded() override;

    // --- published properties
    const std::string& About() const { return about_; }
    void SetAbout(const std::string&) {} // always the default token
    TDisableErrors& DisableErrors() { return *disableErrors_; }
    const TDownloadControlOptions& DownloadOptions() const { return downloadOptions_; }
    void SetDownloadOptions(const TDownloadControlOptions& options);
    bool EnableDragAndDrop() const { return enableDragAndDrop_; }
    void SetEnableDragAndDrop(bool enable) { enableDragAndDrop_ = enable; }
    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(const std::string& file) { helpFile_ = file; }
    TMessagesBoxes& MessagesBoxes() { return *messagesBoxes_; }
    const TUserInterfaceOptions& UserInterfaceOptions() const { return userInterfaceOptions_; }
    void SetUserInterfaceOptions(const TUserInterfaceOptions& options);
    const std::string& OptionKeyPath() const { return optionKeyPath_; }
    void SetOptionKeyPath(const std::string& path) { optionKeyPath_ = path; }
    bool OverrideOptionKeyPath() const { return overrideOptionKeyPath_; }
    void SetOverrideOptionKeyPath(bool value) { overrideOptionKeyPath_ = value; }
    TPrintOptions& PrintOptions() { return *printOptions_; }
    TProxySettings& ProxySettings() { return *proxySettings_; }
    TRightClickMenu& RightClickMenu() { return *rightClickMenu_; }
    TRightClickShortCuts& RightClickShortCuts() { return *rightClickShortCuts_; }
    TShortCuts& ShortCuts() { return *shortCuts_; }
    const std::string& UserAgent() const { return userAgent_; }
    void SetUserAgent(const std::string& agent) { userAgent_ = agent; }
    TVisualEffects& VisualEffects() { return *visualEffects_; }

    // The masks the engine is given.
    std::uint32_t DownloadControlFlags() const { return downloadControlFlags_; }
    std::uint32_t HostUIFlags() const { return hostUIFlags_; }
    bool LocaleInches() const { return localeInches_; }
    bool XPSP2() const { return xpsp2_; }
    bool WindowPositionFilter() const { return windowPositionFilter_; }

    // Sets the engine's zoom step on the current document (not at design time).
    void ApplyTextSize(int size);
    // Reads the page-setup values of the engine into PrintOptions (design time).
    void ReadPageSetupRegistry();

    // --- the hooks around the engine
    void ApplicationMessageHook(ui::TMsg& msg, bool& handled);
    void ControlWindowProc(ui::TMessage& message);
    void OwnerWindowProc(ui::TMessage& message);

    // --- host-site answers
    web::HRESULT GetHostInfo(web::TDocHostUIInfo& info) override;
    web::HRESULT GetAmbientProperty(std::int32_t dispId, web::TOleVariant& value) override;
    web::HRESULT QueryStatus() override;

    // --- events of the control (the engine's download manager replaces the base's file-download event)
    std::function<web::HRESULT(const web::TDownloadInfo& info)> OnFileDownload;
    std::function<void(core::TObject* sender, bool& canClose)> OnCloseQuery;
    std::function<web::HRESULT(void* dataObject, std::int32_t keyState, ui::TPoint pt, std::int32_t& effect,
                               const std::string& status)>
        OnDragEnter, OnDropEvent;
    std::function<web::HRESULT()> OnDragLeave;
    std::function<web::HRESULT(std::int32_t keyState, ui::TPoint pt, std::int32_t& effect, const std::string& status)>
        OnDragOver2;
    std::function<web::HRESULT(bool enable)> OnEnableModeless;
    std::function<web::HRESULT(const std::string& url, const std::string& name, const std::string& urlContext,
                               const std::string& features, bool replace, std::uint32_t flags,
                               std::uint32_t userActionTime)>
        OnEvaluateNewWindow;
    std::function<web::HRESULT(void* dataObject, void*& result)> OnFilterDataObject;
    std::function<web::HRESULT(void* dropTarget, void*& result)> OnGetDropTarget;
    std::function<web::HRESULT(void*& dispatch)> OnGetExternal;
    std::function<web::HRESULT(web::TDocHostUIInfo& info)> OnGetHostInfo;
    std::function<web::HRESULT(const std::string& names, std::int32_t count, std::int32_t locale, std::int32_t* dispIds)>
        OnGetIDsOfNames;
    std::function<web::HRESULT(std::string& key, std::uint32_t dw)> OnGetOptionKeyPath, OnGetOverrideKeyPath;
    std::function<web::HRESULT(std::int32_t index, std::int32_t locale, void*& typeInfo)> OnGetTypeInfo;
    std::function<web::HRESULT(std::int32_t& count)> OnGetTypeInfoCount;
    std::function<web::HRESULT()> OnHideUI, OnUpdateUI;
    std::function<web::HRESULT(std::int32_t dispId, std::uint16_t flags, web::TOleVariant& result)> OnInvoke;
    std::function<void(core::TObject* sender, int x, int y)> OnMove, OnMoveBy, OnResize, OnResizeBy;
    std::function<web::HRESULT(bool activate)> OnOnDocWindowActivate, OnOnFrameWindowActivate;
    std::function<web::HRESULT(const std::string& service, void*& object)> OnQueryService;
    std::function<web::HRESULT(ui::TPoint* border, bool frameWindow)> OnResizeBorder;
    std::function<web::HRESULT(std::uint32_t kind, ui::TPoint pt)> OnShowContextMenu;
    std::function<void(core::TObject* sender, ui::HWND dialog)> OnShowDialog;
    std::function<web::HRESULT(const std::string& helpFile, std::uint32_t command, std::uint32_t data, ui::TPoint mouse)>
        OnShowHelpRequest;
    std::function<web::HRESULT(const std::string& text, const std::string& caption, std::uint32_t type,
                               std::int32_t& result)>
        OnShowMessage;
    std::function<web::HRESULT(std::uint32_t id)> OnShowUI;
    std::function<web::HRESULT(const web::TKeyMessage& message)> OnTranslateAccelerator;
    std::function<web::HRESULT(std::uint32_t translate, const std::string& url, std::string& translated)> OnTranslateUrl;
    std::function<void(core::TObject* sender, std::int32_t command, bool& cancel)> OnRefresh;
    std::function<void(core::TObject* sender, const std::string& line, const std::string& character,
                       const std::string& code, const std::string& message, const std::string& url,
                       bool& continueScript, bool& showDialog)>
        OnScriptError;
    core::TNotifyEvent OnUnload;

private:
    void NotifyDownloadControl();
    void InstallMessageHook();
    void RemoveMessageHook();
    void HookOwnerWindow();
    void UnhookOwnerWindow();

    // State, as the lifecycle uses it.
    std::function<web::HRESULT(bool)> focusChange_; // raised by the host site; nothing assigns it
    std::uint32_t downloadControlFlags_ = 0;
    std::uint32_t hostUIFlags_ = 0;
    bool windowPositionFilter_ = false;
    bool xpsp2_ = false;
    bool localeInches_ = false;
    ui::TWndMethod savedControlWindowProc_;
    ui::TWinControl* hookedOwner_ = nullptr;
    ui::TWndMethod savedOwnerWindowProc_;
    bool ownerHooked_ = false;
    ui::TMessageEvent savedApplicationHandler_;
    bool installedMessageHook_ = false;
    bool loaded_ = false;
    bool proxyApplied_ = false;
    net::TProxySetting proxyBefore_;
    bool soundSwitchedOff_ = false;
    std::shared_ptr<web::THTMLDocument> textSizeDocument_; // the page the text size was last applied to

    // Published properties.
    std::string about_;
    TDownloadControlOptions downloadOptions_;
    bool enableDragAndDrop_ = true;
    std::string helpFile_;
    TUserInterfaceOptions userInterfaceOptions_;
    std::string optionKeyPath_;
    bool overrideOptionKeyPath_ = false;
    std::string userAgent_;

    // The option objects: freed only after every step of the destructor that reads them.
    std::unique_ptr<TPrintOptions> printOptions_;
    std::unique_ptr<TProxySettings> proxySettings_;
    std::unique_ptr<TRightClickMenu> rightClickMenu_;
    std::unique_ptr<TRightClickShortCuts> rightClickShortCuts_;
    std::unique_ptr<TShortCuts> shortCuts_;
    std::unique_ptr<TDisableErrors> disableErrors_;
    std::unique_ptr<TMessagesBoxes> messagesBoxes_;
    std::unique_ptr<TVisualEffects> visualEffects_;
};

} // namespace browser
