#include "browser/BrowserTools.h"

#include "platform/core/Registry.h"
#include "platform/core/SystemInfo.h"
#include "platform/net/Proxy.h"
#include "platform/ui/kernel/ShellItems.h"
#include "platform/web/HostSite.h"
#include "platform/web/WebBrowser.h"

#include <QProcess>
#include <QString>

#include <cstdlib>
#include <cstring>

namespace browser {

const char* const DefaultUserAgentToken = " KonverzeBrowser";
const char* const UserAgentTokenKey = web::UserAgentTokenKey;
const char* const NavigationSoundKey = "AppEvents\\Schemes\\Apps\\Explorer\\Navigating\\";

namespace {

std::function<bool(const std::string&)>& FileLauncher()
{
    static std::function<bool(const std::string&)> launcher;
    return launcher;
}

} // namespace

// --- document commands and zoom

bool SupportsHtmlDocument(const web::THTMLDocument* document)
{
    return document != nullptr;
}

void ExecDocumentCommand(const web::THTMLDocument* document, std::uint32_t commandId, std::uint32_t execOption,
                         const web::TOleVariant& in, web::TOleVariant* out)
{
    if (!SupportsHtmlDocument(document))
        return;
    try {
        document->Exec(commandId, execOption, in, out);
    } catch (...) {
        // A document command never fails its caller.
    }
}

std::optional<std::pair<int, int>> GetZoomRange(const web::THTMLDocument* document)
{
    web::TOleVariant out;
    ExecDocumentCommand(document, web::OLECMDID_GETZOOMRANGE, web::OLECMDEXECOPT_DONTPROMPTUSER, {}, &out);
    if (!out.IsInteger())
        return std::nullopt;
    const auto range = static_cast<std::uint32_t>(out.AsInteger());
    return std::make_pair(static_cast<int>(range & 0xFFFFu), static_cast<int>(range >> 16));
}

int GetZoomMin(const web::THTMLDocument* document)
{
    const auto range = GetZoomRange(document);
    return range ? range->first : 0;
}

int GetZoomMax(const web::THTMLDocument* document)
{
    const auto range = GetZoomRange(document);
    return range ? range->second : 0;
}

void SetDocumentZoom(const web::THTMLDocument* document, int size)
{
    // Without a reported range there is nothing to clamp to: a document that
    // cannot tell its range is not zoomed at all (rather than to step 0).
    const auto range = GetZoomRange(document);
    if (!range)
        return;
    const int value = size < range->first ? range->first : size > range->second ? range->second : size;
    ExecDocumentCommand(document, web::OLECMDID_ZOOM, web::OLECMDEXECOPT_DONTPROMPTUSER,
                        static_cast<std::int32_t>(value), nullptr);
}

// --- proxy

void ApplyProcessProxy(const std::string& userAgent, const std::string& proxy)
{
    (void)userAgent; // the engine sends its own user agent to the proxy
    net::SetProcessProxy({proxy, "<local>", {}, {}});
}

void ApplyProcessProxyWithLogin(const std::string& userAgent, const std::string& server, const std::string& userName,
                                const std::string& password, int port)
{
    (void)userAgent;
    // The port goes with the server: a proxy with login listens where the settings say.
    std::string text = server;
    if (!server.empty() && port > 0)
        text += ":" + std::to_string(port);
    net::SetProcessProxy({text, "<local>", server.empty() ? std::string() : userName,
                          server.empty() ? std::string() : password});
}

// --- registry

void RegisterUserAgentToken(std::string& userAgent)
{
    if (userAgent != DefaultUserAgentToken)
        userAgent += DefaultUserAgentToken;
    try {
        core::TRegistry registry;
        if (registry.OpenKey(UserAgentTokenKey, true))
            registry.WriteString(userAgent, "");
    } catch (const core::Exception&) {
        // A registry that cannot be written leaves the engine's agent as it is.
    }
}

void UnregisterUserAgentToken(const std::string& userAgent)
{
    try {
        core::TRegistry registry;
        if (registry.OpenKey(UserAgentTokenKey, false))
            registry.DeleteValue(userAgent);
    } catch (const core::Exception&) {
    }
}

void SwitchNavigationSound(bool off)
{
    try {
        core::TRegistry registry;
        const std::string from = off ? ".Current" : "Old_Current";
        const std::string to = off ? "Old_Current" : ".Current";
        if (!registry.OpenKey(std::string("\\") + NavigationSoundKey, false))
            return;
        // Never merge into a key that is there already: that would lose the saved sound.
        if (registry.KeyExists(from) && !registry.KeyExists(to))
            registry.MoveKey(from, to, true);
    } catch (const core::Exception&) {
    }
}

void RepairNavigationSound()
{
    SwitchNavigationSound(false);
}

// --- system

bool IsWinXPSP2OrLater()
{
    return core::PlatformVersionAtLeast(5, 1, 2, 0);
}

bool IsLocaleInches()
{
    return core::LocaleMeasuresInInches();
}

// --- item-ID lists

namespace {

std::uint16_t ItemSize(const std::uint8_t* item)
{
    std::uint16_t size;
    std::memcpy(&size, item, sizeof size);
    return size;
}

} // namespace

PItemIDList PidlNext(PItemIDList item)
{
    return item + ItemSize(item);
}

std::size_t PidlSize(const std::uint8_t* list)
{
    if (list == nullptr)
        return 0;
    std::size_t size = 2;
    for (const std::uint8_t* item = list; ItemSize(item) != 0; item += ItemSize(item))
        size += ItemSize(item);
    return size;
}

PItemIDList PidlAllocZeroed(std::size_t size)
{
    return static_cast<PItemIDList>(std::calloc(size ? size : 1, 1));
}

PItemIDList PidlCopy(const std::uint8_t* list)
{
    const std::size_t size = PidlSize(list);
    if (size == 0)
        return nullptr;
    PItemIDList copy = PidlAllocZeroed(size);
    if (copy)
        std::memcpy(copy, list, size);
    return copy;
}

void PidlFree(PItemIDList list)
{
    std::free(list);
}

// --- drag and drop

std::string DragDropStatusText(std::uint32_t code)
{
    switch (code) {
    case 0: return "Drop target cannot accept the data.";
    case 1: return "Drag source should copy the data.";
    case 2: return "Drag source should remove the data.";
    case 4: return "Drag source should create a link to the original data.";
    case 7: return "operation was successful.";
    case 0x40100: return "The drag-and-drop operation was successful.";
    case 0x40101: return "The drag-and-drop operation was canceled.";
    case 0x40102: return "Successful completion. Restoring defaults.";
    case 0x80004005: return "Unexpected error occurred.";
    case 0x80040100: return "Failed to revoke a drop target that has not been registered.";
    case 0x80040102: return "Invalid handle returned in the hwnd parameter.";
    case 0x8007000E: return "Out of memory.";
    default: return "Unknown.";
    }
}

// --- help and shared memory

std::intptr_t CallHtmlHelp(void* window, const std::string& file, std::uint32_t command, std::uintptr_t data)
{
    (void)window, (void)command, (void)data; // the desktop's viewer opens the file as a whole
    if (file.empty())
        return 0;
    if (const auto& launcher = FileLauncher())
        return launcher(file) ? 1 : 0;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(file)}) ? 1 : 0;
}

