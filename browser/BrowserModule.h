#pragma once
// The browser module's process-wide state: started before the first control is
// made, stopped at the end of the process.
//
// Start saves the floating-point environment in force (which TDisableErrors
// gives back), clears the message-hook flag, initialises OLE for the thread and
// puts back a navigation sound that an earlier process left switched off.
// Stop gives back the saved floating-point environment, uninitialises OLE and
// forgets the shell's DDE names.

#include "platform/core/FloatControl.h"

namespace browser {

void StartBrowserModule();
void StopBrowserModule();
// Starts the module if it has not been started (and stops it at the process's end).
void EnsureBrowserModule();
bool BrowserModuleStarted();

const core::TFloatEnvironment& SavedFloatEnvironment();

// The application's message hook is installed (by the first control that asked).
bool MessageHookInstalled();
void SetMessageHookInstalled(bool installed);

} // namespace browser
