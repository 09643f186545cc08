#pragma once
// The interfaces through which the web engine customises itself with its host
// site, with their identifiers, result codes and records. The browser control
// implements them (THostedBrowser) and the engine adaptor (TEngineSite) asks
// them when the engine has something to decide.
//
// An object answers QueryInterface with one of its interfaces as an IUnknown
// pointer, which the caller turns into the interface with dynamic_cast
// (QueryInterfaceAs does both). Lifetime is the object's own affair: an
// interface pointer is only used while the call that handed it over runs.

#include "browser/Guid.h"
#include "platform/gfx/Types.h"
#include "platform/ui/kernel/Messages.h"
#include "platform/web/HostSite.h"
#include "platform/web/OleVariant.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace browser {

using web::HRESULT;
using web::TOleVariant;
using web::S_OK;
using web::S_FALSE;
using web::E_NOTIMPL;
using web::E_NOINTERFACE;
using web::E_FAIL;
using core::E_POINTER;
using core::E_INVALIDARG;
using web::OLECMDERR_E_NOTSUPPORTED;
using web::OLECMDERR_E_UNKNOWNGROUP;
using web::INET_E_USE_DEFAULT_PROTOCOLHANDLER;
using web::DISP_E_MEMBERNOTFOUND;
constexpr HRESULT DISP_E_UNKNOWNNAME = core::MakeHResult(0x80020006u);

// --- identifiers

inline constexpr TGUID IID_IUnknown = TGUID::Parse("{00000000-0000-0000-C000-000000000046}");
inline constexpr TGUID IID_IDispatch = TGUID::Parse("{00020400-0000-0000-C000-000000000046}");
inline constexpr TGUID IID_IOleWindow = TGUID::Parse("{00000114-0000-0000-C000-000000000046}");
inline constexpr TGUID IID_IDropTarget = TGUID::Parse("{00000122-0000-0000-C000-000000000046}");
inline constexpr TGUID IID_IDocHostUIHandler = TGUID::Parse("{BD3F23C0-D43E-11CF-893B-00AA00BDCE1A}");
inline constexpr TGUID IID_IDocHostUIHandler2 = TGUID::Parse("{3050F6D0-98B5-11CF-BB82-00AA00BDCE0B}");
inline constexpr TGUID IID_IDocHostUIHandlerFocus = TGUID::Parse("{D81F90A3-8156-44F7-AD28-5ABB87003274}");
inline constexpr TGUID IID_IDocHostShowUI = TGUID::Parse("{C4D244B0-D43E-11CF-893B-00AA00BDCE1A}");
inline constexpr TGUID IID_IOleCommandTarget = TGUID::Parse("{B722BCCB-4E68-101B-A2BC-00AA00404770}");
inline constexpr TGUID IID_IServiceProvider = TGUID::Parse("{6D5140C1-7436-11CE-8034-00AA006009FA}");
inline constexpr TGUID IID_INewWindowManager = TGUID::Parse("{D2BC4C84-3F72-4A52-A604-7BCBF3982CBB}");
inline constexpr TGUID IID_IHTMLOMWindowServices = TGUID::Parse("{3050F5FC-98B5-11CF-BB82-00AA00BDCE0B}");
inline constexpr TGUID IID_IDownloadManager = TGUID::Parse("{988934A4-064B-11D3-BB80-00104B35E7F9}");
inline constexpr TGUID IID_IInternetProtocolRoot = TGUID::Parse("{79EAC9E3-BAF9-11CE-8C82-00AA004BA90B}");
inline constexpr TGUID IID_IInternetProtocol = TGUID::Parse("{79EAC9E4-BAF9-11CE-8C82-00AA004BA90B}");
inline constexpr TGUID IID_IHttpNegotiate = TGUID::Parse("{79EAC9D2-BAF9-11CE-8C82-00AA004BA90B}");
inline constexpr TGUID IID_IHTMLDocument2 = TGUID::Parse("{332C4425-26CB-11D0-B483-00C04FD90119}");
// A service the engine asks for an interface the control does not have.
inline constexpr TGUID SID_DocumentHost = TGUID::Parse("{425B5AF0-65F1-11D1-9611-0000F81E0D0D}");
inline constexpr TGUID IID_DocumentHost = TGUID::Parse("{3050F3F0-98B5-11CF-BB82-00AA00BDCE0B}");

// Command groups of IOleCommandTarget.
inline constexpr TGUID CGID_Explorer = TGUID::Parse("{000214D0-0000-0000-C000-000000000046}");
inline constexpr TGUID CGID_DocHostCommandHandler = TGUID::Parse("{F38BC242-B950-11D1-8918-00C04FC2C836}");

// The command status flags of QueryStatus.
enum : std::uint32_t { OLECMDF_SUPPORTED = 0x1, OLECMDF_ENABLED = 0x2 };

// Invoke flags.
enum : std::uint16_t {
    DISPATCH_METHOD = 0x1,
    DISPATCH_PROPERTYGET = 0x2,
    DISPATCH_PROPERTYPUT = 0x4,
};
enum : std::uint32_t { LOCALE_SYSTEM_DEFAULT = 0x800, LOCALE_USER_DEFAULT = 0x400 };

