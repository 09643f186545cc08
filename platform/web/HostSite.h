#pragma once
// The questions the hosted web engine asks its host site, and the codes of the
// engine's commands, flags and ambient properties.
//
// The engine (TWebBrowser) asks these of the site it was created with, at the
// moments Qt WebEngine lets it decide something: before a navigation (host
// flags, download-control flags, user agent), for a context menu, for a key,
// for a script dialog, a new window, a download, a script error, and once per
// loaded page for the command status (where a site applies its text size).
// Every operation has a body that gives the engine's own behaviour, so a site
// overrides what it answers. The engine also asks before a drag reaches the page,
// before a refresh and before it leaves a document (Exec), and for help on F1.
// Operations the engine never has occasion to ask here are kept for sites that
// answer them and for callers that ask directly.

#include "platform/core/Ole.h"
#include "platform/web/OleVariant.h"

#include <cstdint>
#include <string>

class QMimeData;

namespace web {

using core::HRESULT;
using core::E_FAIL;
using core::E_NOINTERFACE;
using core::E_NOTIMPL;
using core::S_FALSE;
using core::S_OK;

constexpr HRESULT OLECMDERR_E_NOTSUPPORTED = core::MakeHResult(0x80040100u);
constexpr HRESULT OLECMDERR_E_DISABLED = core::MakeHResult(0x80040101u);
constexpr HRESULT OLECMDERR_E_UNKNOWNGROUP = core::MakeHResult(0x80040104u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = core::MakeHResult(0x80020003u);
constexpr HRESULT INET_E_USE_DEFAULT_PROTOCOLHANDLER = core::MakeHResult(0x800C0011u);

// Engine commands (ExecWB and the document's command target).
enum : std::uint32_t {
    OLECMDID_OPEN = 1,
    OLECMDID_SAVEAS = 4,
    OLECMDID_PRINT = 6,
    OLECMDID_PRINTPREVIEW = 7,
    OLECMDID_PAGESETUP = 8,
    OLECMDID_COPY = 12,
    OLECMDID_PASTE = 13,
    OLECMDID_SELECTALL = 17,
    OLECMDID_CLEARSELECTION = 18,
    OLECMDID_ZOOM = 19,
    OLECMDID_GETZOOMRANGE = 20,
    OLECMDID_REFRESH = 22,
    OLECMDID_STOP = 23,
    OLECMDID_FIND = 32,
    OLECMDID_SHOWSCRIPTERROR = 40,
    OLECMDID_OPTICAL_ZOOM = 63,
    OLECMDID_OPTICAL_GETZOOMRANGE = 64,
};
enum : std::uint32_t {
    OLECMDEXECOPT_DODEFAULT = 0,
    OLECMDEXECOPT_PROMPTUSER = 1,
    OLECMDEXECOPT_DONTPROMPTUSER = 2,
    OLECMDEXECOPT_SHOWHELP = 3,
};

// The command groups of the site's Exec.
enum class TCommandGroup { None, Explorer, DocHostCommandHandler, Other };

// Ambient properties the engine asks of the site.
enum : std::int32_t {
    DISPID_AMBIENT_DLCONTROL = -5512,
    DISPID_AMBIENT_USERAGENT = -5513,
};

// Download-control flags (the answer to DISPID_AMBIENT_DLCONTROL).
enum : std::uint32_t {
    DLCTL_DLIMAGES = 0x10,
    DLCTL_VIDEOS = 0x20,
    DLCTL_BGSOUNDS = 0x40,
    DLCTL_NO_SCRIPTS = 0x80,
    DLCTL_NO_JAVA = 0x100,
    DLCTL_NO_RUNACTIVEXCTLS = 0x200,
    DLCTL_NO_DLACTIVEXCTLS = 0x400,
    DLCTL_DOWNLOADONLY = 0x800,
    DLCTL_NO_FRAMEDOWNLOAD = 0x1000,
    DLCTL_RESYNCHRONIZE = 0x2000,
    DLCTL_PRAGMA_NO_CACHE = 0x4000,
    DLCTL_NO_BEHAVIORS = 0x8000,
    DLCTL_NO_METACHARSET = 0x10000,
    DLCTL_URL_ENCODING_DISABLE_UTF8 = 0x20000,
    DLCTL_URL_ENCODING_ENABLE_UTF8 = 0x40000,
    DLCTL_FORCEOFFLINE = 0x10000000,
    DLCTL_NO_CLIENTPULL = 0x20000000,
    DLCTL_SILENT = 0x40000000,
    DLCTL_OFFLINE = 0x80000000,
};
// The flags when the site gives none: images, videos and background sounds.
constexpr std::uint32_t DefaultDownloadControl = DLCTL_DLIMAGES | DLCTL_VIDEOS | DLCTL_BGSOUNDS;

// Host user-interface flags (GetHostInfo).
enum : std::uint32_t {
    DOCHOSTUIFLAG_DIALOG = 0x1,
    DOCHOSTUIFLAG_DISABLE_HELP_MENU = 0x2,
    DOCHOSTUIFLAG_NO3DBORDER = 0x4,
    DOCHOSTUIFLAG_SCROLL_NO = 0x8,
    DOCHOSTUIFLAG_OPENNEWWIN = 0x20,
    DOCHOSTUIFLAG_ENABLE_FORMS_AUTOCOMPLETE = 0x4000,
    DOCHOSTUIFLAG_THEME = 0x40000,
    DOCHOSTUIFLAG_LOCAL_MACHINE_ACCESS_CHECK = 0x800000,
};

// Context-menu kinds.
enum : std::uint32_t {
    CONTEXT_MENU_DEFAULT = 0,
    CONTEXT_MENU_IMAGE = 1,
    CONTEXT_MENU_CONTROL = 2,
    CONTEXT_MENU_TABLE = 3,
    CONTEXT_MENU_TEXTSELECT = 4,
    CONTEXT_MENU_ANCHOR = 5,
    CONTEXT_MENU_UNKNOWN = 6,
    CONTEXT_MENU_IMGDYNSRC = 7,
    CONTEXT_MENU_IMGART = 8,
    CONTEXT_MENU_DEBUG = 9,
};

// Key messages and the codes of a few keys.
enum : std::uint32_t {
    WM_KEYDOWN = 0x100,
    WM_KEYUP = 0x101,
    WM_CHAR = 0x102,
    WM_SYSKEYDOWN = 0x104,
    WM_SYSKEYUP = 0x105,
};
enum : std::uint32_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
    VK_F1 = 0x70,
};

// Drop effects and the key and button state of a drag.
enum : std::uint32_t {
    DROPEFFECT_NONE = 0,
    DROPEFFECT_COPY = 1,
    DROPEFFECT_MOVE = 2,
    DROPEFFECT_LINK = 4,
};
enum : std::uint32_t {
    MK_LBUTTON = 0x1,
    MK_RBUTTON = 0x2,
    MK_SHIFT = 0x4,
    MK_CONTROL = 0x8,
    MK_MBUTTON = 0x10,
    MK_ALT = 0x20,
};

// Commands the engine gives the site before it does them (Exec): in the explorer
// group, the document is being left; in the host-command group, a refresh (any
// of the three kinds) and a script error.
enum : std::uint32_t {
    CMD_EXPLORER_UNLOAD = 37,
    CMD_HOST_REFRESH = 2300,
    CMD_HOST_REFRESH_TOP = 6041,
    CMD_HOST_REFRESH_TOP_FULL = 6042,
};

// Help commands (ShowHelp).
enum : std::uint32_t { HELP_CONTEXT = 0x1 };

// Message-box kinds and answers of script dialogs.
enum : std::uint32_t {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
};
enum : std::int32_t { IDOK = 1, IDCANCEL = 2 };

struct TPoint {
    int X = 0;
    int Y = 0;
};

struct TDocHostUIInfo {
    std::uint32_t cbSize = 0;
    std::uint32_t dwFlags = 0;
    std::uint32_t dwDoubleClick = 0;
};

struct TKeyMessage {
    std::uint32_t Message = WM_KEYDOWN;
    std::uint32_t VirtualKey = 0; // letters and digits are their capital ASCII codes
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
};

// A file the engine is about to download.
struct TDownloadInfo {
    std::string Url;
    std::string SuggestedFileName;
    std::string MimeType;
    std::int64_t TotalBytes = -1; // -1: not known
};

class IWebHostSite {
public:
    virtual ~IWebHostSite() = default;

