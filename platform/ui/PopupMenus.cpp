#include "platform/ui/PopupMenus.h"

#include "platform/ui/Windows.h"

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

} // namespace ui
