#pragma once
// The window messages between the report printer and the windows that follow
// a run (a preview, the progress form, the report), and the two ways of
// delivering them: posted (queued until the event loop runs) and sent (at
// once). A window is a windowed control; the message reaches its WindowProc.

#include "platform/ui/Messages.h"

namespace ui {
class TWinControl;
}

namespace report {

// Generation or printing progress; WParam the percentage.
inline constexpr ui::UINT WM_RPPROGRESS = ui::WM_USER + 0;
// A page is finished and readable; WParam the number of available pages.
inline constexpr ui::UINT WM_RPAVAILABLEPAGES = ui::WM_USER + 1;
// Asks the report to run again straight to the printer.
inline constexpr ui::UINT WM_RPPRINTREQUEST = ui::WM_USER + 2;
// The preview was closed; LParam the report printer.
inline constexpr ui::UINT WM_RPPREVIEWCLOSED = ui::WM_USER + 4;

// Queues the message for the window; the event loop delivers it when the
// window still exists then. False when there is no window (or no event loop).
bool RpPostMessage(ui::TWinControl* window, ui::UINT message, ui::WPARAM wParam = 0, ui::LPARAM lParam = 0);
// Delivers the message to the window at once and returns its result.
ui::LRESULT RpSendMessage(ui::TWinControl* window, ui::UINT message, ui::WPARAM wParam = 0, ui::LPARAM lParam = 0);
// Lets the application handle the events now pending (posted messages among them).
void RpProcessMessages();

} // namespace report
