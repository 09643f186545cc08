// The hosted browser control as the engine's host site: every question goes to
// the matching published event first, and the control answers by itself when
// no handler is assigned.

#include "browser/BrowserTools.h"
#include "browser/HostedBrowser.h"
#include "platform/ui/kernel/PopupMenus.h"
#include "platform/web/ContextMenu.h"

#include <QWidget>
#include <QtGlobal>

#include <array>
#include <utility>

namespace browser {

namespace {

// The engine's encoding entry: the engine has no character-set menu to give it.
constexpr std::uint32_t IDM_ENCODING = 2292;
constexpr std::uint32_t IDM_SAVEBACKGROUND = 2263;
constexpr std::uint32_t IDM_SETASBACKGROUND = 2264;
constexpr std::uint32_t IDM_COPYBACKGROUND = 2265;
constexpr std::uint32_t IDM_CREATESHORTCUT = 2266;
constexpr std::uint32_t IDM_SETASDESKTOPITEM = 2278;
constexpr std::uint32_t IDM_ADDTOFAVORITES = 2261;
constexpr std::uint32_t IDM_PRINT = 27;
constexpr std::uint32_t IDM_PROPERTIES = 28;

// The three refreshes the engine offers its host before it does them.
bool IsRefreshCommand(std::uint32_t command)
{
    return command == web::CMD_HOST_REFRESH || command == web::CMD_HOST_REFRESH_TOP
        || command == web::CMD_HOST_REFRESH_TOP_FULL;
}

// The script error's properties, in the order they are read.
constexpr std::array<const char*, 5> ScriptErrorProperties{"errorCharacter", "errorCode", "errorMessage", "errorUrl",
                                                           "errorline"};

} // namespace

HRESULT THostedBrowser::QueryInterface(const TGUID& iid, IUnknown*& object)
{
    object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDocHostUIHandler)
        object = static_cast<IDocHostUIHandler*>(this);
    else if (iid == IID_IDocHostUIHandler2)
        object = static_cast<IDocHostUIHandler2*>(this);
    else if (iid == IID_IDocHostUIHandlerFocus)
        object = static_cast<IDocHostUIHandlerFocus*>(this);
    else if (iid == IID_IDocHostShowUI)
        object = static_cast<IDocHostShowUI*>(this);
    else if (iid == IID_IOleCommandTarget)
        object = static_cast<IOleCommandTarget*>(this);
    else if (iid == IID_IServiceProvider)
        object = static_cast<IServiceProvider*>(this);
    else if (iid == IID_INewWindowManager)
        object = static_cast<INewWindowManager*>(this);
    else if (iid == IID_IHTMLOMWindowServices)
        object = static_cast<IHTMLOMWindowServices*>(this);
    else if (iid == IID_IDropTarget)
        object = static_cast<IDropTarget*>(this);
    else if (iid == IID_IDownloadManager)
        object = static_cast<IDownloadManager*>(this);
    else if (iid == IID_IInternetProtocolRoot)
        object = static_cast<IInternetProtocolRoot*>(this);
    else if (iid == IID_IInternetProtocol)
        object = static_cast<IInternetProtocol*>(this);
    else if (iid == IID_IDispatch)
        object = static_cast<IDispatch*>(this);
    return object != nullptr ? S_OK : E_NOINTERFACE;
}

// --- the user-interface handler

bool THostedBrowser::MenuKindAllowed(std::uint32_t kind) const
{
    const TRightClickMenu& menu = *rightClickMenu_;
    switch (kind) {
    case web::CONTEXT_MENU_DEFAULT: return menu.DefaultMenu();
    case web::CONTEXT_MENU_IMAGE: return menu.ImageMenu();
    case web::CONTEXT_MENU_CONTROL: return menu.ControlMenu();
    case web::CONTEXT_MENU_TABLE: return menu.TableMenu();
    case web::CONTEXT_MENU_TEXTSELECT: return menu.SelTextMenu();
    case web::CONTEXT_MENU_ANCHOR: return menu.AnchorMenu();
    case web::CONTEXT_MENU_UNKNOWN: return menu.UnKnownMenu();
    case web::CONTEXT_MENU_IMGDYNSRC: return menu.ImgDynSrcMenu();
    case web::CONTEXT_MENU_IMGART: return menu.ImageArtMenu();
    case web::CONTEXT_MENU_DEBUG: return menu.DebugMenu();
    default: return true; // a kind without a flag is not forbidden by one
    }
}

