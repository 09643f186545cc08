#pragma once
// Windows as window procedures see them: a class name, a text, a parent (or an
// owner), the process and thread they belong to and a procedure that may be
// replaced; messages sent at once and messages posted to a queue that the
// event loop drains (so Application->ProcessMessages delivers them).
//
// A window is a Qt widget. Three kinds answer here:
// - message windows made by CreateWindowEx: hidden widgets that only take messages;
// - windowed controls (TWinControl): their WindowProc is their procedure and their
//   class name the control's class;
// - any other widget (a dialog box, the web engine's view): the default procedure
//   (closing, icons), unless RegisterWindow gave it a class and a procedure of its own.
//   A dialog box (a QDialog) has the class name "#32770".
//
// Procedures run in the GUI thread. A window remembers the thread that made it,
// so a window made by another thread is told apart by GetWindowThreadProcessId;
// a message sent from another thread waits until the GUI thread has handled it.
//
// Handles travel in message parameters as numbers; a receiver checks such a
// number with IsWindow before it treats it as a window (WindowFromParam).

#include "platform/ui/kernel/Messages.h"

#include <Qt>

#include <cstdint>
#include <functional>
#include <string>

class QIcon;

namespace ui {

using SHORT = std::int16_t;
using HICON = std::uintptr_t;

inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_KEYLAST = 0x0109;
inline constexpr UINT WM_COMMAND = 0x0111;
// Messages of the class library's own controls.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 5;

// WM_ACTIVATE: the low word of WParam.
inline constexpr WORD WA_INACTIVE = 0;
inline constexpr WORD WA_ACTIVE = 1;
inline constexpr WORD WA_CLICKACTIVE = 2;
// WM_SETICON: WParam.
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;
// WM_SIZE: WParam.
inline constexpr WPARAM SIZE_RESTORED = 0;

// WM_WINDOWPOSCHANGING: the change about to be made.
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
struct TWindowPos {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
};

// --- processes and threads

DWORD GetCurrentProcessId();
// A number of the calling thread, the same for as long as the thread runs; never 0.
DWORD GetCurrentThreadId();

// --- windows

// Makes a hidden message window of the calling thread. With a parent it is a child
// of that window; without one it is a top-level window that broadcasts reach.
HWND CreateWindowEx(const std::string& className, const std::string& text, HWND parent, TWndMethod procedure);
// Frees a message window made by CreateWindowEx (any other window: False, left alone).
bool DestroyWindow(HWND window);
// Gives an existing widget a class name and a procedure (the default one when empty).
void RegisterWindow(HWND window, const std::string& className, TWndMethod procedure = {});

bool IsWindow(HWND window);
// The window a message parameter names, or null when it names none.
HWND WindowFromParam(std::uintptr_t value);
inline std::uintptr_t ParamFromWindow(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

// The class name, cut to maxCount - 1 characters (as a buffer of maxCount would hold).
std::string GetClassName(HWND window, int maxCount = 256);
std::string GetWindowText(HWND window);
bool SetWindowText(HWND window, const std::string& text);
// The parent of a child window; null for a top-level window.
HWND GetParent(HWND window);
// The owner of a top-level window (a dialog box's owner); null for a child window.
HWND GetOwnerWindow(HWND window);
// True when window is a child, grandchild... of parent (owned windows are no children).
bool IsChild(HWND parent, HWND window);
// The thread that made the window (0 for none) and, through processId, its process.
DWORD GetWindowThreadProcessId(HWND window, DWORD* processId = nullptr);

// The window's procedure, and its replacement: the previous one is answered, so the
// new procedure can pass on what it leaves alone.
TWndMethod GetWindowProc(HWND window);
TWndMethod SetWindowProc(HWND window, TWndMethod procedure);
// What a window does with a message no procedure took: WM_CLOSE closes it (frees a
// message window), WM_SETICON sets its icon; anything else answers 0.
void DefWindowProc(HWND window, TMessage& message);

// --- procedures hooked in any order

// A procedure placed in front of a window's procedure. It does its work and calls
// next for what the window should see; not calling next swallows the message.
using TSubclassProc = std::function<void(TMessage& message, const TWndMethod& next)>;
// Adds (or replaces) the hook with this id, in front of the hooks already there.
bool SetWindowSubclass(HWND window, std::uintptr_t id, TSubclassProc procedure);
// Takes the hook out, whatever the order the hooks came in; when the last one goes
// and nothing replaced the procedure meanwhile, the window's own procedure is back.
bool RemoveWindowSubclass(HWND window, std::uintptr_t id);

// --- messages

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues the message; the event loop delivers it if the window still exists then.
// False when the window does not exist now.
bool PostMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Sends the message to every top-level message window (CreateWindowEx without a parent).
void BroadcastMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Delivers the messages posted so far (the event loop does it too).
void DeliverPostedMessages();

// --- the keyboard

// The state of a key for the input being handled: the high bit is set while it is down.
// Shift, Ctrl and Alt are known (the generic and the left and right codes).
SHORT GetKeyState(int virtualKey);

// While one lives, GetKeyState answers from these modifiers: the state that came
// with the input now being handled, which need not be the state at this moment.
class TKeyboardState {
public:
    explicit TKeyboardState(Qt::KeyboardModifiers modifiers);
    ~TKeyboardState();
    TKeyboardState(const TKeyboardState&) = delete;
    TKeyboardState& operator=(const TKeyboardState&) = delete;

private:
    Qt::KeyboardModifiers saved_;
    bool hadSaved_;
};

// --- icons

// A handle of the application's icon as it is now (the icon of WM_SETICON).
HICON ApplicationIconHandle();
HICON IconHandle(const QIcon& icon);
QIcon IconFromHandle(HICON icon);

// --- dialog boxes

// From now on, a dialog box that appears deactivates its owner as it does on the
// desktop: the owner (the active window when it has none) is posted WM_ACTIVATE
// with WA_INACTIVE and the dialog box in LParam.
void EnableDialogActivationMessages();

} // namespace ui
