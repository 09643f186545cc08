#pragma once
// Free-standing routines of the browser control: commands and zoom of the
// loaded document, the process proxy, the user-agent token and the navigation
// sound in the current user's registry, system tests, item-ID lists, the status
// texts of drag-and-drop results and the help launcher.

#include "platform/core/Ole.h"
#include "platform/web/HtmlDocument.h"
#include "platform/web/OleVariant.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace browser {

// One fixed text, beginning with a single blank: the default of the control's
// About and UserAgent, and the suffix appended to a custom user agent.
extern const char* const DefaultUserAgentToken;

// Registry keys (under the current user) that the tools change.
extern const char* const UserAgentTokenKey;
extern const char* const NavigationSoundKey;

// --- document commands and zoom

bool SupportsHtmlDocument(const web::THTMLDocument* document);
// Runs an engine command on the document; never raises, the result is not examined.
void ExecDocumentCommand(const web::THTMLDocument* document, std::uint32_t commandId, std::uint32_t execOption,
                         const web::TOleVariant& in, web::TOleVariant* out);
// The engine's zoom range (minimum, maximum); nothing when the engine does not report it.
std::optional<std::pair<int, int>> GetZoomRange(const web::THTMLDocument* document);
// The low and high half of the range; 0 when it is not reported.
int GetZoomMin(const web::THTMLDocument* document);
int GetZoomMax(const web::THTMLDocument* document);
// Sets the zoom step, clamped to the range; a document without a range is left alone.
void SetDocumentZoom(const web::THTMLDocument* document, int size);

// --- proxy of the process (the bypass list is "<local>")

void ApplyProcessProxy(const std::string& userAgent, const std::string& proxy);
// The server with its port and the credentials; an empty server means a direct connection.
void ApplyProcessProxyWithLogin(const std::string& userAgent, const std::string& server, const std::string& userName,
                                const std::string& password, int port);

// --- registry

// A user agent other than the default token gets the default token appended; the
// result is registered as a value of the token key.
void RegisterUserAgentToken(std::string& userAgent);
void UnregisterUserAgentToken(const std::string& userAgent);
// off: the active sound key ".Current" is moved to "Old_Current"; on: moved back.
// A move never overwrites a key that is already there.
void SwitchNavigationSound(bool off);
// A sound left switched off by a process that ended without switching it back
// (no ".Current", an "Old_Current") is switched back on.
void RepairNavigationSound();

// --- system

bool IsWinXPSP2OrLater();
bool IsLocaleInches();

// --- item-ID lists: items each starting with a 16-bit byte count that includes itself, ended by a 16-bit 0

using PItemIDList = std::uint8_t*;
PItemIDList PidlNext(PItemIDList item);
std::size_t PidlSize(const std::uint8_t* list);
PItemIDList PidlAllocZeroed(std::size_t size);
PItemIDList PidlCopy(const std::uint8_t* list);
void PidlFree(PItemIDList list);

// --- drag and drop

std::string DragDropStatusText(std::uint32_t code);

// --- shell execution (explore or search a folder)

inline constexpr std::uint32_t SEE_MASK_CLASSNAME = 0x1;
inline constexpr std::uint32_t SEE_MASK_IDLIST = 0x4;

struct TShellExecuteInfo {
    std::uint32_t Mask = 0;
    std::string Verb;
    std::string File;
    std::string Class;
    std::vector<std::uint8_t> IDList; // with SEE_MASK_IDLIST
    int Show = 1;
};
// Opens the folder named by the file or the item-ID list in the desktop's file manager
// (it has no search of its own: "find" opens the folder too); true when it was started.
bool ShellExecuteEx(const TShellExecuteInfo& info);
// Replaces the shell execution (for tests); an empty one restores the desktop's.
void SetShellExecuteHandler(std::function<bool(const TShellExecuteInfo& info)> handler);

// --- help and the shell's shared memory

// Opens a help file with the desktop's viewer; answers non-zero when it was started.
std::intptr_t CallHtmlHelp(void* window, const std::string& file, std::uint32_t command, std::uintptr_t data);
// Replaces the launcher that opens files (for tests); an empty one restores the desktop's.
void SetFileLauncher(std::function<bool(const std::string& file)> launcher);
// The shell's shared memory (platform/ui/kernel/ShellItems.h): blocks by number and process.
const void* ShellLockShared(std::uintptr_t handle, std::uint32_t processId);
bool ShellUnlockShared(std::uintptr_t handle, std::uint32_t processId);
bool ShellFreeShared(std::uintptr_t handle, std::uint32_t processId);
void CommonControlsFree(void* address);

} // namespace browser
