#include "platform/web/ContextMenu.h"

namespace web {

namespace {

const TContextMenuEntry Separator{};

TContextMenuTemplate PageMenu()
{
    return {
        {IDM_BACK, "Zpět"},
        {IDM_FORWARD, "Vpřed"},
        Separator,
        {IDM_SAVEPAGE, "Uložit stránku jako…"},
        Separator,
        {IDM_SELECTALL, "Vybrat vše"},
        {IDM_PASTE, "Vložit"},
        Separator,
        {IDM_VIEWSOURCE, "Zobrazit zdrojový kód"},
        Separator,
        {IDM_REFRESH, "Znovu načíst"},
    };
}

TContextMenuTemplate ImageMenu()
{
    return {
        {IDM_OPENLINK, "Otevřít odkaz"},
        {IDM_OPENINNEWWINDOW, "Otevřít odkaz v novém okně"},
        Separator,
        {IDM_SAVEPICTURE, "Uložit obrázek jako…"},
        {IDM_COPYPICTURE, "Kopírovat obrázek"},
        Separator,
        {IDM_COPYLINK, "Kopírovat adresu odkazu"},
        Separator,
        {IDM_REFRESH, "Znovu načíst"},
    };
}

TContextMenuTemplate ControlMenu()
{
    return {
        {IDM_UNDO, "Zpět"},
        {IDM_REDO, "Znovu"},
        Separator,
        {IDM_CUT, "Vyjmout"},
        {IDM_COPY, "Kopírovat"},
        {IDM_PASTE, "Vložit"},
        Separator,
        {IDM_SELECTALL, "Vybrat vše"},
    };
}

TContextMenuTemplate SelectionMenu()
{
    return {
        {IDM_COPY, "Kopírovat"},
        Separator,
        {IDM_SELECTALL, "Vybrat vše"},
        Separator,
        {IDM_VIEWSOURCE, "Zobrazit zdrojový kód"},
    };
}

TContextMenuTemplate AnchorMenu()
{
    return {
        {IDM_OPENLINK, "Otevřít odkaz"},
        {IDM_OPENINNEWWINDOW, "Otevřít odkaz v novém okně"},
        {IDM_SAVETARGET, "Uložit cíl jako…"},
        Separator,
        {IDM_COPY, "Kopírovat"},
        {IDM_COPYLINK, "Kopírovat adresu odkazu"},
        Separator,
        {IDM_REFRESH, "Znovu načíst"},
    };
}

} // namespace

const std::vector<TContextMenuTemplate>& ContextMenuResource()
{
    // Default, image, control, table, selected text, anchor, unknown,
    // dynamic-source image, image art, debug.
    static const std::vector<TContextMenuTemplate> menus{
        PageMenu(), ImageMenu(), ControlMenu(), PageMenu(), SelectionMenu(),
        AnchorMenu(), PageMenu(), ImageMenu(), ImageMenu(), PageMenu(),
    };
    return menus;
}

} // namespace web