// --- records

struct TOleCmd {
    std::uint32_t cmdID = 0;
    std::uint32_t cmdf = 0;
};

struct TOleCmdText {
    std::uint32_t cmdtextf = 0;
    std::string Text;
};

struct TDispParams {
    std::vector<TOleVariant> Args;
    std::vector<std::int32_t> NamedArgs;
};

struct TExcepInfo {
    std::uint16_t wCode = 0;
    std::string Source;
    std::string Description;
    std::string HelpFile;
    std::uint32_t HelpContext = 0;
    HRESULT scode = S_OK;
};

using gfx::TRect;

// How a download is to be fetched.
struct TBindInfo {
    std::uint32_t cbSize = 0;
    std::string ExtraInfo;
    std::uint32_t BindVerb = 0; // 0: GET
    std::string CustomVerb;
};

using web::TDocHostUIInfo;

// --- interfaces

class IUnknown {
public:
    virtual ~IUnknown() = default;
    virtual HRESULT QueryInterface(const TGUID& iid, IUnknown*& object) = 0;
};

// The interface an object gives for iid, or null.
template <class I>
I* QueryInterfaceAs(IUnknown* object, const TGUID& iid)
{
    IUnknown* answer = nullptr;
    if (object == nullptr || core::Failed(object->QueryInterface(iid, answer)))
        return nullptr;
    return dynamic_cast<I*>(answer);
}

// Interfaces handed over but never called by the control.
class IOleInPlaceActiveObject : public virtual IUnknown {};
class IOleInPlaceFrame : public virtual IUnknown {};
class IOleInPlaceUIWindow : public virtual IUnknown {};
class ITypeInfo : public virtual IUnknown {};
class IBindCtx : public virtual IUnknown {};
class IInternetBindInfo : public virtual IUnknown {};

class IOleWindow : public virtual IUnknown {
public:
    virtual HRESULT GetWindow(ui::HWND& window) = 0;
};

// Data being dragged: the formats it is offered in (MIME types) and its bytes in one of them.
class IDataObject : public virtual IUnknown {
public:
    virtual HRESULT EnumFormats(std::vector<std::string>& formats) = 0;
    virtual HRESULT GetData(const std::string& format, std::string& data) = 0;
};

// Names what is to be downloaded.
class IMoniker : public virtual IUnknown {
public:
    virtual HRESULT GetDisplayName(std::string& name) = 0;
};

class IDispatch : public virtual IUnknown {
public:
    virtual HRESULT GetTypeInfoCount(std::uint32_t& count) = 0;
    virtual HRESULT GetTypeInfo(std::uint32_t index, std::uint32_t localeId, ITypeInfo*& typeInfo) = 0;
    virtual HRESULT GetIDsOfNames(const TGUID& iid, std::span<const std::string> names, std::uint32_t localeId,
                                  std::span<std::int32_t> dispIds) = 0;
    virtual HRESULT Invoke(std::int32_t dispId, const TGUID& iid, std::uint32_t localeId, std::uint16_t flags,
                           TDispParams& params, TOleVariant* varResult, TExcepInfo* excepInfo,
                           std::uint32_t* argErr) = 0;
};

class IDropTarget : public virtual IUnknown {
public:
    virtual HRESULT DragEnter(IDataObject* dataObj, std::uint32_t grfKeyState, ui::TPoint pt, std::uint32_t& dwEffect) = 0;
    virtual HRESULT DragOver(std::uint32_t grfKeyState, ui::TPoint pt, std::uint32_t& dwEffect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* dataObj, std::uint32_t grfKeyState, ui::TPoint pt, std::uint32_t& dwEffect) = 0;
};

class IOleCommandTarget : public virtual IUnknown {
public:
    // Fills cmdf of each of the cCmds commands; text is filled when given.
    virtual HRESULT QueryStatus(const TGUID* pguidCmdGroup, std::uint32_t cCmds, TOleCmd* prgCmds,
                                TOleCmdText* pCmdText) = 0;
    virtual HRESULT Exec(const TGUID* pguidCmdGroup, std::uint32_t nCmdID, std::uint32_t nCmdexecopt,
                         const TOleVariant* pvaIn, TOleVariant* pvaOut) = 0;
};