    // S_OK: the site handled it, no menu; anything else: the engine's own menu.
    virtual HRESULT ShowContextMenu(std::uint32_t kind, TPoint screenPoint)
    {
        (void)kind, (void)screenPoint;
        return S_FALSE;
    }
    // Host flags; a failure leaves the engine's defaults.
    virtual HRESULT GetHostInfo(TDocHostUIInfo& info)
    {
        (void)info;
        return E_NOTIMPL;
    }
    virtual HRESULT ShowUI(std::uint32_t id) { return (void)id, S_FALSE; }
    virtual HRESULT HideUI() { return S_FALSE; }
    virtual HRESULT UpdateUI() { return S_FALSE; }
    virtual HRESULT EnableModeless(bool enable) { return (void)enable, S_OK; }
    virtual HRESULT OnDocWindowActivate(bool activate) { return (void)activate, S_FALSE; }
    virtual HRESULT OnFrameWindowActivate(bool activate) { return (void)activate, S_FALSE; }
    // S_OK: the key is consumed before the page sees it; S_FALSE: the engine handles it.
    virtual HRESULT TranslateAccelerator(const TKeyMessage& message) { return (void)message, S_FALSE; }
    // A registry key path of the engine's options; empty when none.
    virtual HRESULT GetOptionKeyPath(std::string& key) { return key.clear(), S_OK; }
    virtual HRESULT GetOverrideKeyPath(std::string& key) { return key.clear(), S_OK; }
    // S_OK with translated set: the engine loads that address instead.
    virtual HRESULT TranslateUrl(std::uint32_t translate, const std::string& url, std::string& translated)
    {
        (void)translate, (void)url, (void)translated;
        return S_FALSE;
    }

