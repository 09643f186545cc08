#include "platform/ui/kernel/PopupMenus.h"

#include "platform/ui/kernel/Windows.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include <algorithm>
#include <utility>

namespace ui {

namespace {

TPopupMenuHandler& Handler()
{
    static TPopupMenuHandler handler;
    return handler;
}

// Entries removed from a menu leave separators behind: none at either end, never two together.
void Fill(QMenu& target, const TMenu& menu)
{
    bool separatorPending = false;
    for (const TMenuItem& item : menu) {
        if (item.Separator) {
            separatorPending = !target.actions().isEmpty();
            continue;
        }
        if (separatorPending)
            target.addSeparator();
        separatorPending = false;
        if (!item.SubMenu.empty()) {
            QMenu* sub = target.addMenu(QString::fromStdString(item.Caption));
            sub->setEnabled(item.Enabled);
            Fill(*sub, item.SubMenu);
            continue;
        }
        QAction* action = target.addAction(QString::fromStdString(item.Caption));
        action->setEnabled(item.Enabled);
        action->setData(item.Command);
    }
}

UINT ShowQtMenu(const TMenu& menu, TPoint point, HWND owner)
{
    QMenu qmenu(owner);
    Fill(qmenu, menu);
    if (qmenu.actions().isEmpty())
        return 0;
    QAction* chosen = qmenu.exec(QPoint(point.X, point.Y));
    return chosen != nullptr ? chosen->data().toUInt() : 0;
}

} // namespace

bool DeleteMenu(TMenu& menu, UINT command)
{
    bool found = false;
    for (TMenuItem& item : menu)
        if (!item.SubMenu.empty())
            found = DeleteMenu(item.SubMenu, command) || found;
    const auto end = std::remove_if(menu.begin(), menu.end(), [command](const TMenuItem& item) {
        return !item.Separator && item.SubMenu.empty() && item.Command == command;
    });
    found = found || end != menu.end();
    menu.erase(end, menu.end());
    return found;
}

std::vector<UINT> MenuCommands(const TMenu& menu)
{
    std::vector<UINT> commands;
    for (const TMenuItem& item : menu) {
        if (item.Separator)
            continue;
        if (!item.SubMenu.empty()) {
            const auto sub = MenuCommands(item.SubMenu);
            commands.insert(commands.end(), sub.begin(), sub.end());
        } else {
            commands.push_back(item.Command);
        }
    }
    return commands;
}

UINT TrackPopupMenuEx(const TMenu& menu, UINT flags, int x, int y, HWND owner)
{
    const TPoint point{x, y};
    const UINT command = Handler() ? Handler()(menu, point, owner) : ShowQtMenu(menu, point, owner);
    if (flags & TPM_RETURNCMD)
        return command;
    if (command != 0)
        SendMessage(owner, WM_COMMAND, MakeWParam(static_cast<WORD>(command), 0), 0);
    return command != 0 ? 1 : 0;
}

TPopupMenuHandler SetPopupMenuHandler(TPopupMenuHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

void TPopupMenu::SetPopupComponent(core::TComponent* component)
{
    if (component == popupComponent_)
        return;
    if (popupComponent_ != nullptr)
        popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = component;
    if (popupComponent_ != nullptr)
        popupComponent_->FreeNotification(this);
}

void TPopupMenu::Notification(core::TComponent* component, core::TOperation operation)
{
    core::TComponent::Notification(component, operation);
    if (operation == core::TOperation::opRemove && component == popupComponent_)
        popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y)
{
    if (OnPopup)
        OnPopup(this);
    // The items are shown numbered in order, so that the program need not give them commands.
    std::vector<const TMenuItem*> numbered;
    std::function<TMenu(const TMenu&)> number = [&](const TMenu& items) {
        TMenu shown;
        for (const TMenuItem& item : items) {
            TMenuItem copy = item;
            copy.OnClick = nullptr;
            copy.SubMenu = number(item.SubMenu);
            if (!item.Separator && item.SubMenu.empty()) {
                numbered.push_back(&item);
                copy.Command = static_cast<UINT>(numbered.size());
            }
            shown.push_back(std::move(copy));
        }
        return shown;
    };
    const TMenu shown = number(items_);
    const UINT picked = TrackPopupMenuEx(shown, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, nullptr);
    if (picked == 0 || picked > numbered.size())
        return;
    // The handler may change the items: it runs on a copy of its own.
    const core::TNotifyEvent onClick = numbered[picked - 1]->OnClick;
    if (onClick)
        onClick(this);
}

} // namespace ui