HRESULT THostedBrowser::ShowContextMenu(std::uint32_t dwID, const ui::TPoint* ppt, IUnknown* pcmdtReserved,
                                        IDispatch* pdispReserved)
{
    if (OnShowContextMenu)
        return OnShowContextMenu(dwID, ppt, pcmdtReserved, pdispReserved);
    if (!MenuKindAllowed(dwID))
        return S_OK; // no menu
    if (!rightClickMenu_->DisableAllMenus())
        return S_OK; // no menu at all
    const TRightClickShortCuts& cuts = *rightClickShortCuts_;
    const std::array<std::pair<bool, std::uint32_t>, 17> removed{{
        {cuts.DisableBack(), web::IDM_BACK},
        {cuts.DisableForward(), web::IDM_FORWARD},
        {cuts.DisableSavePageBkg(), IDM_SAVEBACKGROUND},
        {cuts.DisableSetAsBkg(), IDM_SETASBACKGROUND},
        {cuts.DisableCopyBkg(), IDM_COPYBACKGROUND},
        {cuts.DisableSetAsDesktopItem(), IDM_SETASDESKTOPITEM},
        {cuts.DisableSelectAll(), web::IDM_SELECTALL},
        {cuts.DisablePaste(), web::IDM_PASTE},
        {cuts.DisableCreateShorcut(), IDM_CREATESHORTCUT},
        {cuts.DisableAddToFav(), IDM_ADDTOFAVORITES},
        {cuts.DisableEncoding(), IDM_ENCODING},
        {cuts.DisableRefresh(), web::IDM_REFRESH},
        {cuts.DisableViewSource(), web::IDM_VIEWSOURCE},
        {cuts.DisableProperties(), IDM_PROPERTIES},
        {cuts.DisablePrint(), IDM_PRINT},
        {cuts.DisableOpenInNewWindow(), web::IDM_OPENINNEWWINDOW},
        {cuts.DisableOpenLink(), web::IDM_OPENLINK},
    }};
    bool any = false;
    for (const auto& [flag, command] : removed)
        any = any || flag;
    if (!any)
        return S_FALSE; // the engine shows its own menu

    // Rebuild the engine's menu of this kind without the removed commands, each entry
    // enabled as the engine's own would be; the engine runs the command picked.
    // Whatever fails leaves the engine its own menu.
    auto* engineWindow = QueryInterfaceAs<IOleWindow>(pcmdtReserved, IID_IOleWindow);
    ui::HWND engine = nullptr;
    if (engineWindow == nullptr || core::Failed(engineWindow->GetWindow(engine)) || engine == nullptr)
        return S_FALSE;
    const auto& resource = web::ContextMenuResource();
    if (dwID >= resource.size())
        return S_FALSE;
    ui::TMenu menu;
    for (const web::TContextMenuEntry& entry : resource[dwID]) {
        if (entry.IsSeparator()) {
            menu.push_back(ui::MenuSeparator());
            continue;
        }
        ui::TMenuItem item = ui::MenuItem(entry.Command, entry.Caption);
        item.Enabled = Browser().MenuCommandEnabled(entry.Command);
        menu.push_back(std::move(item));
    }
    for (const auto& [flag, command] : removed)
        if (flag)
            ui::DeleteMenu(menu, command);
    const ui::TPoint point = ppt != nullptr ? *ppt : ui::TPoint{};
    const ui::UINT picked =
        ui::TrackPopupMenuEx(menu, ui::TPM_RETURNCMD | ui::TPM_RIGHTBUTTON | ui::TPM_HORPOSANIMATION
                                       | ui::TPM_VERPOSANIMATION,
                             point.X, point.Y, engine);
    if (picked != 0)
        ui::SendMessage(engine, ui::WM_COMMAND, ui::MakeWParam(static_cast<ui::WORD>(picked), 0), 0);
    return S_OK;
}

