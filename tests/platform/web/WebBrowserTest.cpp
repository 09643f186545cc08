#include "platform/core/Exceptions.h"
#include "platform/core/Registry.h"
#include "platform/web/WebBrowser.h"
#include "tests/platform/web/WebTestSupport.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/WebTestEnvironment.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

using namespace web;
using testsupport::LocalHttpServer;
using testsupport::THttpResponse;
using testsupport::WaitUntil;

namespace {

const char* const FormPage = R"(<!DOCTYPE html>
<html><head><title>Úschovna</title></head><body>
<form name="stahnout" id="f0">
  <input type="text" name="konverze" value="původní">
  <select name="pruvodka"><option value="">-</option><option value="A1">A1</option><option value="B&quot;2">B"2</option></select>
  <textarea name="poznamka">řádek</textarea>
  <div name="obal">x</div>
  <input type="radio" name="volba" value="1"><input type="radio" name="volba" value="2">
  <input type="hidden" name="zmeny" value="">
</form>
<form name="druhy"><input name="pole" id="pole2" value="v druhém"></form>
<script>
  document.querySelector('[name=konverze]').addEventListener('change', function () {
    document.querySelector('[name=zmeny]').value += 'change;';
  });
</script>
</body></html>)";

class RecordingSite : public IWebHostSite {
public:
    std::uint32_t download = DefaultDownloadControl;
    std::uint32_t hostFlags = 0;
    std::vector<std::string> messages;
    std::vector<std::uint32_t> messageTypes;
    std::vector<TKeyMessage> keys;
    std::vector<std::string> newWindows;
    HRESULT newWindowAnswer = E_FAIL;
    std::vector<TDownloadInfo> downloads;
    HRESULT downloadAnswer = S_OK;
    std::vector<std::map<std::string, std::string>> scriptErrors;
    int queryStatusCalls = 0;
    TWebBrowser* engine = nullptr;

    HRESULT GetHostInfo(TDocHostUIInfo& info) override
    {
        info.dwFlags = hostFlags;
        return S_OK;
    }
    HRESULT GetAmbientProperty(std::int32_t dispId, TOleVariant& value) override
    {
        if (dispId != DISPID_AMBIENT_DLCONTROL)
            return DISP_E_MEMBERNOTFOUND;
        value = static_cast<std::int32_t>(download);
        return S_OK;
    }
    HRESULT ShowMessage(const std::string& text, const std::string&, std::uint32_t type, std::int32_t& result) override
    {
        messages.push_back(text);
        messageTypes.push_back(type);
        result = IDOK;
        return S_OK;
    }
    HRESULT TranslateAccelerator(const TKeyMessage& message) override
    {
        keys.push_back(message);
        return message.Ctrl && message.VirtualKey == 'N' ? S_OK : S_FALSE;
    }
    HRESULT EvaluateNewWindow(const std::string& url, const std::string&, const std::string&, const std::string&, bool,
                              std::uint32_t, std::uint32_t) override
    {
        newWindows.push_back(url);
        return newWindowAnswer;
    }
    HRESULT Download(const TDownloadInfo& info) override
    {
        downloads.push_back(info);
        return downloadAnswer;
    }
    HRESULT QueryStatus() override
    {
        ++queryStatusCalls;
        return S_OK;
    }
    HRESULT Exec(TCommandGroup group, std::uint32_t id, std::uint32_t, const TOleVariant&, TOleVariant&) override
    {
        if (group == TCommandGroup::DocHostCommandHandler && id == OLECMDID_SHOWSCRIPTERROR && engine) {
            auto event = engine->Document()->ParentWindow().Event();
            std::map<std::string, std::string> error;
            for (const char* name : {"errorLine", "errorCharacter", "errorCode", "errorMessage", "errorUrl"})
                error[name] = event->GetProperty(name).AsString();
            scriptErrors.push_back(error);
            return S_OK;
        }
        return OLECMDERR_E_NOTSUPPORTED;
    }
};

class WebBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        site.engine = &browser;
        browser.Window()->resize(640, 480);
        server.ServeHtml("/form.html", FormPage);
        server.ServeHtml("/other.html", "<html><head><title>Jiná</title></head><body>jiná</body></html>");
    }
    void Load(const std::string& path)
    {
        browser.Navigate(server.Url(path));
        ASSERT_TRUE(WaitUntil([&] { return browser.ReadyState() == READYSTATE_COMPLETE; })) << path;
    }
    int RequestsFor(const std::string& path) const { return static_cast<int>(server.RequestsFor(path).size()); }

    testsupport::TempConfigHome config;
    LocalHttpServer server;
    RecordingSite site;
    TWebBrowser browser{&site};
};

TEST_F(WebBrowserTest, ReadyStateFollowsTheNavigation)
{
    EXPECT_EQ(browser.ReadyState(), READYSTATE_UNINITIALIZED);
    EXPECT_EQ(browser.Document(), nullptr);
    std::vector<std::string> events;
    browser.OnBeforeNavigate2 = [&](const std::string& url, std::uint32_t, const std::string&, const std::string&,
                                    const std::string&, bool&) { events.push_back("before " + url); };
    browser.OnNavigateComplete2 = [&](const std::string&) { events.push_back("navigated"); };
    browser.OnDocumentComplete = [&](const std::string& url) { events.push_back("complete " + url); };
    std::string title;
    browser.OnTitleChange = [&](const std::string& text) { title = text; };

    browser.Navigate(server.Url("/form.html"));
    EXPECT_EQ(browser.ReadyState(), READYSTATE_LOADING);
    EXPECT_TRUE(browser.Busy());
    ASSERT_NE(browser.Document(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return browser.ReadyState() == READYSTATE_COMPLETE; }));
    EXPECT_FALSE(browser.Busy());
    EXPECT_EQ(title, "Úschovna");
    EXPECT_EQ(browser.LocationName(), "Úschovna");
    EXPECT_EQ(browser.LocationURL(), server.Url("/form.html"));
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0], "before " + server.Url("/form.html"));
    EXPECT_EQ(events[1], "navigated");
    EXPECT_EQ(events[2], "complete " + server.Url("/form.html"));
    EXPECT_EQ(site.queryStatusCalls, 1);
}

TEST_F(WebBrowserTest, InteractiveBeforeTheImagesHaveCome)
{
    THttpResponse slowImage{200, "image/gif", "GIF89a", {}, 1500};
    server.Serve("/slow.gif", slowImage);
    server.ServeHtml("/slow.html", "<html><body><img src='/slow.gif'></body></html>");
    browser.Navigate(server.Url("/slow.html"));
    EXPECT_TRUE(WaitUntil([&] { return browser.ReadyState() == READYSTATE_INTERACTIVE; }));
    EXPECT_EQ(browser.Document()->ReadyState(), "interactive");
    EXPECT_TRUE(WaitUntil([&] { return browser.ReadyState() == READYSTATE_COMPLETE; }));
    EXPECT_EQ(browser.Document()->ReadyState(), "complete");
}

TEST_F(WebBrowserTest, RefusedAddressesRaise)
{
    EXPECT_THROW(browser.Navigate(""), core::EOleError);
    EXPECT_THROW(browser.Navigate("http://[bad"), core::EOleError);
    EXPECT_EQ(browser.ReadyState(), READYSTATE_UNINITIALIZED);
}

TEST_F(WebBrowserTest, CancelledNavigationEndsComplete)
{
    browser.OnBeforeNavigate2 = [](const std::string&, std::uint32_t, const std::string&, const std::string&,
                                   const std::string&, bool& cancel) { cancel = true; };
    browser.Navigate(server.Url("/form.html"));
    EXPECT_TRUE(WaitUntil([&] { return browser.ReadyState() == READYSTATE_COMPLETE; }));
    EXPECT_EQ(RequestsFor("/form.html"), 0);
}

