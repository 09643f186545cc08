#pragma once
// The engine's context menus as a resource: one menu for each kind of place
// clicked (CONTEXT_MENU_DEFAULT ... CONTEXT_MENU_DEBUG), each entry a command
// that the engine runs (TWebBrowser::ExecMenuCommand). The engine shows the menu
// of the kind itself when its site leaves the menu to it; a host that builds its
// own context menu takes one of these, leaves out what it does not want, enables
// the rest as TWebBrowser::MenuCommandEnabled says and sends the command picked
// back to the engine.
//
// Only commands the engine can carry out are listed.

#include <cstdint>
#include <string>
#include <vector>

namespace web {

// Commands of the context menus.
enum : std::uint32_t {
    IDM_COPY = 15,
    IDM_CUT = 16,
    IDM_PASTE = 26,
    IDM_REDO = 29,
    IDM_SELECTALL = 31,
    IDM_UNDO = 43,
    IDM_OPENLINK = 2136,
    IDM_OPENINNEWWINDOW = 2137,
    IDM_VIEWSOURCE = 2139,
    IDM_COPYLINK = 2262,
    IDM_SAVETARGET = 2268,
    IDM_SAVEPICTURE = 2270,
    IDM_COPYPICTURE = 2271,
    IDM_SAVEPAGE = 2272,
    IDM_BACK = 2282,
    IDM_FORWARD = 2283,
    IDM_REFRESH = 2300,
};

struct TContextMenuEntry {
    std::uint32_t Command = 0; // 0 for a separator
    std::string Caption;
    bool IsSeparator() const { return Command == 0; }
};
using TContextMenuTemplate = std::vector<TContextMenuEntry>;

// The menus, indexed by the kind.
const std::vector<TContextMenuTemplate>& ContextMenuResource();

} // namespace web