HRESULT THostedBrowser::GetHostInfo(TDocHostUIInfo& pInfo)
{
    pInfo.cbSize = 20;
    pInfo.dwFlags = hostUIFlags_;
    pInfo.dwDoubleClick = 0;
    if (OnGetHostInfo)
        return OnGetHostInfo(pInfo);
    return S_OK;
}

HRESULT THostedBrowser::ShowUI(std::uint32_t dwID, IOleInPlaceActiveObject* pActiveObject,
                               IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc)
{
    return OnShowUI ? OnShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc) : S_FALSE;
}

HRESULT THostedBrowser::HideUI()
{
    return OnHideUI ? OnHideUI() : S_FALSE;
}

HRESULT THostedBrowser::UpdateUI()
{
    return OnUpdateUI ? OnUpdateUI() : S_FALSE;
}

HRESULT THostedBrowser::EnableModeless(bool fEnable)
{
    return OnEnableModeless ? OnEnableModeless(fEnable) : S_OK;
}

HRESULT THostedBrowser::OnDocWindowActivate(bool fActivate)
{
    return OnOnDocWindowActivate ? OnOnDocWindowActivate(fActivate) : S_FALSE;
}

HRESULT THostedBrowser::OnFrameWindowActivate(bool fActivate)
{
    return OnOnFrameWindowActivate ? OnOnFrameWindowActivate(fActivate) : S_FALSE;
}

HRESULT THostedBrowser::ResizeBorder(const TRect* prcBorder, IOleInPlaceUIWindow* pUIWindow, bool fFrameWindow)
{
    return OnResizeBorder ? OnResizeBorder(prcBorder, pUIWindow, fFrameWindow) : S_FALSE;
}

HRESULT THostedBrowser::TranslateAccelerator(const ui::TMsg* lpMsg, const TGUID* pguidCmdGroup, std::uint32_t nCmdID)
{
    if (OnTranslateAccelerator)
        return OnTranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID);
    if (lpMsg == nullptr)
        return S_FALSE;
    const bool shift = ui::GetKeyState(ui::VK_SHIFT) < 0;
    const bool alt = ui::GetKeyState(ui::VK_MENU) < 0;
    const bool ctrl = ui::GetKeyState(ui::VK_CONTROL) < 0;
    if (shift || alt || !ctrl)
        return S_FALSE;
    const TShortCuts& keys = *shortCuts_;
    switch (lpMsg->wParam) {
    case 'N': return keys.DisableCTRL_N() ? S_OK : S_FALSE;
    case 'P': return keys.DisableCTRL_P() ? S_OK : S_FALSE;
    case 'A': return keys.DisableCTRL_A() ? S_OK : S_FALSE;
    case 'C': return keys.DisableCTRL_C() ? S_OK : S_FALSE;
    case 'F': return keys.DisableCTRL_F() ? S_OK : S_FALSE;
    default: return S_FALSE;
    }
}

HRESULT THostedBrowser::GetOptionKeyPath(std::string& pchKey, std::uint32_t dw)
{
    pchKey = !optionKeyPath_.empty() && !overrideOptionKeyPath_ ? optionKeyPath_ : std::string();
    return OnGetOptionKeyPath ? OnGetOptionKeyPath(pchKey, dw) : S_OK;
}

HRESULT THostedBrowser::GetOverrideKeyPath(std::string& pchKey, std::uint32_t dw)
{
    pchKey = !optionKeyPath_.empty() && overrideOptionKeyPath_ ? optionKeyPath_ : std::string();
    return OnGetOverrideKeyPath ? OnGetOverrideKeyPath(pchKey, dw) : S_OK;
}

HRESULT THostedBrowser::GetDropTarget(IDropTarget* pDropTarget, IDropTarget*& ppDropTarget)
{
    ppDropTarget = nullptr;
    return OnGetDropTarget ? OnGetDropTarget(pDropTarget, ppDropTarget) : E_NOTIMPL;
}

HRESULT THostedBrowser::GetExternal(IDispatch*& ppDispatch)
{
    ppDispatch = nullptr;
    return OnGetExternal ? OnGetExternal(ppDispatch) : S_FALSE;
}

HRESULT THostedBrowser::TranslateUrl(std::uint32_t dwTranslate, const std::string& pchURLIn, std::string& ppchURLOut)
{
    return OnTranslateUrl ? OnTranslateUrl(dwTranslate, pchURLIn, ppchURLOut) : S_FALSE;
}