class IDocHostUIHandler : public virtual IUnknown {
public:
    virtual HRESULT ShowContextMenu(std::uint32_t dwID, const ui::TPoint* ppt, IUnknown* pcmdtReserved,
                                    IDispatch* pdispReserved) = 0;
    virtual HRESULT GetHostInfo(TDocHostUIInfo& pInfo) = 0;
    virtual HRESULT ShowUI(std::uint32_t dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                           IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) = 0;
    virtual HRESULT HideUI() = 0;
    virtual HRESULT UpdateUI() = 0;
    virtual HRESULT EnableModeless(bool fEnable) = 0;
    virtual HRESULT OnDocWindowActivate(bool fActivate) = 0;
    virtual HRESULT OnFrameWindowActivate(bool fActivate) = 0;
    virtual HRESULT ResizeBorder(const TRect* prcBorder, IOleInPlaceUIWindow* pUIWindow, bool fFrameWindow) = 0;
    virtual HRESULT TranslateAccelerator(const ui::TMsg* lpMsg, const TGUID* pguidCmdGroup, std::uint32_t nCmdID) = 0;
    // An empty key is no key.
    virtual HRESULT GetOptionKeyPath(std::string& pchKey, std::uint32_t dw) = 0;
    virtual HRESULT GetDropTarget(IDropTarget* pDropTarget, IDropTarget*& ppDropTarget) = 0;
    virtual HRESULT GetExternal(IDispatch*& ppDispatch) = 0;
    // An empty URL out is no translation.
    virtual HRESULT TranslateUrl(std::uint32_t dwTranslate, const std::string& pchURLIn, std::string& ppchURLOut) = 0;
    virtual HRESULT FilterDataObject(IDataObject* pDO, IDataObject*& ppDORet) = 0;
};

class IDocHostUIHandler2 : public virtual IDocHostUIHandler {
public:
    virtual HRESULT GetOverrideKeyPath(std::string& pchKey, std::uint32_t dw) = 0;
};

// The same operations and one more: the focus moved into or out of the document.
class IDocHostUIHandlerFocus : public virtual IDocHostUIHandler {
public:
    virtual HRESULT FocusChange(bool gotFocus) = 0;
};

class IDocHostShowUI : public virtual IUnknown {
public:
    virtual HRESULT ShowMessage(ui::HWND hwnd, const std::string& lpstrText, const std::string& lpstrCaption,
                                std::uint32_t dwType, const std::string& lpstrHelpFile, std::uint32_t dwHelpContext,
                                std::int32_t& plResult) = 0;
    virtual HRESULT ShowHelp(ui::HWND hwnd, const std::string& pszHelpFile, std::uint32_t uCommand,
                             std::uint32_t dwData, ui::TPoint ptMouse, IDispatch* pDispatchObjectHit) = 0;
};

class IServiceProvider : public virtual IUnknown {
public:
    virtual HRESULT QueryService(const TGUID& guidService, const TGUID& riid, IUnknown*& ppvObject) = 0;
};

class INewWindowManager : public virtual IUnknown {
public:
    virtual HRESULT EvaluateNewWindow(const std::string& pszUrl, const std::string& pszName,
                                      const std::string& pszUrlContext, const std::string& pszFeatures, bool fReplace,
                                      std::uint32_t dwFlags, std::uint32_t dwUserActionTime) = 0;
};

class IHTMLOMWindowServices : public virtual IUnknown {
public:
    virtual HRESULT moveTo(int x, int y) = 0;
    virtual HRESULT moveBy(int x, int y) = 0;
    virtual HRESULT resizeTo(int x, int y) = 0;
    virtual HRESULT resizeBy(int x, int y) = 0;
};

class IDownloadManager : public virtual IUnknown {
public:
    virtual HRESULT Download(IMoniker* pmk, IBindCtx* pbc, std::uint32_t dwBindVerb, std::int32_t grfBINDF,
                             TBindInfo* pBindInfo, const std::string& pszHeaders, const std::string& pszRedir,
                             std::uint32_t uiCP) = 0;
};

// The request-header negotiation of a protocol's sink.
class IHttpNegotiate : public virtual IUnknown {
public:
    virtual HRESULT BeginningTransaction(const std::string& szURL, const std::string& szHeaders,
                                         std::uint32_t dwReserved, std::string& pszAdditionalHeaders) = 0;
};

class IInternetProtocolSink : public virtual IUnknown {};

struct TProtocolData {
    std::uint32_t grfFlags = 0;
    std::uint32_t dwState = 0;
};

class IInternetProtocolRoot : public virtual IUnknown {
public:
    virtual HRESULT Start(const std::string& szUrl, IInternetProtocolSink* pOIProtSink, IInternetBindInfo* pOIBindInfo,
                          std::uint32_t grfPI, std::uintptr_t dwReserved) = 0;
    virtual HRESULT Continue(const TProtocolData* pProtocolData) = 0;
    virtual HRESULT Abort(HRESULT hrReason, std::uint32_t dwOptions) = 0;
    virtual HRESULT Terminate(std::uint32_t dwOptions) = 0;
    virtual HRESULT Suspend() = 0;
    virtual HRESULT Resume() = 0;
};

class IInternetProtocol : public virtual IInternetProtocolRoot {
public:
    // S_FALSE with read 0: the end of the data.
    virtual HRESULT Read(std::span<std::uint8_t> buffer, std::uint32_t& read) = 0;
    virtual HRESULT Seek(std::int64_t move, std::uint32_t origin, std::uint64_t& newPosition) = 0;
    virtual HRESULT LockRequest(std::uint32_t dwOptions) = 0;
    virtual HRESULT UnlockRequest() = 0;
};

} // namespace browser