TEST_F(WebBrowserTest, FormsAndTheirFieldsAreReadAndWritten)
{
    Load("/form.html");
    auto document = browser.Document();
    EXPECT_EQ(document->Title(), "Úschovna");
    EXPECT_EQ(document->Url(), server.Url("/form.html"));
    THTMLElementCollection forms = document->Forms();
    EXPECT_EQ(forms.Length(), 2);

    THTMLElement form = forms.Item(0, "");
    ASSERT_TRUE(form);
    EXPECT_EQ(form.TagName(), "FORM");
    EXPECT_EQ(form.Name(), "stahnout");
    EXPECT_EQ(forms.Item("druhy").Name(), "druhy");
    EXPECT_EQ(forms.Item("f0").Name(), "stahnout");
    EXPECT_FALSE(forms.Item(5));
    EXPECT_FALSE(forms.Item("zadny"));

    THTMLElement input = form.Item("konverze", "");
    ASSERT_TRUE(input);
    EXPECT_EQ(input.TagName(), "INPUT");
    EXPECT_EQ(input.Value(), "původní");
    input.SetValue("12/2024 \"ověřeno\" \\ </script>");
    EXPECT_EQ(form.Item("konverze").Value(), "12/2024 \"ověřeno\" \\ </script>");
    // The page's scripts hear of the change.
    EXPECT_EQ(form.Item("zmeny").Value(), "change;");

    THTMLElement select = form.Item("pruvodka");
    EXPECT_EQ(select.TagName(), "SELECT");
    EXPECT_EQ(select.Value(), "");
    select.SetValue("B\"2");
    EXPECT_EQ(select.Value(), "B\"2");

    THTMLElement text = form.Item("poznamka");
    EXPECT_EQ(text.TagName(), "TEXTAREA");
    EXPECT_EQ(text.Value(), "řádek");
    text.SetValue("první\ndruhý");
    EXPECT_EQ(text.Value(), "první\ndruhý");

    // Several controls of one name: the index chooses.
    EXPECT_EQ(form.Item("volba", 1).GetAttribute("value"), "2");
    EXPECT_EQ(form.Item("volba").GetAttribute("value"), "1");
    EXPECT_EQ(form.Elements().Length(), 6); // the controls, not the DIV
    EXPECT_EQ(form.Elements().Item(0).Name(), "konverze");

    EXPECT_FALSE(form.Item("chybi"));
    EXPECT_EQ(document->GetElementById("pole2").Value(), "v druhém");
    EXPECT_FALSE(document->GetElementById("nic"));
}

TEST_F(WebBrowserTest, ElementsWithoutAValueRefuseIt)
{
    Load("/form.html");
    THTMLElement form = browser.Document()->Forms().Item(0);
    EXPECT_FALSE(form.Item("obal")); // not a control of the form
    try {
        form.Value();
        FAIL() << "no error";
    } catch (const core::EOleError& e) {
        EXPECT_EQ(e.Message(), "Prvek FORM nemá hodnotu.");
    }
    EXPECT_THROW(browser.Document()->GetElementById("f0").SetValue("x"), core::EOleError);
    EXPECT_THROW(THTMLElement().Value(), core::EOleError);
}

TEST_F(WebBrowserTest, ObjectsOfAnOldDocumentRefuseToWork)
{
    Load("/form.html");
    auto document = browser.Document();
    THTMLElement input = document->Forms().Item(0).Item("konverze");
    Load("/other.html");
    EXPECT_FALSE(document->IsCurrent());
    try {
        input.SetValue("x");
        FAIL() << "no error";
    } catch (const core::EOleError& e) {
        EXPECT_EQ(e.Message(), "Prohlížeč mezitím načetl jinou stránku.");
    }
    EXPECT_EQ(browser.Document()->Title(), "Jiná");
}

TEST_F(WebBrowserTest, ObjectsOutlivingTheEngineRefuseToWork)
{
    std::shared_ptr<THTMLDocument> document;
    {
        TWebBrowser engine;
        engine.Navigate(server.Url("/form.html"));
        ASSERT_TRUE(WaitUntil([&] { return engine.ReadyState() == READYSTATE_COMPLETE; }));
        document = engine.Document();
    }
    try {
        document->Title();
        FAIL() << "no error";
    } catch (const core::EOleError& e) {
        EXPECT_EQ(e.Message(), "Prohlížeč stránky už neexistuje.");
    }
}