HRESULT THostedBrowser::FilterDataObject(IDataObject* pDO, IDataObject*& ppDORet)
{
    ppDORet = nullptr;
    return OnFilterDataObject ? OnFilterDataObject(pDO, ppDORet) : S_FALSE;
}

HRESULT THostedBrowser::FocusChange(bool gotFocus)
{
    return focusChange_ ? focusChange_(gotFocus) : S_FALSE;
}

// --- dialogs and help

HRESULT THostedBrowser::ShowMessage(ui::HWND hwnd, const std::string& lpstrText, const std::string& lpstrCaption,
                                    std::uint32_t dwType, const std::string& lpstrHelpFile,
                                    std::uint32_t dwHelpContext, std::int32_t& plResult)
{
    if (OnShowMessage)
        return OnShowMessage(hwnd, lpstrText, lpstrCaption, static_cast<std::int32_t>(dwType), lpstrHelpFile,
                             static_cast<std::int32_t>(dwHelpContext), plResult);
    return S_FALSE; // the engine shows its own message box
}

HRESULT THostedBrowser::ShowHelp(ui::HWND hwnd, const std::string& pszHelpFile, std::uint32_t uCommand,
                                 std::uint32_t dwData, ui::TPoint ptMouse, IDispatch* pDispatchObjectHit)
{
    if (OnShowHelpRequest)
        return OnShowHelpRequest(hwnd, pszHelpFile, static_cast<std::int32_t>(uCommand),
                                 static_cast<std::int32_t>(dwData), ptMouse, pDispatchObjectHit);
    if (helpFile_.empty())
        return S_FALSE;
    CallHtmlHelp(EngineWindow(), helpFile_, uCommand, dwData);
    return S_OK;
}

// --- the command target

HRESULT THostedBrowser::QueryStatus(const TGUID* pguidCmdGroup, std::uint32_t cCmds, TOleCmd* prgCmds,
                                    TOleCmdText* pCmdText)
{
    // The commands Exec would carry out are supported and enabled, every other one not.
    if (cCmds > 0 && prgCmds == nullptr)
        return E_POINTER;
    for (std::uint32_t i = 0; i < cCmds; ++i) {
        const std::uint32_t id = prgCmds[i].cmdID;
        bool handled = false;
        if (pguidCmdGroup != nullptr && *pguidCmdGroup == CGID_Explorer)
            handled = id == web::CMD_EXPLORER_UNLOAD && OnUnload;
        else if (pguidCmdGroup != nullptr && *pguidCmdGroup == CGID_DocHostCommandHandler)
            handled = (IsRefreshCommand(id) && OnRefresh) || (id == web::OLECMDID_SHOWSCRIPTERROR && OnScriptError);
        prgCmds[i].cmdf = handled ? OLECMDF_SUPPORTED | OLECMDF_ENABLED : 0;
    }
    if (pCmdText != nullptr)
        pCmdText->Text.clear();
    // A text size other than the normal one is applied to each page once.
    if (visualEffects_->TextSize() != 2 && !HasState(core::csDesigning)) {
        auto document = Document();
        if (document && document != textSizeDocument_) {
            textSizeDocument_ = document;
            ApplyTextSize(visualEffects_->TextSize());
        }
    }
    return S_OK;
}

HRESULT THostedBrowser::Exec(const TGUID* pguidCmdGroup, std::uint32_t nCmdID, std::uint32_t nCmdexecopt,
                             const TOleVariant* pvaIn, TOleVariant* pvaOut)
{
    (void)nCmdexecopt, (void)pvaIn; // the document is the control's own current one
    if (pguidCmdGroup == nullptr)
        return OLECMDERR_E_UNKNOWNGROUP;
    HRESULT answer = OLECMDERR_E_NOTSUPPORTED;
    if (*pguidCmdGroup == CGID_Explorer && nCmdID == web::CMD_EXPLORER_UNLOAD && OnUnload) {
        OnUnload(this);
        answer = S_OK;
    }
    if (*pguidCmdGroup == CGID_DocHostCommandHandler) {
        if (OnRefresh && IsRefreshCommand(nCmdID)) {
            bool cancel = false;
            OnRefresh(this, static_cast<std::int32_t>(nCmdID), cancel);
            return cancel ? S_OK : answer;
        }
        if (nCmdID == web::OLECMDID_SHOWSCRIPTERROR && OnScriptError)
            return ScriptErrorCommand(pvaOut, answer);
    }
    return answer;
}