    // A script dialog: S_OK with result set (IDOK, IDCANCEL) answers it; else the engine shows its own.
    virtual HRESULT ShowMessage(const std::string& text, const std::string& caption, std::uint32_t type, std::int32_t& result)
    {
        (void)text, (void)caption, (void)type, (void)result;
        return S_FALSE;
    }
    virtual HRESULT ShowHelp(const std::string& helpFile, std::uint32_t command, std::uint32_t data, TPoint mouse)
    {
        (void)helpFile, (void)command, (void)data, (void)mouse;
        return S_FALSE;
    }

    // Command status; asked once for every loaded page.
    virtual HRESULT QueryStatus() { return S_OK; }
    // A command of the engine; OLECMDERR_E_NOTSUPPORTED lets the engine do its own.
    virtual HRESULT Exec(TCommandGroup group, std::uint32_t commandId, std::uint32_t execOption, const TOleVariant& in,
                         TOleVariant& out)
    {
        (void)group, (void)commandId, (void)execOption, (void)in, (void)out;
        return group == TCommandGroup::None ? OLECMDERR_E_UNKNOWNGROUP : OLECMDERR_E_NOTSUPPORTED;
    }

    // A page opens a new window. S_OK or E_FAIL: allowed; S_FALSE or another failure: refused.
    virtual HRESULT EvaluateNewWindow(const std::string& url, const std::string& name, const std::string& urlContext,
                                      const std::string& features, bool replace, std::uint32_t flags,
                                      std::uint32_t userActionTime)
    {
        (void)url, (void)name, (void)urlContext, (void)features, (void)replace, (void)flags, (void)userActionTime;
        return E_FAIL;
    }
    // S_OK: the site took the download over; E_NOTIMPL: the engine downloads it itself.
    virtual HRESULT Download(const TDownloadInfo& info) { return (void)info, E_NOTIMPL; }

    // What a page's script asks of its window; the engine moves and sizes nothing itself.
    virtual HRESULT MoveTo(int x, int y) { return (void)x, (void)y, S_OK; }
    virtual HRESULT MoveBy(int x, int y) { return (void)x, (void)y, S_OK; }
    virtual HRESULT ResizeTo(int x, int y) { return (void)x, (void)y, S_OK; }
    virtual HRESULT ResizeBy(int x, int y) { return (void)x, (void)y, S_OK; }

    // A drag over the engine's window, the point in the window's own coordinates. The
    // site may change the effect; an effect of 0 (or a failure) refuses the drag, so the
    // page never sees it. Drop's data is null when the drag carries none.
    virtual HRESULT DragEnter(const QMimeData* data, std::uint32_t keyState, TPoint point, std::uint32_t& effect)
    {
        (void)data, (void)keyState, (void)point, (void)effect;
        return S_OK;
    }
    virtual HRESULT DragOver(std::uint32_t keyState, TPoint point, std::uint32_t& effect)
    {
        (void)keyState, (void)point, (void)effect;
        return S_OK;
    }
    virtual HRESULT DragLeave() { return S_OK; }
    virtual HRESULT Drop(const QMimeData* data, std::uint32_t keyState, TPoint point, std::uint32_t& effect)
    {
        (void)data, (void)keyState, (void)point, (void)effect;
        return S_OK;
    }

    // Ambient properties (DISPID_AMBIENT_*); DISP_E_MEMBERNOTFOUND lets the engine use its own.
    virtual HRESULT GetAmbientProperty(std::int32_t dispId, TOleVariant& value)
    {
        (void)dispId, (void)value;
        return DISP_E_MEMBERNOTFOUND;
    }
};

} // namespace web