TEST_F(WebBrowserTest, ScriptsThatTakeTooLongTimeOut)
{
    Load("/other.html");
    EXPECT_EQ(browser.Evaluate("6 * 7").AsInteger(), 42);
    EXPECT_EQ(browser.Evaluate("'a' + 'b'").AsString(), "ab");
    browser.SetScriptTimeoutMs(1);
    try {
        browser.Evaluate("(function(){ var t = Date.now(); while (Date.now() - t < 300) {} return 1; })()");
        FAIL() << "no error";
    } catch (const core::EOleError& e) {
        EXPECT_EQ(e.Message(), "Stránka neodpověděla včas.");
    }
    browser.SetScriptTimeoutMs(10000);
    EXPECT_EQ(browser.Evaluate("1").AsInteger(), 1);
}

TEST_F(WebBrowserTest, DownloadFlagsSwitchImagesAndScripts)
{
    server.Serve("/pic.gif", THttpResponse{200, "image/gif", "GIF89a", {}, 0});
    server.ServeHtml("/media.html",
                     "<html><head><title>bez</title></head><body><img src='/pic.gif'>"
                     "<script>document.title = 'skript';</script></body></html>");
    site.download = DLCTL_DLIMAGES | DLCTL_VIDEOS | DLCTL_BGSOUNDS; // 0x70
    Load("/media.html");
    EXPECT_EQ(browser.DownloadControlFlags(), 0x70u);
    EXPECT_EQ(browser.Document()->Title(), "skript");
    EXPECT_EQ(RequestsFor("/pic.gif"), 1);

    site.download = DLCTL_NO_SCRIPTS; // neither images nor scripts
    browser.AmbientPropertyChanged(DISPID_AMBIENT_DLCONTROL);
    EXPECT_EQ(browser.DownloadControlFlags(), 0x80u);
    server.ClearRequests();
    browser.Navigate(server.Url("/media.html?2"));
    ASSERT_TRUE(WaitUntil([&] { return browser.ReadyState() == READYSTATE_COMPLETE; }));
    EXPECT_EQ(browser.Document()->Title(), "bez");
    EXPECT_EQ(RequestsFor("/pic.gif"), 0);
}

TEST_F(WebBrowserTest, HostFlagsAreAskedBeforeNavigation)
{
    site.hostFlags = DOCHOSTUIFLAG_ENABLE_FORMS_AUTOCOMPLETE | DOCHOSTUIFLAG_THEME; // 0x44000
    Load("/other.html");
    EXPECT_EQ(browser.HostFlags(), 0x44000u);
}

TEST_F(WebBrowserTest, RegisteredTokensJoinTheUserAgent)
{
    {
        core::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(UserAgentTokenKey, true));
        registry.WriteString(" Test token", "");
        registry.WriteString("Testovací", ""); // not ASCII: never sent
    }
    Load("/other.html");
    ASSERT_EQ(RequestsFor("/other.html"), 1);
    const std::string agent = server.RequestsFor("/other.html").front().Header("User-Agent");
    EXPECT_NE(agent.find("; Test token)"), std::string::npos) << agent;
    EXPECT_EQ(agent.find("Testovac"), std::string::npos) << agent;
    EXPECT_EQ(browser.UserAgent(), agent);

    EXPECT_EQ(ComposeUserAgent("Engine/1.0 (X11; Linux) Rest"), "Engine/1.0 (X11; Linux; Test token) Rest");
    {
        core::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(UserAgentTokenKey, false));
        registry.DeleteValue(" Test token");
    }
    EXPECT_EQ(ComposeUserAgent("Engine/1.0 (X11; Linux) Rest"), "Engine/1.0 (X11; Linux) Rest");
}