HRESULT THostedBrowser::ScriptErrorCommand(TOleVariant* pvaOut, HRESULT answer)
{
    std::shared_ptr<web::THTMLEventObj> event;
    if (auto document = Document())
        event = document->ParentWindow().Event();
    if (event == nullptr)
        return answer; // the engine reports the error its own way
    std::array<std::string, ScriptErrorProperties.size()> values;
    try {
        for (std::size_t i = 0; i < ScriptErrorProperties.size(); ++i)
            values[i] = event->GetProperty(ScriptErrorProperties[i]).AsString();
    } catch (const core::Exception&) {
        return DISP_E_UNKNOWNNAME; // a property the event does not know: "'name' not supported."
    }
    bool continueScript = true;
    bool showDialog = true;
    OnScriptError(this, values[4], values[0], values[1], values[2], values[3], continueScript, showDialog);
    if (pvaOut != nullptr)
        *pvaOut = continueScript;
    return showDialog ? answer : S_OK;
}

// --- services

HRESULT THostedBrowser::QueryService(const TGUID& guidService, const TGUID& riid, IUnknown*& ppvObject)
{
    ppvObject = nullptr;
    if (guidService == SID_DocumentHost)
        return E_NOINTERFACE; // the control has no such interface to give
    if (guidService == IID_IDocHostShowUI) {
        ppvObject = static_cast<IDocHostShowUI*>(this);
        return S_OK;
    }
    if (guidService == IID_IHTMLOMWindowServices) {
        ppvObject = static_cast<IHTMLOMWindowServices*>(this);
        return S_OK;
    }
    if (guidService == IID_IDownloadManager) {
        if (!OnFileDownload)
            return E_NOINTERFACE;
        ppvObject = static_cast<IDownloadManager*>(this);
        return S_OK;
    }
    if (guidService == IID_INewWindowManager) {
        if (!OnEvaluateNewWindow)
            return E_NOINTERFACE;
        ppvObject = static_cast<INewWindowManager*>(this);
        return S_OK;
    }
    if (OnQueryService)
        return OnQueryService(guidService, riid, ppvObject);
    return E_NOINTERFACE;
}

HRESULT THostedBrowser::EvaluateNewWindow(const std::string& pszUrl, const std::string& pszName,
                                          const std::string& pszUrlContext, const std::string& pszFeatures,
                                          bool fReplace, std::uint32_t dwFlags, std::uint32_t dwUserActionTime)
{
    if (OnEvaluateNewWindow)
        return OnEvaluateNewWindow(pszUrl, pszName, pszUrlContext, pszFeatures, fReplace, dwFlags, dwUserActionTime);
    return E_FAIL;
}

HRESULT THostedBrowser::moveTo(int x, int y)
{
    if (OnMove)
        OnMove(this, x, y);
    return S_OK;
}

HRESULT THostedBrowser::moveBy(int x, int y)
{
    if (OnMoveBy)
        OnMoveBy(this, x, y);
    return S_OK;
}

HRESULT THostedBrowser::resizeTo(int x, int y)
{
    if (OnResize)
        OnResize(this, x, y);
    return S_OK;
}

HRESULT THostedBrowser::resizeBy(int x, int y)
{
    if (OnResizeBy)
        OnResizeBy(this, x, y);
    return S_OK;
}

HRESULT THostedBrowser::Download(IMoniker* pmk, IBindCtx* pbc, std::uint32_t dwBindVerb, std::int32_t grfBINDF,
                                 TBindInfo* pBindInfo, const std::string& pszHeaders, const std::string& pszRedir,
                                 std::uint32_t uiCP)
{
    if (OnFileDownload)
        return OnFileDownload(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo, pszHeaders, pszRedir, uiCP);
    return E_NOTIMPL;
}

// --- drag and drop

