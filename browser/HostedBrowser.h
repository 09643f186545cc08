#pragma once
// The hosted browser control: shows web pages by hosting the web engine and
// acting as its host site, with option objects for menus, keys, proxy,
// dialogs, errors, text size, sounds and printing.
//
// Loaded applies the options to the process and the engine (user-agent token,
// proxy, navigation sound, window procedures); destruction undoes all of it.
//
// As the engine's host site it answers the host interfaces (HostInterfaces.h):
// each question goes first to the matching published event and is answered by
// the control itself when no handler is assigned. Around the engine it places
// its hooks: on the application's messages (Enter goes to the page), on its own
// window (moves and sizes, closing, DDE conversations, dialog keys), on its
// owner's window (the dialog boxes the page opens), and a hidden window that
// answers the shell's DDE requests to open a web document or a folder here.

#include "browser/BrowserWrapper.h"
#include "browser/HostInterfaces.h"
#include "browser/HostedBrowserEvents.h"
#include "browser/HostedBrowserOptions.h"
#include "platform/net/Proxy.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/ShellItems.h"
#include "platform/ui/kernel/Windows.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace browser {

struct TMessageHookState;

class THostedBrowser : public TBrowserWrapper,
                       public IDocHostUIHandler2,
                       public IDocHostUIHandlerFocus,
                       public IDocHostShowUI,
                       public IOleCommandTarget,
                       public IServiceProvider,
                       public INewWindowManager,
                       public IHTMLOMWindowServices,
                       public IDropTarget,
                       public IDownloadManager,
                       public IInternetProtocol,
                       public IDispatch {
public:
    explicit THostedBrowser(core::TComponent* owner);
    ~THostedBrowser() override;
    std::string ClassName() const override { return "THostedBrowser"; }

    void Loaded() override;
    void SetBounds(int left, int top, int width, int height) override;

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
    // Treats the message, then passes it on to the owner's procedure (next).
    void OwnerWindowProc(ui::TMessage& message, const ui::TWndMethod& next);
    void DdeWindowProc(ui::TMessage& message);
    // The hidden window that answers the shell's DDE requests.
    ui::HWND DdeWindow() const { return ddeWindow_; }
    // Navigates to a text address (nothing for an empty one); true when a navigation started.
    bool NavigateUrlText(const std::string& text);
    // Navigates to the folder of an item-ID list; true when a navigation started.
    bool NavigatePidl(const ui::TItemIDList& list);

    // Picks the drop effect for the keys held: Shift moves, Ctrl+Shift links, else
    // the first allowed of copy, move and link (0 when none is allowed).
    virtual void ChooseDropEffect(std::int32_t grfKeyState, std::uint32_t& dwEffect);

    // --- host interfaces
    HRESULT QueryInterface(const TGUID& iid, IUnknown*& object) override;

    // IDocHostUIHandler, IDocHostUIHandler2 and the focus-change interface
    HRESULT ShowContextMenu(std::uint32_t dwID, const ui::TPoint* ppt, IUnknown* pcmdtReserved,
                            IDispatch* pdispReserved) override;
    HRESULT GetHostInfo(TDocHostUIInfo& pInfo) override;
    HRESULT ShowUI(std::uint32_t dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                   IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) override;
    HRESULT HideUI() override;
    HRESULT UpdateUI() override;
    HRESULT EnableModeless(bool fEnable) override;
    HRESULT OnDocWindowActivate(bool fActivate) override;
    HRESULT OnFrameWindowActivate(bool fActivate) override;
    HRESULT ResizeBorder(const TRect* prcBorder, IOleInPlaceUIWindow* pUIWindow, bool fFrameWindow) override;
    HRESULT TranslateAccelerator(const ui::TMsg* lpMsg, const TGUID* pguidCmdGroup, std::uint32_t nCmdID) override;
    HRESULT GetOptionKeyPath(std::string& pchKey, std::uint32_t dw) override;
    HRESULT GetDropTarget(IDropTarget* pDropTarget, IDropTarget*& ppDropTarget) override;
    HRESULT GetExternal(IDispatch*& ppDispatch) override;
    HRESULT TranslateUrl(std::uint32_t dwTranslate, const std::string& pchURLIn, std::string& ppchURLOut) override;
    HRESULT FilterDataObject(IDataObject* pDO, IDataObject*& ppDORet) override;
    HRESULT GetOverrideKeyPath(std::string& pchKey, std::uint32_t dw) override;
    HRESULT FocusChange(bool gotFocus) override;

    // IDocHostShowUI
    HRESULT ShowMessage(ui::HWND hwnd, const std::string& lpstrText, const std::string& lpstrCaption,
                        std::uint32_t dwType, const std::string& lpstrHelpFile, std::uint32_t dwHelpContext,
                        std::int32_t& plResult) override;
    HRESULT ShowHelp(ui::HWND hwnd, const std::string& pszHelpFile, std::uint32_t uCommand, std::uint32_t dwData,
                     ui::TPoint ptMouse, IDispatch* pDispatchObjectHit) override;

    // IOleCommandTarget
    HRESULT QueryStatus(const TGUID* pguidCmdGroup, std::uint32_t cCmds, TOleCmd* prgCmds,
                        TOleCmdText* pCmdText) override;
    HRESULT Exec(const TGUID* pguidCmdGroup, std::uint32_t nCmdID, std::uint32_t nCmdexecopt,
                 const TOleVariant* pvaIn, TOleVariant* pvaOut) override;

    // IServiceProvider
    HRESULT QueryService(const TGUID& guidService, const TGUID& riid, IUnknown*& ppvObject) override;

    // INewWindowManager
    HRESULT EvaluateNewWindow(const std::string& pszUrl, const std::string& pszName, const std::string& pszUrlContext,
                              const std::string& pszFeatures, bool fReplace, std::uint32_t dwFlags,
                              std::uint32_t dwUserActionTime) override;

    // IHTMLOMWindowServices
    HRESULT moveTo(int x, int y) override;
    HRESULT moveBy(int x, int y) override;
    HRESULT resizeTo(int x, int y) override;
    HRESULT resizeBy(int x, int y) override;

    // IDropTarget (the point in the engine window's coordinates)
    HRESULT DragEnter(IDataObject* dataObj, std::uint32_t grfKeyState, ui::TPoint pt, std::uint32_t& dwEffect) override;
    HRESULT DragOver(std::uint32_t grfKeyState, ui::TPoint pt, std::uint32_t& dwEffect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(IDataObject* dataObj, std::uint32_t grfKeyState, ui::TPoint pt, std::uint32_t& dwEffect) override;

    // IDownloadManager
    HRESULT Download(IMoniker* pmk, IBindCtx* pbc, std::uint32_t dwBindVerb, std::int32_t grfBINDF,
                     TBindInfo* pBindInfo, const std::string& pszHeaders, const std::string& pszRedir,
                     std::uint32_t uiCP) override;

    // IInternetProtocolRoot and IInternetProtocol
    HRESULT Start(const std::string& szUrl, IInternetProtocolSink* pOIProtSink, IInternetBindInfo* pOIBindInfo,
                  std::uint32_t grfPI, std::uintptr_t dwReserved) override;
    HRESULT Continue(const TProtocolData* pProtocolData) override;
    HRESULT Abort(HRESULT hrReason, std::uint32_t dwOptions) override;
    HRESULT Terminate(std::uint32_t dwOptions) override;
    HRESULT Suspend() override;
    HRESULT Resume() override;
    HRESULT Read(std::span<std::uint8_t> buffer, std::uint32_t& read) override;
    HRESULT Seek(std::int64_t move, std::uint32_t origin, std::uint64_t& newPosition) override;
    HRESULT LockRequest(std::uint32_t dwOptions) override;
    HRESULT UnlockRequest() override;

    // IDispatch (the site's ambient properties)
    HRESULT GetTypeInfoCount(std::uint32_t& count) override;
    HRESULT GetTypeInfo(std::uint32_t index, std::uint32_t localeId, ITypeInfo*& typeInfo) override;
    HRESULT GetIDsOfNames(const TGUID& iid, std::span<const std::string> names, std::uint32_t localeId,
                          std::span<std::int32_t> dispIds) override;
    HRESULT Invoke(std::int32_t dispId, const TGUID& iid, std::uint32_t localeId, std::uint16_t flags,
                   TDispParams& params, TOleVariant* varResult, TExcepInfo* excepInfo, std::uint32_t* argErr) override;

    // --- events of the control (the download manager's replaces the base's file-download event)
    TDownloadEvent OnFileDownload;
    TCloseQueryEvent OnCloseQuery;
    TOnDragEnterEvent OnDragEnter;
    TOnDragLeaveEvent OnDragLeave;
    TOnDragOverEvent OnDragOver2;
    TOnDropEvent OnDropEvent;
    TEnableModelessEvent OnEnableModeless;
    TEvaluateNewWindowEvent OnEvaluateNewWindow;
    TFilterDataObjectEvent OnFilterDataObject;
    TGetDropTargetEvent OnGetDropTarget;
    TGetExternalEvent OnGetExternal;
    TGetHostInfoEvent OnGetHostInfo;
    TGetIDsOfNamesEvent OnGetIDsOfNames;
    TGetOptionKeyPathEvent OnGetOptionKeyPath;
    TGetOverrideKeyPathEvent OnGetOverrideKeyPath;
    TGetTypeInfoEvent OnGetTypeInfo;
    TGetTypeInFoCountEvent OnGetTypeInfoCount;
    THideUIEvent OnHideUI;
    TInvokeEvent OnInvoke;
    TMoveEvent OnMove;
    TMoveResizeByEvent OnMoveBy;
    TOnDocWindowActivateEvent OnOnDocWindowActivate;
    TOnFrameWindowActivateEvent OnOnFrameWindowActivate;
    TQueryServiceEvent OnQueryService;
    TResizeEvent OnResize;
    TResizeBorderEvent OnResizeBorder;
    TMoveResizeByEvent OnResizeBy;
    TShowContextMenuEvent OnShowContextMenu;
    TShowDialogEvent OnShowDialog;
    TShowHelpEvent OnShowHelpRequest;
    TShowMessageEvent OnShowMessage;
    TShowUIEvent OnShowUI;
    TTranslateAcceleratorEvent OnTranslateAccelerator;
    TTranslateUrlEvent OnTranslateUrl;
    TUpdateUIEvent OnUpdateUI;
    TRefreshEvent OnRefresh;
    TScriptErrorEvent OnScriptError;
    TUnloadEvent OnUnload;

protected:
    bool WidgetEvent(QWidget* source, QEvent* event) override;
    void WndProc(ui::TMessage& message) override;

    // The system test made at construction; a descendant may stand for an older system.
    bool xpsp2_ = false;
    bool windowPositionFilter_ = false;

private:
    void NotifyDownloadControl();
    void InstallMessageHook();
    void RemoveMessageHook();
    void HookOwnerWindow();
    void UnhookOwnerWindow();
    void TreatOwnerMessage(const ui::TMessage& message);
    bool OpenedByPage(ui::HWND dialog) const;
    void DdeInitiate(const ui::TMessage& message);
    void DdeExecute(const ui::TMessage& message);
    bool RunDdeCommand(const std::string& text);
    void CallSavedWindowProc(ui::TMessage& message);
    bool ContainsFocus() const;
    bool MenuKindAllowed(std::uint32_t kind) const;
    HRESULT ScriptErrorCommand(TOleVariant* pvaOut, HRESULT answer);
    void RefuseDrop(std::uint32_t& dwEffect);
    // Raises OnDragEnter or OnDropEvent (when assigned), then chooses the effect.
    HRESULT RaiseDropEvent(const TOnDragEnterEvent& event, IDataObject* dataObj, std::uint32_t grfKeyState,
                           ui::TPoint pt, std::uint32_t& dwEffect);
    ui::TPoint ClientToScreen(ui::TPoint point) const;

    // State, as the lifecycle uses it.
    std::function<HRESULT(bool)> focusChange_; // raised by the host site; nothing assigns it
    ui::HWND ddeWindow_ = nullptr;
    std::uint32_t downloadControlFlags_ = 0;
    std::uint32_t hostUIFlags_ = 0;
    bool localeInches_ = false;
    ui::TWndMethod savedControlWindowProc_;
    core::TComponent* hookedOwner_ = nullptr;
    ui::HWND hookedOwnerWindow_ = nullptr;
    std::shared_ptr<TMessageHookState> messageHook_; // the application hook this control takes part in
    bool loaded_ = false;
    bool proxyApplied_ = false;
    net::TProxySetting proxyBefore_;
    bool soundSwitchedOff_ = false;
    std::shared_ptr<web::THTMLDocument> textSizeDocument_; // the page the text size was last applied to
    ui::TWindowPos* pendingWindowPos_ = nullptr;          // the change a WM_WINDOWPOSCHANGING now sent describes
    bool closePassedOn_ = false;
    IInternetProtocolSink* protocolSink_ = nullptr;
    IInternetBindInfo* protocolBindInfo_ = nullptr;

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
