#pragma once
// The window messages between the report printer and the windows that follow
// a run (a preview, the progress form, the report). They travel through the
// platform's window messages (ui::PostMessage, ui::SendMessage) to the
// window procedure of the control.

#include "platform/ui/kernel/Messages.h"

namespace report {

// Generation or printing progress; WParam the percentage.
inline constexpr ui::UINT WM_RPPROGRESS = ui::WM_USER + 0;
// A page is finished and readable; WParam the number of available pages.
inline constexpr ui::UINT WM_RPAVAILABLEPAGES = ui::WM_USER + 1;
// Asks the report to run again straight to the printer.
inline constexpr ui::UINT WM_RPPRINTREQUEST = ui::WM_USER + 2;
// The preview was closed; LParam the report printer.
inline constexpr ui::UINT WM_RPPREVIEWCLOSED = ui::WM_USER + 4;

// Lets the application handle the events now pending (posted messages among them).
void RpProcessMessages();

} // namespace report