void THostedBrowser::ChooseDropEffect(std::int32_t grfKeyState, std::uint32_t& dwEffect)
{
    constexpr std::int32_t shift = web::MK_SHIFT;
    constexpr std::int32_t ctrl = web::MK_CONTROL;
    const std::uint32_t allowed = dwEffect;
    if ((grfKeyState & shift) && !(grfKeyState & ctrl) && (allowed & web::DROPEFFECT_MOVE))
        dwEffect = web::DROPEFFECT_MOVE;
    else if ((grfKeyState & shift) && (grfKeyState & ctrl) && (allowed & web::DROPEFFECT_LINK))
        dwEffect = web::DROPEFFECT_LINK;
    else if (allowed & web::DROPEFFECT_COPY)
        dwEffect = web::DROPEFFECT_COPY;
    else if (allowed & web::DROPEFFECT_MOVE)
        dwEffect = web::DROPEFFECT_MOVE;
    else if (allowed & web::DROPEFFECT_LINK)
        dwEffect = web::DROPEFFECT_LINK;
    else
        dwEffect = web::DROPEFFECT_NONE;
}

ui::TPoint THostedBrowser::ClientToScreen(ui::TPoint point) const
{
    QWidget* client = EngineWindow() != nullptr ? EngineWindow() : Widget();
    if (client == nullptr)
        return point;
    const QPoint screen = client->mapToGlobal(QPoint(point.X, point.Y));
    return {screen.x(), screen.y()};
}

void THostedBrowser::RefuseDrop(std::uint32_t& dwEffect)
{
    dwEffect = web::DROPEFFECT_NONE;
    SetRegisterAsDropTarget(false); // the window stops being a drop target
}

HRESULT THostedBrowser::DragEnter(IDataObject* dataObj, std::uint32_t grfKeyState, ui::TPoint pt,
                                  std::uint32_t& dwEffect)
{
    if (!enableDragAndDrop_) {
        RefuseDrop(dwEffect);
        return S_OK;
    }
    return RaiseDropEvent(OnDragEnter, dataObj, grfKeyState, pt, dwEffect);
}

HRESULT THostedBrowser::RaiseDropEvent(const TOnDragEnterEvent& event, IDataObject* dataObj,
                                       std::uint32_t grfKeyState, ui::TPoint pt, std::uint32_t& dwEffect)
{
    if (!event)
        return S_OK;
    auto effect = static_cast<std::int32_t>(dwEffect);
    const HRESULT answer = event(dataObj, static_cast<std::int32_t>(grfKeyState), ClientToScreen(pt), effect,
                                 DragDropStatusText(dwEffect));
    dwEffect = static_cast<std::uint32_t>(effect);
    ChooseDropEffect(static_cast<std::int32_t>(grfKeyState), dwEffect);
    return answer;
}

HRESULT THostedBrowser::DragOver(std::uint32_t grfKeyState, ui::TPoint pt, std::uint32_t& dwEffect)
{
    if (!enableDragAndDrop_) {
        RefuseDrop(dwEffect);
        return S_OK;
    }
    ChooseDropEffect(static_cast<std::int32_t>(grfKeyState), dwEffect);
    if (!OnDragOver2)
        return S_OK;
    auto effect = static_cast<std::int32_t>(dwEffect);
    const HRESULT answer =
        OnDragOver2(static_cast<std::int32_t>(grfKeyState), ClientToScreen(pt), effect, DragDropStatusText(dwEffect));
    dwEffect = static_cast<std::uint32_t>(effect);
    return answer;
}

HRESULT THostedBrowser::DragLeave()
{
    return OnDragLeave ? OnDragLeave() : S_OK;
}

HRESULT THostedBrowser::Drop(IDataObject* dataObj, std::uint32_t grfKeyState, ui::TPoint pt, std::uint32_t& dwEffect)
{
    if (!enableDragAndDrop_) {
        RefuseDrop(dwEffect);
        return S_OK;
    }
    // A drop without data is refused before any handler sees it.
    std::vector<std::string> formats;
    if (dataObj == nullptr || core::Failed(dataObj->EnumFormats(formats)) || formats.empty()) {
        qWarning("%s", "IDataObject-Pointer is not valid!");
        dwEffect = web::DROPEFFECT_NONE;
        return E_INVALIDARG;
    }
    return RaiseDropEvent(OnDropEvent, dataObj, grfKeyState, pt, dwEffect);
}

