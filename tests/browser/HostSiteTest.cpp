#include "browser/BrowserTools.h"
#include "browser/EngineSite.h"
#include "tests/browser/BrowserFixture.h"

#include "platform/ui/kernel/PopupMenus.h"
#include "platform/web/ContextMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QMimeData>
#include <QScopeGuard>

#include <algorithm>

using namespace browser;
using browsertest::BrowserFixture;

namespace {

class HostSiteTest : public BrowserFixture {};

// Stands for the engine's window when the context menu is asked for.
class EngineWindowStandIn : public IOleWindow {
public:
    explicit EngineWindowStandIn(ui::HWND window) : window_(window) {}
    HRESULT QueryInterface(const TGUID& iid, IUnknown*& object) override
    {
        object = iid == IID_IOleWindow ? static_cast<IUnknown*>(this) : nullptr;
        return object ? S_OK : E_NOINTERFACE;
    }
    HRESULT GetWindow(ui::HWND& window) override
    {
        window = window_;
        return S_OK;
    }

private:
    ui::HWND window_;
};

class DataStandIn : public IDataObject {
public:
    std::vector<std::string> formats;
    HRESULT QueryInterface(const TGUID&, IUnknown*& object) override
    {
        object = this;
        return S_OK;
    }
    HRESULT EnumFormats(std::vector<std::string>& out) override
    {
        out = formats;
        return S_OK;
    }
    HRESULT GetData(const std::string&, std::string& data) override
    {
        data = "obsah";
        return S_OK;
    }
};

// Answers the shown menus in place of the user.
class MenuAnswer {
public:
    explicit MenuAnswer(ui::UINT pick)
    {
        previous_ = ui::SetPopupMenuHandler([this, pick](const ui::TMenu& menu, ui::TPoint point, ui::HWND owner) {
            shown.push_back(ui::MenuCommands(menu));
            points.push_back(point);
            owners.push_back(owner);
            return pick;
        });
    }
    ~MenuAnswer() { ui::SetPopupMenuHandler(previous_); }
    std::vector<std::vector<ui::UINT>> shown;
    std::vector<ui::TPoint> points;
    std::vector<ui::HWND> owners;

private:
    ui::TPopupMenuHandler previous_;
};

bool Contains(const std::vector<ui::UINT>& commands, ui::UINT command)
{
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

TEST_F(HostSiteTest, ViewerFormAnswersHostInfoAndAmbientFlags)
{
    THostedBrowser* b = Make();
    b->SetUserInterfaceOptions({TUserInterfaceOption::EnablesFormsAutoComplete, TUserInterfaceOption::EnableThemes});
    b->Loaded();
    TDocHostUIInfo info;
    EXPECT_EQ(b->GetHostInfo(info), S_OK);
    EXPECT_EQ(info.cbSize, 20u);
    EXPECT_EQ(info.dwFlags, 0x44000u);
    EXPECT_EQ(info.dwDoubleClick, 0u);

    TDispParams none;
    TOleVariant flags;
    EXPECT_EQ(b->Invoke(web::DISPID_AMBIENT_DLCONTROL, GUID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, none,
                        &flags, nullptr, nullptr),
              S_OK);
    ASSERT_TRUE(flags.IsInteger());
    EXPECT_EQ(flags.AsInteger(), 0x70);
    // A method call of that number is no property get: the class library's site has no such member.
    TOleVariant result;
    EXPECT_EQ(b->Invoke(web::DISPID_AMBIENT_DLCONTROL, GUID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, none, &result,
                        nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    int invoked = 0;
    b->OnInvoke = [&](std::int32_t dispId, const TGUID&, std::int32_t, std::uint16_t, TDispParams&, TOleVariant*,
                      TExcepInfo*, std::uint32_t*) {
        invoked = dispId;
        return S_OK;
    };
    EXPECT_EQ(b->Invoke(web::DISPID_AMBIENT_DLCONTROL, GUID_NULL, 0, DISPATCH_METHOD, none, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(invoked, web::DISPID_AMBIENT_DLCONTROL);
    // The class library's site answers the user mode.
    b->OnInvoke = nullptr;
    EXPECT_EQ(b->Invoke(-709, GUID_NULL, 0, DISPATCH_PROPERTYGET, none, &result, nullptr, nullptr), S_OK);
    EXPECT_TRUE(result.AsBoolean());

    // An event on host info sees the control's answer first.
    b->OnGetHostInfo = [](TDocHostUIInfo& i) {
        i.dwFlags |= 0x8;
        return S_FALSE;
    };
    EXPECT_EQ(b->GetHostInfo(info), S_FALSE);
    EXPECT_EQ(info.dwFlags, 0x44008u);
}

TEST_F(HostSiteTest, ContextMenuAnswersByKindAndOption)
{
    THostedBrowser* b = Make();
    for (std::uint32_t kind = 0; kind <= 9; ++kind)
        EXPECT_EQ(b->ShowContextMenu(kind, nullptr, nullptr, nullptr), S_FALSE) << kind;
    b->RightClickMenu().SetImageMenu(false);
    EXPECT_EQ(b->ShowContextMenu(web::CONTEXT_MENU_IMAGE, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(b->ShowContextMenu(web::CONTEXT_MENU_ANCHOR, nullptr, nullptr, nullptr), S_FALSE);
    b->RightClickMenu().SetImageMenu(true);
    b->RightClickMenu().SetDisableAllMenus(false);
    for (std::uint32_t kind = 0; kind <= 9; ++kind)
        EXPECT_EQ(b->ShowContextMenu(kind, nullptr, nullptr, nullptr), S_OK) << kind;

    // A removed command makes the control build the menu; without the engine's window it cannot.
    b->RightClickMenu().SetDisableAllMenus(true);
    b->RightClickShortCuts().SetDisableViewSource(true);
    EXPECT_EQ(b->ShowContextMenu(web::CONTEXT_MENU_DEFAULT, nullptr, nullptr, nullptr), S_FALSE);
    EngineWindowStandIn engine(b->EngineWindow());
    EXPECT_EQ(b->ShowContextMenu(42, nullptr, &engine, nullptr), S_FALSE); // no such menu

    std::uint32_t asked = 99;
    b->OnShowContextMenu = [&](std::uint32_t kind, const ui::TPoint*, IUnknown*, IDispatch*) {
        asked = kind;
        return E_FAIL;
    };
    EXPECT_EQ(b->ShowContextMenu(web::CONTEXT_MENU_TABLE, nullptr, &engine, nullptr), E_FAIL);
    EXPECT_EQ(asked, web::CONTEXT_MENU_TABLE);
}

TEST_F(HostSiteTest, RebuiltMenuLeavesOutRemovedCommandsAndTheEngineRunsThePick)
{
    THostedBrowser* b = Make();
    b->Loaded();
    server.ServeHtml("/page.html", "<p>stránka</p>");
    Load(b, "/page.html");
    std::vector<std::int32_t> refreshes;
    b->OnRefresh = [&](core::TObject* sender, std::int32_t command, bool& cancel) {
        EXPECT_EQ(sender, b);
        refreshes.push_back(command);
        cancel = true; // the host refreshes by itself
    };
    b->RightClickShortCuts().SetDisableViewSource(true);
    b->RightClickShortCuts().SetDisableBack(true);
    MenuAnswer answer(web::IDM_REFRESH);
    EngineWindowStandIn engine(b->EngineWindow());
    const ui::TPoint point{120, 80};
    EXPECT_EQ(b->ShowContextMenu(web::CONTEXT_MENU_DEFAULT, &point, &engine, nullptr), S_OK);
    ASSERT_EQ(answer.shown.size(), 1u);
    const auto& commands = answer.shown[0];
    EXPECT_FALSE(Contains(commands, web::IDM_VIEWSOURCE));
    EXPECT_FALSE(Contains(commands, web::IDM_BACK));
    EXPECT_TRUE(Contains(commands, web::IDM_FORWARD));
    EXPECT_TRUE(Contains(commands, web::IDM_REFRESH));
    EXPECT_EQ(answer.points[0], point);
    EXPECT_EQ(answer.owners[0], b->EngineWindow());
    // The pick went to the engine's window, whose refresh asked the host first.
    ASSERT_TRUE(WaitUntil([&] { return !refreshes.empty(); }));
    EXPECT_EQ(refreshes[0], 2300);

    // The engine's own question comes to the control the same way, with its window.
    EXPECT_EQ(b->Browser().Site()->ShowContextMenu(web::CONTEXT_MENU_ANCHOR, web::TPoint{5, 6}), S_OK);
    ASSERT_EQ(answer.shown.size(), 2u);
    EXPECT_TRUE(Contains(answer.shown[1], web::IDM_OPENLINK));
    EXPECT_EQ(answer.owners[1], b->EngineWindow());
    EXPECT_EQ(answer.points[1], (ui::TPoint{5, 6}));
}

TEST_F(HostSiteTest, NoMenuAtAllWhenMenusAreSwitchedOff)
{
    THostedBrowser* b = Make();
    b->RightClickMenu().SetDisableAllMenus(false);
    b->RightClickShortCuts().SetDisableViewSource(true);
    MenuAnswer answer(0);
    EXPECT_EQ(b->Browser().Site()->ShowContextMenu(web::CONTEXT_MENU_DEFAULT, web::TPoint{1, 1}), S_OK);
    EXPECT_TRUE(answer.shown.empty());
}

// A right click on the page, as the mouse gives it to the engine; answers the
// menu that opens, the engine's or the control's own (separators as "-",
// disabled entries in brackets), or nothing.
std::vector<std::string> RightClickMenu(THostedBrowser* b, const std::string& elementId, int waitMs = 10000)
{
    auto entry = [](const std::string& text, bool enabled) { return enabled ? text : "(" + text + ")"; };
    std::vector<std::string> entries;
    const auto userWas = ui::SetPopupMenuHandler([&](const ui::TMenu& shown, ui::TPoint, ui::HWND) {
        for (const ui::TMenuItem& item : shown)
            entries.push_back(item.Separator ? "-" : entry(item.Caption, item.Enabled));
        return ui::UINT(0);
    });
    const auto restore = qScopeGuard([&] { ui::SetPopupMenuHandler(userWas); });
    const std::string centre = "(() => { const r = document.getElementById('" + elementId
        + "').getBoundingClientRect();"
          " return Math.round(r.left + r.width / 2) + ',' + Math.round(r.top + r.height / 2); })()";
    const QStringList xy = QString::fromStdString(b->Browser().Evaluate(centre).AsString()).split(',');
    const QPointF at(xy[0].toInt(), xy[1].toInt());
    QWidget* engine = b->EngineWindow()->focusProxy();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, at, engine->mapToGlobal(at), Qt::RightButton,
                          type == QEvent::MouseButtonPress ? Qt::RightButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(engine, &click);
    }
    QMenu* menu = nullptr;
    testsupport::WaitUntil(
        [&] { return !entries.empty() || (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; },
        waitMs);
    if (menu == nullptr)
        return entries;
    for (const QAction* action : menu->actions())
        entries.push_back(action->isSeparator() ? "-" : entry(action->text().toStdString(), action->isEnabled()));
    menu->close();
    return entries;
}

TEST_F(HostSiteTest, BothMenusSpeakCzechAndEnableWhatCanBeDone)
{
    THostedBrowser* b = Make();
    b->Loaded();
    form->Show();
    server.ServeHtml("/first.html", "<p>předchozí</p>");
    server.ServeHtml("/menu.html", "<p id=text>Úschovna dokumentů</p><p><a id=link href=/jinam>odkaz</a></p>"
                                   "<p><input id=field size=5 value=číslo></p>");
    Load(b, "/first.html");
    Load(b, "/menu.html"); // back in the history, nothing forward
    WaitUntilDrawn(b);
    // Every entry is the engine's own Czech one, enabled as the place, the selection,
    // the clipboard and the history allow; the control's own menu (built when it
    // removes a command, here one no menu has) shows the same.
    const struct {
        const char* element;
        const char* clipboard;
        bool selected;
        std::vector<std::string> menu;
    } places[]{
        {"text", "vložit", false,
         {"Zpět", "(Vpřed)", "-", "Uložit stránku jako…", "-", "Vybrat vše", "(Vložit)", "-", "Zobrazit zdrojový kód",
          "-", "Znovu načíst"}},
        {"link", "", false,
         {"Otevřít odkaz", "Otevřít odkaz v novém okně", "Uložit cíl jako…", "-", "(Kopírovat)",
          "Kopírovat adresu odkazu", "-", "Znovu načíst"}},
        {"field", "", false, {"(Zpět)", "(Znovu)", "-", "(Vyjmout)", "(Kopírovat)", "(Vložit)", "-", "Vybrat vše"}},
        {"field", "vložit", false, {"(Zpět)", "(Znovu)", "-", "(Vyjmout)", "(Kopírovat)", "Vložit", "-", "Vybrat vše"}},
        {"field", "", true, {"(Zpět)", "(Znovu)", "-", "Vyjmout", "Kopírovat", "(Vložit)", "-", "Vybrat vše"}},
    };
    for (const auto& place : places) {
        if (*place.clipboard != 0)
            QGuiApplication::clipboard()->setText(QString::fromUtf8(place.clipboard));
        else
            QGuiApplication::clipboard()->clear();
        for (bool own : {false, true}) {
            b->RightClickShortCuts().SetDisableCopyBkg(own);
            if (place.selected)
                b->Browser().Evaluate("(f => { f.focus(); f.select(); return 0; })(document.getElementById('field'))");
            EXPECT_EQ(RightClickMenu(b, place.element), place.menu)
                << place.element << " " << place.clipboard << (own ? ", the control's menu" : "");
        }
    }
    b->RightClickShortCuts().SetDisableCopyBkg(false);

    // The control's options still decide whether a menu comes at all.
    b->RightClickMenu().SetAnchorMenu(false);
    EXPECT_TRUE(RightClickMenu(b, "link", 1000).empty());
    EXPECT_EQ(RightClickMenu(b, "text").size(), places[0].menu.size());
    b->RightClickMenu().SetDisableAllMenus(false);
    EXPECT_TRUE(RightClickMenu(b, "text", 1000).empty());
}

TEST_F(HostSiteTest, CtrlKeysAreSwallowedOnlyAsAsked)
{
    THostedBrowser* b = Make();
    auto key = [&](ui::WORD vk, Qt::KeyboardModifiers modifiers) {
        ui::TMsg msg{b->EngineWindow(), ui::WM_KEYDOWN, vk, 1, 0, {}};
        ui::TKeyboardState state(modifiers);
        return b->TranslateAccelerator(&msg, nullptr, 0);
    };
    EXPECT_EQ(key('N', Qt::ControlModifier), S_OK);
    EXPECT_EQ(key('N', Qt::ControlModifier | Qt::ShiftModifier), S_FALSE);
    EXPECT_EQ(key('N', Qt::ControlModifier | Qt::AltModifier), S_FALSE);
    EXPECT_EQ(key('N', Qt::NoModifier), S_FALSE);
    EXPECT_EQ(key('P', Qt::ControlModifier), S_FALSE);
    b->ShortCuts().SetDisableCTRL_P(true);
    EXPECT_EQ(key('P', Qt::ControlModifier), S_OK);
    b->ShortCuts().SetDisableCTRL_N(false);
    EXPECT_EQ(key('N', Qt::ControlModifier), S_FALSE);
    for (ui::WORD letter : {'A', 'C', 'F'})
        EXPECT_EQ(key(letter, Qt::ControlModifier), S_FALSE);
    b->ShortCuts().SetDisableCTRL_A(true);
    b->ShortCuts().SetDisableCTRL_C(true);
    b->ShortCuts().SetDisableCTRL_F(true);
    for (ui::WORD letter : {'A', 'C', 'F'})
        EXPECT_EQ(key(letter, Qt::ControlModifier), S_OK);
    EXPECT_EQ(b->TranslateAccelerator(nullptr, nullptr, 0), S_FALSE);
}

TEST_F(HostSiteTest, KeysOfTheEngineWindowComeWithTheirKeyState)
{
    // Records the answers, answering as the control does.
    class Recording : public THostedBrowser {
    public:
        using THostedBrowser::THostedBrowser;
        std::vector<std::pair<ui::WPARAM, HRESULT>> answers;
        HRESULT TranslateAccelerator(const ui::TMsg* msg, const TGUID* group, std::uint32_t id) override
        {
            const HRESULT answer = THostedBrowser::TranslateAccelerator(msg, group, id);
            answers.emplace_back(msg->wParam, answer);
            return answer;
        }
    };
    auto* b = new Recording(form);
    b->SetParent(form);
    b->ShortCuts().SetDisableCTRL_P(true);
    b->Loaded();
    server.ServeHtml("/keys.html", "<p>klávesy</p>");
    Load(b, "/keys.html");
    QWidget* view = b->EngineWindow();
    QWidget* target = view->focusProxy() ? view->focusProxy() : view;
    QKeyEvent ctrlP(QEvent::KeyPress, Qt::Key_P, Qt::ControlModifier, QString(QChar(0x10)));
    QApplication::sendEvent(target, &ctrlP);
    QKeyEvent shiftCtrlP(QEvent::KeyPress, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(0x10)));
    QApplication::sendEvent(target, &shiftCtrlP);
    QKeyEvent ctrlB(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier, QString(QChar(0x02)));
    QApplication::sendEvent(target, &ctrlB);
    std::vector<HRESULT> forP;
    std::vector<HRESULT> forB;
    for (const auto& [key, answer] : b->answers) {
        if (key == 'P')
            forP.push_back(answer);
        if (key == 'B')
            forB.push_back(answer);
    }
    ASSERT_FALSE(forP.empty());
    EXPECT_EQ(forP.front(), S_OK);  // Ctrl+P swallowed
    EXPECT_EQ(forP.back(), S_FALSE); // Ctrl+Shift+P passes
    ASSERT_FALSE(forB.empty());
    EXPECT_EQ(forB.back(), S_FALSE);
}

TEST_F(HostSiteTest, OptionKeyPaths)
{
    THostedBrowser* b = Make();
    std::string key = "stará";
    EXPECT_EQ(b->GetOptionKeyPath(key, 0), S_OK);
    EXPECT_EQ(key, "");
    b->SetOptionKeyPath("Software\\Konverze\\Prohlizec");
    EXPECT_EQ(b->GetOptionKeyPath(key, 0), S_OK);
    EXPECT_EQ(key, "Software\\Konverze\\Prohlizec");
    EXPECT_EQ(b->GetOverrideKeyPath(key, 0), S_OK);
    EXPECT_EQ(key, "");
    b->SetOverrideOptionKeyPath(true);
    EXPECT_EQ(b->GetOptionKeyPath(key, 0), S_OK);
    EXPECT_EQ(key, "");
    b->OnGetOverrideKeyPath = [](std::string& path, std::uint32_t) {
        path += "\\Jine";
        return S_FALSE;
    };
    EXPECT_EQ(b->GetOverrideKeyPath(key, 0), S_FALSE);
    EXPECT_EQ(key, "Software\\Konverze\\Prohlizec\\Jine");
}

TEST_F(HostSiteTest, CommandTargetAnswersEveryQueriedCommand)
{
    THostedBrowser* b = Make();
    TOleCmd commands[3] = {{37, 99}, {2300, 99}, {40, 99}};
    EXPECT_EQ(b->QueryStatus(&CGID_Explorer, 3, commands, nullptr), S_OK);
    EXPECT_EQ(commands[0].cmdf, 0u);
    EXPECT_EQ(commands[1].cmdf, 0u);
    b->OnUnload = [](core::TObject*) {};
    b->OnRefresh = [](core::TObject*, std::int32_t, bool&) {};
    TOleCmdText text{1, "stará"};
    EXPECT_EQ(b->QueryStatus(&CGID_Explorer, 3, commands, &text), S_OK);
    EXPECT_EQ(commands[0].cmdf, OLECMDF_SUPPORTED | OLECMDF_ENABLED);
    EXPECT_EQ(commands[1].cmdf, 0u); // not a command of this group
    EXPECT_EQ(text.Text, "");
    EXPECT_EQ(b->QueryStatus(&CGID_DocHostCommandHandler, 3, commands, nullptr), S_OK);
    EXPECT_EQ(commands[0].cmdf, 0u);
    EXPECT_EQ(commands[1].cmdf, OLECMDF_SUPPORTED | OLECMDF_ENABLED);
    EXPECT_EQ(commands[2].cmdf, 0u); // no script-error handler
    EXPECT_EQ(b->QueryStatus(nullptr, 3, commands, nullptr), S_OK);
    EXPECT_EQ(commands[1].cmdf, 0u);
    // Commands announced without room for their answers are refused, not written anywhere.
    EXPECT_EQ(b->QueryStatus(&CGID_Explorer, 2, nullptr, nullptr), E_POINTER);
    EXPECT_EQ(b->QueryStatus(&CGID_Explorer, 0, nullptr, nullptr), S_OK);
}

TEST_F(HostSiteTest, CommandExecution)
{
    THostedBrowser* b = Make();
    TOleVariant out;
    EXPECT_EQ(b->Exec(nullptr, 37, 0, nullptr, &out), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(b->Exec(&CGID_Explorer, 37, 0, nullptr, &out), OLECMDERR_E_NOTSUPPORTED);
    int unloads = 0;
    b->OnUnload = [&](core::TObject* sender) {
        EXPECT_EQ(sender, b);
        ++unloads;
    };
    EXPECT_EQ(b->Exec(&CGID_Explorer, 37, 0, nullptr, &out), S_OK);
    EXPECT_EQ(unloads, 1);

    bool cancel = false;
    std::vector<std::int32_t> asked;
    b->OnRefresh = [&](core::TObject*, std::int32_t command, bool& c) {
        asked.push_back(command);
        c = cancel;
    };
    for (std::uint32_t command : {2300u, 6041u, 6042u})
        EXPECT_EQ(b->Exec(&CGID_DocHostCommandHandler, command, 0, nullptr, &out), OLECMDERR_E_NOTSUPPORTED);
    cancel = true;
    EXPECT_EQ(b->Exec(&CGID_DocHostCommandHandler, 2300, 0, nullptr, &out), S_OK);
    EXPECT_EQ(asked, (std::vector<std::int32_t>{2300, 6041, 6042, 2300}));
    EXPECT_EQ(b->Exec(&CGID_DocHostCommandHandler, 2301, 0, nullptr, &out), OLECMDERR_E_NOTSUPPORTED);
    // A script error with no page: nothing to report, the engine reports it its own way.
    b->OnScriptError = [](core::TObject*, const std::string&, const std::string&, const std::string&,
                          const std::string&, const std::string&, bool&, bool&) { FAIL(); };
    EXPECT_EQ(b->Exec(&CGID_DocHostCommandHandler, 40, 0, nullptr, nullptr), OLECMDERR_E_NOTSUPPORTED);
}

TEST_F(HostSiteTest, ScriptErrorsOfThePageReachTheEvent)
{
    THostedBrowser* b = Make();
    b->Loaded();
    struct Report {
        std::string line, character, code, message, url;
    };
    std::vector<Report> reports;
    b->OnScriptError = [&](core::TObject*, const std::string& line, const std::string& character,
                           const std::string& code, const std::string& message, const std::string& url,
                           bool& continueScript, bool& showDialog) {
        reports.push_back({line, character, code, message, url});
        EXPECT_TRUE(continueScript);
        EXPECT_TRUE(showDialog);
        showDialog = false;
    };
    server.ServeHtml("/error.html", "<html><body>\n<script>\nnedefinovano();\n</script></body></html>");
    Load(b, "/error.html");
    ASSERT_TRUE(WaitUntil([&] { return !reports.empty(); }));
    EXPECT_NE(reports[0].message.find("nedefinovano"), std::string::npos);
    EXPECT_EQ(reports[0].line, "3");
    EXPECT_EQ(reports[0].url, server.Url("/error.html"));
}

TEST_F(HostSiteTest, ServicesOfTheSite)
{
    THostedBrowser* b = Make();
    IUnknown* object = b;
    EXPECT_EQ(b->QueryService(IID_IDownloadManager, IID_IDownloadManager, object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(b->QueryService(IID_INewWindowManager, IID_INewWindowManager, object), E_NOINTERFACE);
    EXPECT_EQ(b->QueryService(SID_DocumentHost, IID_DocumentHost, object), E_NOINTERFACE);
    EXPECT_EQ(b->QueryService(IID_IDocHostShowUI, IID_IDocHostShowUI, object), S_OK);
    EXPECT_EQ(dynamic_cast<IDocHostShowUI*>(object), static_cast<IDocHostShowUI*>(b));
    EXPECT_EQ(b->QueryService(IID_IHTMLOMWindowServices, IID_IHTMLOMWindowServices, object), S_OK);
    EXPECT_NE(dynamic_cast<IHTMLOMWindowServices*>(object), nullptr);
    b->OnFileDownload = [](IMoniker*, IBindCtx*, std::uint32_t, std::int32_t, TBindInfo*, const std::string&,
                           const std::string&, std::uint32_t) { return S_OK; };
    EXPECT_EQ(b->QueryService(IID_IDownloadManager, IID_IDownloadManager, object), S_OK);
    EXPECT_NE(dynamic_cast<IDownloadManager*>(object), nullptr);
    const TGUID other = TGUID::Parse("{12345678-1234-1234-1234-123456789ABC}");
    EXPECT_EQ(b->QueryService(other, other, object), E_NOINTERFACE);
    b->OnQueryService = [&](const TGUID& service, const TGUID&, IUnknown*& obj) {
        EXPECT_EQ(obj, nullptr); // cleared before the event
        obj = b;
        return service == other ? S_OK : E_FAIL;
    };
    object = b;
    EXPECT_EQ(b->QueryService(other, other, object), S_OK);

    // The interfaces the control answers.
    for (const TGUID& iid : {IID_IDocHostUIHandler, IID_IDocHostUIHandler2, IID_IDocHostUIHandlerFocus,
                             IID_IOleCommandTarget, IID_IServiceProvider, IID_IDropTarget, IID_IInternetProtocol,
                             IID_IDispatch})
        EXPECT_EQ(b->QueryInterface(iid, object), S_OK) << iid.ToString();
    EXPECT_EQ(b->QueryInterface(IID_IOleWindow, object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(b->FocusChange(true), S_FALSE);
}

TEST_F(HostSiteTest, WindowServicesRaiseTheEvents)
{
    THostedBrowser* b = Make();
    std::vector<std::string> events;
    b->OnMove = [&](core::TObject*, int x, int y) { events.push_back("move " + std::to_string(x) + "," + std::to_string(y)); };
    b->OnMoveBy = [&](core::TObject*, int x, int y) { events.push_back("moveBy " + std::to_string(x) + "," + std::to_string(y)); };
    b->OnResize = [&](core::TObject*, int x, int y) { events.push_back("resize " + std::to_string(x) + "," + std::to_string(y)); };
    b->OnResizeBy = [&](core::TObject*, int x, int y) { events.push_back("resizeBy " + std::to_string(x) + "," + std::to_string(y)); };
    EXPECT_EQ(b->moveTo(1, 2), S_OK);
    EXPECT_EQ(b->moveBy(3, 4), S_OK);
    EXPECT_EQ(b->resizeTo(5, 6), S_OK);
    EXPECT_EQ(b->resizeBy(-7, 8), S_OK);
    EXPECT_EQ(events, (std::vector<std::string>{"move 1,2", "moveBy 3,4", "resize 5,6", "resizeBy -7,8"}));
}

TEST_F(HostSiteTest, DropEffectsByKeyState)
{
    THostedBrowser* b = Make();
    auto choose = [&](std::int32_t keys, std::uint32_t allowed) {
        b->ChooseDropEffect(keys, allowed);
        return allowed;
    };
    const std::uint32_t copy = 1, move = 2, link = 4;
    EXPECT_EQ(choose(web::MK_SHIFT, copy | move), move);
    EXPECT_EQ(choose(web::MK_SHIFT, copy), copy);
    EXPECT_EQ(choose(web::MK_SHIFT | web::MK_CONTROL, copy | move | link), link);
    EXPECT_EQ(choose(web::MK_SHIFT | web::MK_CONTROL, move), move);
    EXPECT_EQ(choose(0, copy | move), copy);
    EXPECT_EQ(choose(0, move | link), move);
    EXPECT_EQ(choose(web::MK_CONTROL, link), link);
    EXPECT_EQ(choose(0, 0), 0u);

    // DragOver chooses before its event, which sees the chosen effect and its text.
    std::vector<std::string> statuses;
    b->OnDragOver2 = [&](std::int32_t, ui::TPoint, std::int32_t& effect, const std::string& status) {
        statuses.push_back(status);
        EXPECT_EQ(effect, 2);
        return S_OK;
    };
    std::uint32_t effect = copy | move;
    EXPECT_EQ(b->DragOver(web::MK_SHIFT, {}, effect), S_OK);
    EXPECT_EQ(effect, move);
    EXPECT_EQ(statuses, std::vector<std::string>{"Drag source should remove the data."});

    // Switched off: every drag gets no effect and the window stops taking drops.
    b->SetEnableDragAndDrop(false);
    DataStandIn data;
    data.formats = {"text/plain"};
    effect = copy;
    EXPECT_EQ(b->DragEnter(&data, 0, {}, effect), S_OK);
    EXPECT_EQ(effect, 0u);
    effect = copy;
    EXPECT_EQ(b->DragOver(0, {}, effect), S_OK);
    EXPECT_EQ(effect, 0u);
    effect = copy;
    EXPECT_EQ(b->Drop(&data, 0, {}, effect), S_OK);
    EXPECT_EQ(effect, 0u);
    EXPECT_FALSE(b->Browser().RegisterAsDropTarget);
}

TEST_F(HostSiteTest, ADropWithoutDataIsRefusedBeforeAnyEvent)
{
    THostedBrowser* b = Make();
    int drops = 0;
    b->OnDropEvent = [&](IDataObject*, std::int32_t, ui::TPoint, std::int32_t&, const std::string&) {
        ++drops;
        return S_OK;
    };
    std::uint32_t effect = 1;
    EXPECT_EQ(b->Drop(nullptr, 0, {}, effect), E_INVALIDARG);
    EXPECT_EQ(effect, 0u);
    DataStandIn empty;
    effect = 1;
    EXPECT_EQ(b->Drop(&empty, 0, {}, effect), E_INVALIDARG);
    EXPECT_EQ(drops, 0);
    DataStandIn data;
    data.formats = {"text/uri-list"};
    effect = 3;
    EXPECT_EQ(b->Drop(&data, web::MK_SHIFT, {}, effect), S_OK);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(effect, 2u);
}

TEST_F(HostSiteTest, DragsOverTheEngineWindowAskTheControl)
{
    THostedBrowser* b = Make();
    b->Loaded();
    form->Show();
    server.ServeHtml("/page.html", "<p>cíl</p>");
    Load(b, "/page.html");
    QWidget* view = b->EngineWindow();
    std::vector<std::string> statuses;
    std::vector<ui::TPoint> points;
    b->OnDragEnter = [&](IDataObject* data, std::int32_t, ui::TPoint pt, std::int32_t& effect, const std::string& status) {
        std::vector<std::string> formats;
        data->EnumFormats(formats);
        EXPECT_EQ(formats, std::vector<std::string>{"text/plain"});
        statuses.push_back(status);
        points.push_back(pt);
        effect = 0; // refused
        return S_OK;
    };
    int drops = 0;
    b->OnDropEvent = [&](IDataObject*, std::int32_t, ui::TPoint, std::int32_t&, const std::string&) {
        ++drops;
        return S_OK;
    };
    QMimeData text;
    text.setText("přetažené");
    QDragEnterEvent enter(QPoint(15, 25), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &enter);
    ASSERT_EQ(statuses.size(), 1u);
    EXPECT_EQ(statuses[0], "Drag source should copy the data.");
    const QPoint screen = view->mapToGlobal(QPoint(15, 25));
    EXPECT_EQ(points[0], (ui::TPoint{screen.x(), screen.y()}));
    EXPECT_FALSE(enter.isAccepted());

    QMimeData nothing;
    QDropEvent drop(QPointF(15, 25), Qt::CopyAction, &nothing, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &drop);
    EXPECT_EQ(drops, 0);
    EXPECT_FALSE(drop.isAccepted());
}

TEST_F(HostSiteTest, DownloadsGoToTheDownloadManager)
{
    THostedBrowser* b = Make();
    b->Loaded();
    testsupport::THttpResponse file{200, "application/octet-stream", "obsah",
                                    {{"Content-Disposition", "attachment; filename=\"doklad.zfo\""}}, 0};
    server.Serve("/doklad", file);
    std::vector<std::string> names;
    std::vector<std::string> files;
    b->OnFileDownload = [&](IMoniker* moniker, IBindCtx*, std::uint32_t verb, std::int32_t, TBindInfo* info,
                            const std::string&, const std::string&, std::uint32_t codePage) {
        std::string name;
        moniker->GetDisplayName(name);
        names.push_back(name);
        if (auto* download = dynamic_cast<TDownloadMoniker*>(moniker))
            files.push_back(download->Info().SuggestedFileName);
        EXPECT_EQ(verb, 0u);
        EXPECT_NE(info, nullptr);
        EXPECT_EQ(codePage, 65001u);
        return S_OK; // taken over: the engine downloads nothing
    };
    b->Navigate(server.Url("/doklad"));
    ASSERT_TRUE(WaitUntil([&] { return !names.empty(); }));
    EXPECT_EQ(names[0], server.Url("/doklad"));
    EXPECT_EQ(files, std::vector<std::string>{"doklad.zfo"});
}

TEST_F(HostSiteTest, NewWindowsAreEvaluatedByTheEvent)
{
    THostedBrowser* b = Make();
    b->Loaded();
    server.ServeHtml("/opener.html", "<a id=a href='/novy.html' target='_blank'>nové</a>");
    server.ServeHtml("/novy.html", "<title>Nové</title>");
    std::vector<std::string> asked;
    b->OnEvaluateNewWindow = [&](const std::string& url, const std::string&, const std::string& context,
                                 const std::string&, bool, std::uint32_t, std::uint32_t) {
        asked.push_back(url);
        EXPECT_EQ(context, server.Url("/opener.html"));
        return S_FALSE; // refused
    };
    Load(b, "/opener.html");
    b->Browser().Evaluate("document.getElementById('a').click()");
    ASSERT_TRUE(WaitUntil([&] { return !asked.empty(); }));
    EXPECT_EQ(asked[0], server.Url("/novy.html"));
    QCoreApplication::processEvents();
    EXPECT_EQ(b->LocationURL(), server.Url("/opener.html"));
}

TEST_F(HostSiteTest, ScriptMessagesAndHelp)
{
    THostedBrowser* b = Make();
    std::int32_t result = 0;
    EXPECT_EQ(b->ShowMessage(nullptr, "text", "titulek", 0, "", 0, result), S_FALSE);
    b->OnShowMessage = [](ui::HWND, const std::string& text, const std::string&, std::int32_t, const std::string&,
                          std::int32_t, std::int32_t& answer) {
        answer = text == "ano?" ? 6 : 1;
        return S_OK;
    };
    EXPECT_EQ(b->ShowMessage(nullptr, "ano?", "titulek", 4, "", 0, result), S_OK);
    EXPECT_EQ(result, 6);

    std::vector<std::string> opened;
    SetFileLauncher([&](const std::string& file) {
        opened.push_back(file);
        return true;
    });
    EXPECT_EQ(b->ShowHelp(nullptr, "", 1, 0, {}, nullptr), S_FALSE);
    b->SetHelpFile("/usr/share/doc/konverze/napoveda.html");
    EXPECT_EQ(b->ShowHelp(nullptr, "", 1, 0, {}, nullptr), S_OK);
    EXPECT_EQ(opened, std::vector<std::string>{"/usr/share/doc/konverze/napoveda.html"});
    SetFileLauncher({});
}

TEST_F(HostSiteTest, ProtocolStubNegotiatesHeadersAndHasNoData)
{
    struct Negotiate : IHttpNegotiate, IServiceProvider, IInternetProtocolSink {
        std::vector<std::string> urls;
        HRESULT QueryInterface(const TGUID& iid, IUnknown*& object) override
        {
            object = iid == IID_IServiceProvider ? static_cast<IServiceProvider*>(this) : nullptr;
            return object ? S_OK : E_NOINTERFACE;
        }
        HRESULT QueryService(const TGUID& service, const TGUID&, IUnknown*& object) override
        {
            object = service == IID_IHttpNegotiate ? static_cast<IHttpNegotiate*>(this) : nullptr;
            return object ? S_OK : E_NOINTERFACE;
        }
        HRESULT BeginningTransaction(const std::string& url, const std::string& headers, std::uint32_t,
                                     std::string& additional) override
        {
            EXPECT_EQ(headers, "");
            urls.push_back(url);
            additional = "X-Ignored: 1";
            return S_OK;
        }
    } sink;
    THostedBrowser* b = Make();
    EXPECT_EQ(b->Start("http://stranka/", &sink, nullptr, 0, 0), INET_E_USE_DEFAULT_PROTOCOLHANDLER);
    EXPECT_EQ(sink.urls, std::vector<std::string>{"http://stranka/"});
    EXPECT_EQ(b->Start("http://jina/", nullptr, nullptr, 0, 0), INET_E_USE_DEFAULT_PROTOCOLHANDLER);

    std::uint8_t buffer[16] = {};
    std::uint32_t read = 99;
    EXPECT_EQ(b->Read(buffer, read), S_FALSE); // the end of the data, not "nothing yet"
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(b->Continue(nullptr), S_OK);
    EXPECT_EQ(b->Abort(E_FAIL, 0), E_NOTIMPL);
    EXPECT_EQ(b->Suspend(), E_NOTIMPL);
    EXPECT_EQ(b->Resume(), E_NOTIMPL);
    std::uint64_t position = 0;
    EXPECT_EQ(b->Seek(0, 0, position), E_NOTIMPL);
    EXPECT_EQ(b->LockRequest(0), S_OK);
    EXPECT_EQ(b->UnlockRequest(), S_OK);
    EXPECT_EQ(b->Terminate(0), S_OK);
}

TEST_F(HostSiteTest, DefaultAnswersOfTheRemainingOperations)
{
    THostedBrowser* b = Make();
    EXPECT_EQ(b->ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(b->HideUI(), S_FALSE);
    EXPECT_EQ(b->UpdateUI(), S_FALSE);
    EXPECT_EQ(b->EnableModeless(true), S_OK);
    EXPECT_EQ(b->OnDocWindowActivate(true), S_FALSE);
    EXPECT_EQ(b->OnFrameWindowActivate(true), S_FALSE);
    EXPECT_EQ(b->ResizeBorder(nullptr, nullptr, false), S_FALSE);
    IDropTarget* target = b;
    EXPECT_EQ(b->GetDropTarget(b, target), E_NOTIMPL);
    EXPECT_EQ(target, nullptr);
    IDispatch* external = b;
    EXPECT_EQ(b->GetExternal(external), S_FALSE);
    EXPECT_EQ(external, nullptr);
    std::string out;
    EXPECT_EQ(b->TranslateUrl(0, "http://a/", out), S_FALSE);
    IDataObject* filtered = nullptr;
    EXPECT_EQ(b->FilterDataObject(nullptr, filtered), S_FALSE);
    std::uint32_t count = 5;
    EXPECT_EQ(b->GetTypeInfoCount(count), E_NOTIMPL);
    EXPECT_EQ(count, 0u);
    ITypeInfo* info = nullptr;
    EXPECT_EQ(b->GetTypeInfo(0, 0, info), E_NOTIMPL);
    const std::string names[] = {"x"};
    std::int32_t ids[1] = {};
    EXPECT_EQ(b->GetIDsOfNames(GUID_NULL, names, 0, ids), E_NOTIMPL);
    EXPECT_EQ(b->EvaluateNewWindow("u", "", "", "", false, 0, 0), E_FAIL);
    EXPECT_EQ(b->Download(nullptr, nullptr, 0, 0, nullptr, "", "", 0), E_NOTIMPL);
    EXPECT_EQ(b->DragLeave(), S_OK);
    b->OnEnableModeless = [](bool) { return E_FAIL; };
    EXPECT_EQ(b->EnableModeless(false), E_FAIL);
}

TEST(GuidTest, ParseAndPrint)
{
    constexpr TGUID id = TGUID::Parse("{bd3f23c0-d43e-11cf-893b-00aa00bdce1a}");
    EXPECT_EQ(id, IID_IDocHostUIHandler);
    EXPECT_EQ(id.ToString(), "{BD3F23C0-D43E-11CF-893B-00AA00BDCE1A}");
    EXPECT_EQ(id.D1, 0xBD3F23C0u);
    EXPECT_EQ(id.D4[7], 0x1A);
    EXPECT_THROW(TGUID::Parse("BD3F23C0-D43E-11CF-893B-00AA00BDCE1A"), core::EConvertError);
    EXPECT_THROW(TGUID::Parse("{BD3F23C0-D43E-11CF-893B-00AA00BDCE1G}"), core::EConvertError);
    EXPECT_FALSE(IID_IDocHostUIHandler == IID_IDocHostUIHandler2);
}

} // namespace