TEST_F(WebBrowserTest, ZoomCommandsAndTheirRange)
{
    TOleVariant out;
    EXPECT_EQ(browser.Exec(OLECMDID_GETZOOMRANGE, OLECMDEXECOPT_DONTPROMPTUSER, {}, &out), OLECMDERR_E_DISABLED);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_THROW(browser.ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 3), core::EOleError);

    Load("/other.html");
    browser.ExecWB(OLECMDID_GETZOOMRANGE, OLECMDEXECOPT_DONTPROMPTUSER, {}, &out);
    EXPECT_EQ(out.AsInteger(), 4 << 16);
    browser.ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, {}, &out);
    EXPECT_EQ(out.AsInteger(), 2);
    browser.ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 4, &out);
    EXPECT_EQ(out.AsInteger(), 4);
    EXPECT_EQ(browser.Document()->Exec(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 5, nullptr), core::E_INVALIDARG);
    EXPECT_EQ(browser.Document()->Exec(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, 0, &out), S_OK);
    EXPECT_EQ(out.AsInteger(), 0);
    EXPECT_NEAR(browser.Evaluate("window.devicePixelRatio").AsDouble(), 0.6, 0.01);
    EXPECT_EQ(browser.Exec(OLECMDID_PRINT, OLECMDEXECOPT_DONTPROMPTUSER, {}, nullptr), OLECMDERR_E_NOTSUPPORTED);
    try {
        browser.ExecWB(OLECMDID_PRINT, OLECMDEXECOPT_DONTPROMPTUSER);
        FAIL() << "no error";
    } catch (const core::EOleError& e) {
        EXPECT_EQ(e.Message(), "Příkaz prohlížeče 6 selhal (chyba 80040100).");
    }
}