// --- the protocol stub: it only answers a caller that asks the site for it

HRESULT THostedBrowser::Start(const std::string& szUrl, IInternetProtocolSink* pOIProtSink,
                              IInternetBindInfo* pOIBindInfo, std::uint32_t grfPI, std::uintptr_t dwReserved)
{
    (void)grfPI, (void)dwReserved;
    protocolSink_ = pOIProtSink;
    protocolBindInfo_ = pOIBindInfo;
    if (auto* provider = QueryInterfaceAs<IServiceProvider>(pOIProtSink, IID_IServiceProvider)) {
        IUnknown* object = nullptr;
        if (core::Succeeded(provider->QueryService(IID_IHttpNegotiate, IID_IHttpNegotiate, object)))
            if (auto* negotiate = dynamic_cast<IHttpNegotiate*>(object)) {
                std::string additionalHeaders;
                negotiate->BeginningTransaction(szUrl, {}, 0, additionalHeaders);
            }
    }
    return INET_E_USE_DEFAULT_PROTOCOLHANDLER;
}

HRESULT THostedBrowser::Continue(const TProtocolData*)
{
    return S_OK;
}

HRESULT THostedBrowser::Abort(HRESULT, std::uint32_t)
{
    return E_NOTIMPL;
}

HRESULT THostedBrowser::Terminate(std::uint32_t)
{
    protocolSink_ = nullptr;
    protocolBindInfo_ = nullptr;
    return S_OK;
}

HRESULT THostedBrowser::Suspend()
{
    return E_NOTIMPL;
}

HRESULT THostedBrowser::Resume()
{
    return E_NOTIMPL;
}

HRESULT THostedBrowser::Read(std::span<std::uint8_t> buffer, std::uint32_t& read)
{
    // The stub has no data: the end of it, so a reader stops instead of asking for ever.
    (void)buffer;
    read = 0;
    return S_FALSE;
}

HRESULT THostedBrowser::Seek(std::int64_t, std::uint32_t, std::uint64_t&)
{
    return E_NOTIMPL;
}

HRESULT THostedBrowser::LockRequest(std::uint32_t)
{
    return S_OK;
}

HRESULT THostedBrowser::UnlockRequest()
{
    return S_OK;
}

// --- the dispatch interface: the site's ambient properties

HRESULT THostedBrowser::GetTypeInfoCount(std::uint32_t& count)
{
    if (OnGetTypeInfoCount) {
        std::int32_t answer = 0;
        const HRESULT result = OnGetTypeInfoCount(answer);
        count = static_cast<std::uint32_t>(answer);
        return result;
    }
    count = 0;
    return E_NOTIMPL;
}

HRESULT THostedBrowser::GetTypeInfo(std::uint32_t index, std::uint32_t localeId, ITypeInfo*& typeInfo)
{
    typeInfo = nullptr;
    if (OnGetTypeInfo)
        return OnGetTypeInfo(static_cast<std::int32_t>(index), static_cast<std::int32_t>(localeId), typeInfo);
    return E_NOTIMPL;
}

HRESULT THostedBrowser::GetIDsOfNames(const TGUID& iid, std::span<const std::string> names, std::uint32_t localeId,
                                      std::span<std::int32_t> dispIds)
{
    if (OnGetIDsOfNames)
        return OnGetIDsOfNames(iid, names, static_cast<std::int32_t>(localeId), dispIds);
    return E_NOTIMPL;
}

HRESULT THostedBrowser::Invoke(std::int32_t dispId, const TGUID& iid, std::uint32_t localeId, std::uint16_t flags,
                               TDispParams& params, TOleVariant* varResult, TExcepInfo* excepInfo,
                               std::uint32_t* argErr)
{
    if ((flags & DISPATCH_PROPERTYGET) && dispId == web::DISPID_AMBIENT_DLCONTROL && varResult != nullptr) {
        *varResult = static_cast<std::int32_t>(downloadControlFlags_);
        return S_OK;
    }
    if (OnInvoke)
        return OnInvoke(dispId, iid, static_cast<std::int32_t>(localeId), flags, params, varResult, excepInfo, argErr);
    if (!(flags & DISPATCH_PROPERTYGET) || varResult == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    return AmbientProperty(dispId, *varResult);
}

} // namespace browser
