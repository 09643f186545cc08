#pragma once
// Pop-up menus built at run time: a list of entries with command numbers, shown
// at a screen point. The program shows them as Qt menus; a test installs a
// handler that answers in place of the user.

#include "platform/core/Component.h"
#include "platform/ui/kernel/Messages.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ui {

struct TMenuItem {
    UINT Command = 0;
    std::string Caption;
    bool Separator = false;
    bool Enabled = true;
    std::vector<TMenuItem> SubMenu;
    // Runs when the item is picked in a TPopupMenu (the menu is the sender).
    core::TNotifyEvent OnClick;
};
using TMenu = std::vector<TMenuItem>;

inline TMenuItem MenuItem(UINT command, std::string caption)
{
    TMenuItem item;
    item.Command = command;
    item.Caption = std::move(caption);
    return item;
}

inline TMenuItem MenuSeparator()
{
    TMenuItem item;
    item.Separator = true;
    return item;
}

inline TMenuItem SubMenu(std::string caption, std::vector<TMenuItem> items)
{
    TMenuItem item;
    item.Caption = std::move(caption);
    item.SubMenu = std::move(items);
    return item;
}

// Removes every entry with the command, in sub-menus too; true when one was there.
bool DeleteMenu(TMenu& menu, UINT command);
// The commands of a menu and its sub-menus, in order (separators left out).
std::vector<UINT> MenuCommands(const TMenu& menu);

inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_RETURNCMD = 0x0100;
inline constexpr UINT TPM_HORPOSANIMATION = 0x0400;
inline constexpr UINT TPM_VERPOSANIMATION = 0x1000;

// Shows the menu at the screen point and waits for the user. With TPM_RETURNCMD the
// command picked is answered (0 for none); without it the owner is sent WM_COMMAND
// with the command and the answer is non-zero when one was picked.
UINT TrackPopupMenuEx(const TMenu& menu, UINT flags, int x, int y, HWND owner);

// Answers a shown menu with the command picked (0: none).
using TPopupMenuHandler = std::function<UINT(const TMenu& menu, TPoint point, HWND owner)>;
// Installs a handler and answers the one it replaces; an empty one shows Qt menus again.
TPopupMenuHandler SetPopupMenuHandler(TPopupMenuHandler handler);

// The class library's pop-up menu component: its items open at a screen point,
// by Popup or by the context-menu gesture over a control whose PopupMenu it is,
// and the item picked runs its OnClick.
class TPopupMenu : public core::TComponent {
public:
    explicit TPopupMenu(core::TComponent* owner) : core::TComponent(owner) {}
    std::string ClassName() const override { return "TPopupMenu"; }

    TMenu& Items() { return items_; }
    const TMenu& Items() const { return items_; }
    // True: the context-menu gesture over a control opens the menu.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool autoPopup) { autoPopup_ = autoPopup; }
    // The control over which the menu was last opened by the gesture.
    core::TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(core::TComponent* component);

    // Runs OnPopup, shows the items at the screen point and runs the OnClick of the item picked.
    virtual void Popup(int x, int y);
    core::TNotifyEvent OnPopup;

protected:
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    TMenu items_;
    bool autoPopup_ = true;
    core::TComponent* popupComponent_ = nullptr;
};

} // namespace ui