void SetFileLauncher(std::function<bool(const std::string& file)> launcher)
{
    FileLauncher() = std::move(launcher);
}

const void* ShellLockShared(std::uintptr_t handle, std::uint32_t processId)
{
    return ui::SHLockShared(handle, processId).data();
}

bool ShellUnlockShared(std::uintptr_t handle, std::uint32_t processId)
{
    return ui::SHUnlockShared(handle, processId);
}

bool ShellFreeShared(std::uintptr_t handle, std::uint32_t processId)
{
    return ui::SHFreeShared(handle, processId);
}

// --- shell execution

namespace {

std::function<bool(const TShellExecuteInfo&)>& ShellExecuteHandler()
{
    static std::function<bool(const TShellExecuteInfo&)> handler;
    return handler;
}

} // namespace

bool ShellExecuteEx(const TShellExecuteInfo& info)
{
    if (const auto& handler = ShellExecuteHandler())
        return handler(info);
    std::string folder = info.File;
    if (info.Mask & SEE_MASK_IDLIST) {
        const auto path = ui::PathFromItemIDList(info.IDList);
        if (!path)
            return false;
        folder = *path;
    }
    if (folder.empty())
        return false;
    if (const auto& launcher = FileLauncher())
        return launcher(folder);
    return QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(folder)});
}

void SetShellExecuteHandler(std::function<bool(const TShellExecuteInfo& info)> handler)
{
    ShellExecuteHandler() = std::move(handler);
}

void CommonControlsFree(void* address)
{
    (void)address; // lists from another allocator are never handed to this process
}

} // namespace browser