TEST_F(WebBrowserTest, ScriptDialogsAndErrorsGoToTheSite)
{
    server.ServeHtml("/dialogs.html",
                     "<html><body><script>\nalert('Pozor!');\nvar ok = confirm('Pokračovat?');\n"
                     "document.title = ok ? 'ano' : 'ne';\nundefinedFunction();\n</script></body></html>");
    Load("/dialogs.html");
    ASSERT_EQ(site.messages.size(), 2u);
    EXPECT_EQ(site.messages[0], "Pozor!");
    EXPECT_EQ(site.messageTypes[0], MB_OK | MB_ICONWARNING);
    EXPECT_EQ(site.messages[1], "Pokračovat?");
    EXPECT_EQ(site.messageTypes[1], MB_OKCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(browser.LocationName(), "ano");
    ASSERT_TRUE(WaitUntil([&] { return !site.scriptErrors.empty(); }, 5000));
    EXPECT_EQ(site.scriptErrors[0]["errorLine"], "5");
    EXPECT_EQ(site.scriptErrors[0]["errorUrl"], server.Url("/dialogs.html"));
    EXPECT_NE(site.scriptErrors[0]["errorMessage"].find("undefinedFunction"), std::string::npos);
    // Outside a report the window has no event.
    EXPECT_EQ(browser.Document()->ParentWindow().Event(), nullptr);
}

TEST_F(WebBrowserTest, NewWindowsOpenHereUnlessRefused)
{
    server.ServeHtml("/opener.html", "<html><body><a id=a href='/other.html' target='_blank'>x</a></body></html>");
    Load("/opener.html");
    browser.Evaluate("document.getElementById('a').click()");
    ASSERT_TRUE(WaitUntil([&] { return browser.LocationName() == "Jiná"; }));
    // The title comes before the load ends; let it end before the next navigation.
    ASSERT_TRUE(WaitUntil([&] { return browser.ReadyState() == READYSTATE_COMPLETE; }));
    ASSERT_EQ(site.newWindows.size(), 1u);
    EXPECT_EQ(site.newWindows[0], server.Url("/other.html"));

    site.newWindowAnswer = S_FALSE;
    Load("/opener.html");
    browser.Evaluate("document.getElementById('a').click()");
    ASSERT_TRUE(WaitUntil([&] { return site.newWindows.size() == 2; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(browser.LocationURL(), server.Url("/opener.html"));
}

TEST_F(WebBrowserTest, DownloadsAreOfferedToTheSite)
{
    THttpResponse file{200, "application/octet-stream", "obsah", {{"Content-Disposition", "attachment; filename=\"soubor.zfo\""}}, 0};
    server.Serve("/soubor", file);
    bool eventRaised = false;
    browser.OnFileDownload = [&](bool, bool&) { eventRaised = true; };
    Load("/other.html");
    browser.Navigate(server.Url("/soubor"));
    ASSERT_TRUE(WaitUntil([&] { return !site.downloads.empty(); }));
    EXPECT_TRUE(eventRaised);
    EXPECT_EQ(site.downloads[0].Url, server.Url("/soubor"));
    EXPECT_EQ(site.downloads[0].SuggestedFileName, "soubor.zfo");
    EXPECT_TRUE(WaitUntil([&] { return browser.ReadyState() == READYSTATE_COMPLETE; }));
    EXPECT_EQ(browser.LocationName(), "Jiná");
}

TEST_F(WebBrowserTest, KeysAreAskedOfTheSite)
{
    Load("/form.html");
    QWidget* window = browser.Window();
    QWidget* target = window->focusProxy() ? window->focusProxy() : window;
    QKeyEvent ctrlN(QEvent::KeyPress, Qt::Key_N, Qt::ControlModifier, "n");
    QApplication::sendEvent(target, &ctrlN);
    QKeyEvent plainA(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(target, &plainA);
    ASSERT_GE(site.keys.size(), 2u);
    EXPECT_EQ(site.keys[0].VirtualKey, static_cast<std::uint32_t>('N'));
    EXPECT_TRUE(site.keys[0].Ctrl);
    EXPECT_FALSE(site.keys[0].Shift);
    EXPECT_EQ(site.keys[0].Message, WM_KEYDOWN);
    EXPECT_EQ(site.keys.back().VirtualKey, static_cast<std::uint32_t>('A'));

}

TEST_F(WebBrowserTest, TheWindowChangesParentsAndKeepsThePage)
{
    QWidget first, second;
    browser.Window()->setParent(&first);
    first.show();
    Load("/form.html");
    browser.Document()->Forms().Item(0).Item("konverze").SetValue("zachováno");

    browser.Window()->setParent(nullptr);
    browser.Window()->setParent(&second);
    second.show();
    browser.Window()->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(browser.ReadyState(), READYSTATE_COMPLETE);
    EXPECT_EQ(browser.Document()->Forms().Item(0).Item("konverze").Value(), "zachováno");
    EXPECT_EQ(RequestsFor("/form.html"), 1);
    browser.Window()->setParent(nullptr);
}

TEST_F(WebBrowserTest, TheLateEndOfTheLoadBeforeDoesNotCompleteTheNextNavigation)
{
    // The engine says that a load ended some time after it ended. A navigation
    // asked for in between must not take that word for the end of its own load.
    THttpResponse slow{200, "text/html; charset=utf-8", FormPage, {}, 800};
    server.Serve("/slow.html", slow);
    // The engine's page is made with the first navigation (its load starts later).
    browser.Navigate(server.Url("/other.html"));
    auto* view = qobject_cast<QWebEngineView*>(browser.Window());
    ASSERT_NE(view, nullptr);
    QWebEnginePage* page = view->page();
    bool firstStarted = false;
    int endsReported = 0;
    QObject::connect(page, &QWebEnginePage::loadStarted, [&] { firstStarted = true; });
    QObject::connect(page, &QWebEnginePage::loadFinished, [&] { ++endsReported; });
    bool second = false;
    bool endStillUnreported = false;
    std::vector<std::string> completedAfter;
    browser.OnDocumentComplete = [&](const std::string& url) {
        if (second)
            completedAfter.push_back(url);
    };

    bool early = false;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!second && firstStarted && !page->isLoading()) {
            endStillUnreported = endsReported == 0;
            browser.Navigate(server.Url("/slow.html"));
            second = true;
        } else if (second && browser.ReadyState() == READYSTATE_COMPLETE
                   && (completedAfter.empty() || completedAfter.back() != server.Url("/slow.html"))) {
            early = true;
        }
    });
    poll.start();
    ASSERT_TRUE(WaitUntil([&] { return second && browser.ReadyState() == READYSTATE_COMPLETE; }));
    poll.stop();
    if (!endStillUnreported)
        GTEST_SKIP() << "the engine reported the first end before the second navigation";
    EXPECT_FALSE(early);
    EXPECT_EQ(completedAfter, std::vector<std::string>{server.Url("/slow.html")});
    EXPECT_EQ(browser.Document()->Forms().Length(), 2);
}
} // namespace

int main(int argc, char** argv)
{
    testsupport::SetHeadlessWebEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
