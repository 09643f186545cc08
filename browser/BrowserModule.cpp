#include "browser/BrowserModule.h"

#include "browser/BrowserTools.h"
#include "browser/ShellDde.h"
#include "platform/core/Ole.h"

namespace browser {

namespace {

struct ModuleState {
    bool started = false;
    bool hookInstalled = false;
    core::TFloatEnvironment savedFloat = core::TFloatEnvironment::Current();
};

ModuleState& State()
{
    static ModuleState state;
    return state;
}

struct AutoStop {
    ~AutoStop() { StopBrowserModule(); }
};

} // namespace

void StartBrowserModule()
{
    ModuleState& state = State();
    if (state.started)
        return;
    state.savedFloat = core::TFloatEnvironment::Current();
    state.hookInstalled = false;
    core::OleInitialize();
    RepairNavigationSound();
    state.started = true;
}

void StopBrowserModule()
{
    ModuleState& state = State();
    if (!state.started)
        return;
    state.savedFloat.Apply();
    core::OleUninitialize();
    ClearShellDdeNames();
    state.started = false;
}

void EnsureBrowserModule()
{
    static AutoStop stopAtExit;
    StartBrowserModule();
}

bool BrowserModuleStarted()
{
    return State().started;
}

const core::TFloatEnvironment& SavedFloatEnvironment()
{
    return State().savedFloat;
}

bool MessageHookInstalled()
{
    return State().hookInstalled;
}

void SetMessageHookInstalled(bool installed)
{
    State().hookInstalled = installed;
}

} // namespace browser
