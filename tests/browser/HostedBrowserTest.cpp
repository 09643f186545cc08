#include "browser/BrowserModule.h"
#include "browser/BrowserTools.h"
#include "platform/core/FloatControl.h"
#include "platform/core/Registry.h"
#include "platform/net/Proxy.h"
#include "tests/browser/BrowserFixture.h"

using namespace browser;
using browsertest::BrowserFixture;

namespace {

const char* const Page = R"(<html><head><title>Stažení souboru</title></head><body>
<form><input name="konverze"><select name="pruvodka"><option value="">-</option><option value="AB12">AB12</option></select>
<textarea name="poznamka"></textarea></form></body></html>)";

class HostedBrowserTest : public BrowserFixture {
protected:
    void SetUp() override
    {
        BrowserFixture::SetUp();
        server.ServeHtml("/page.html", Page);
    }
};

TEST_F(HostedBrowserTest, NewControlHoldsTheDefaults)
{
    THostedBrowser* b = Make();
    EXPECT_EQ(b->About(), DefaultUserAgentToken);
    b->SetAbout("jiné");
    EXPECT_EQ(b->About(), DefaultUserAgentToken);
    EXPECT_EQ(b->UserAgent(), DefaultUserAgentToken);
    EXPECT_EQ(b->DownloadControlFlags(), 0x70u);
    EXPECT_EQ(b->HostUIFlags(), 0u);
    EXPECT_TRUE(b->UserInterfaceOptions().empty());
    EXPECT_TRUE(b->EnableDragAndDrop());
    EXPECT_EQ(b->HelpFile(), "");
    EXPECT_EQ(b->OptionKeyPath(), "");
    EXPECT_FALSE(b->OverrideOptionKeyPath());
    EXPECT_TRUE(b->XPSP2());
    EXPECT_FALSE(b->WindowPositionFilter());

    EXPECT_TRUE(b->RightClickMenu().DisableAllMenus());
    EXPECT_TRUE(b->RightClickMenu().ImageMenu());
    EXPECT_TRUE(b->RightClickMenu().DebugMenu());
    EXPECT_FALSE(b->RightClickShortCuts().DisableBack());
    EXPECT_FALSE(b->RightClickShortCuts().DisableOpenLink());
    EXPECT_TRUE(b->ShortCuts().DisableCTRL_N());
    EXPECT_FALSE(b->ShortCuts().DisableCTRL_A());
    EXPECT_FALSE(b->ShortCuts().DisableCTRL_P());
    EXPECT_EQ(b->ProxySettings().Port(), 80);
    EXPECT_EQ(b->ProxySettings().Address(), "");
    EXPECT_FALSE(b->ProxySettings().AutoLoadProxy());
    EXPECT_FALSE(TProxySettings::IsStoredProperty("Password"));
    EXPECT_TRUE(TProxySettings::IsStoredProperty("Address"));
    EXPECT_FALSE(b->MessagesBoxes().DisableAll());
    EXPECT_TRUE(b->MessagesBoxes().InternalErrMsg()); // its declared default
    EXPECT_TRUE(b->MessagesBoxes().ReplaceCaption());
    EXPECT_TRUE(b->MessagesBoxes().ReplaceIcon());
    EXPECT_EQ(b->MessagesBoxes().NewCaption(), "");
    EXPECT_TRUE(b->DisableErrors().EnableDDE());
    EXPECT_TRUE(b->DisableErrors().fpExceptions());
    EXPECT_TRUE(b->DisableErrors().ScriptError());
    EXPECT_FALSE(b->VisualEffects().DisableSounds());
    EXPECT_EQ(b->VisualEffects().TextSize(), 2);
    EXPECT_FALSE(b->PrintOptions().Enabled());
    EXPECT_EQ(b->PrintOptions().HTMLHeader().Text(), "<HTML></HTML>\r\n");
    EXPECT_EQ(b->PrintOptions().Orientation(), TPrintOrientationOption::poPortrait);
    EXPECT_EQ(b->ReadyState(), 0);
    EXPECT_EQ(b->Document(), nullptr);
    EXPECT_TRUE(BrowserModuleStarted());
}

TEST_F(HostedBrowserTest, ViewerFormOptionsReachTheEngine)
{
    THostedBrowser* b = Make();
    b->SetUserInterfaceOptions({TUserInterfaceOption::EnablesFormsAutoComplete, TUserInterfaceOption::EnableThemes});
    b->MessagesBoxes().SetInternalErrMsg(false);
    b->PrintOptions().Margins().SetLeft(19.05);
    b->PrintOptions().SetHeader("&w&bStránka č. &p z &P");
    b->Loaded();
    EXPECT_EQ(b->HostUIFlags(), 0x44000u);
    EXPECT_EQ(b->DownloadControlFlags(), 0x70u);
    web::TDocHostUIInfo info;
    EXPECT_EQ(b->GetHostInfo(info), web::S_OK);
    EXPECT_EQ(info.cbSize, 20u);
    EXPECT_EQ(info.dwFlags, 0x44000u);
    web::TOleVariant flags;
    TDispParams none;
    EXPECT_EQ(b->Invoke(web::DISPID_AMBIENT_DLCONTROL, GUID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, none, &flags,
                        nullptr, nullptr),
              web::S_OK);
    EXPECT_EQ(flags.AsInteger(), 0x70);

    Load(b, "/page.html");
    EXPECT_EQ(b->Browser().HostFlags(), 0x44000u);
    EXPECT_EQ(b->Browser().DownloadControlFlags(), 0x70u);

    b->SetDownloadOptions({});
    EXPECT_EQ(b->DownloadControlFlags(), 0u);
    EXPECT_EQ(b->Browser().DownloadControlFlags(), 0u);
}

TEST_F(HostedBrowserTest, TheApplicationFillsThePageForm)
{
    THostedBrowser* b = Make();
    b->Loaded();
    b->Navigate(server.Url("/page.html"));
    ASSERT_TRUE(WaitUntil([&] {
        ui::Application->ProcessMessages();
        return b->ReadyState() == 4;
    }));
    auto document = b->Document();
    ASSERT_NE(document, nullptr);
    web::THTMLElement form0 = document->Forms().Item(0, "");
    web::THTMLElement field = form0.Item("konverze", "");
    ASSERT_EQ(field.TagName(), "INPUT");
    field.SetValue("K-2024/17");
    web::THTMLElement select = form0.Item("pruvodka", "");
    ASSERT_EQ(select.TagName(), "SELECT");
    select.SetValue("AB12");
    web::THTMLElement text = form0.Item("poznamka", "");
    ASSERT_EQ(text.TagName(), "TEXTAREA");
    text.SetValue("Úschovna");
    EXPECT_EQ(form0.Item("konverze").Value(), "K-2024/17");
    EXPECT_EQ(form0.Item("pruvodka").Value(), "AB12");
    EXPECT_EQ(form0.Item("poznamka").Value(), "Úschovna");
    EXPECT_FALSE(form0.Item("chybi", ""));
}

TEST_F(HostedBrowserTest, DefaultTokenStaysRegistered)
{
    THostedBrowser* b = Make();
    b->Loaded();
    EXPECT_TRUE(HasToken(DefaultUserAgentToken));
    Load(b, "/page.html");
    ASSERT_EQ(server.RequestsFor("/page.html").size(), 1u);
    EXPECT_NE(server.RequestsFor("/page.html").front().Header("User-Agent").find(
                  std::string(DefaultUserAgentToken).substr(1)),
              std::string::npos);
    delete b;
    EXPECT_TRUE(HasToken(DefaultUserAgentToken));
}

TEST_F(HostedBrowserTest, CustomTokenIsRegisteredAndRemoved)
{
    THostedBrowser* b = Make();
    b->SetUserAgent("Můj agent");
    b->Loaded();
    const std::string token = std::string("Můj agent") + DefaultUserAgentToken;
    EXPECT_EQ(b->UserAgent(), token);
    EXPECT_TRUE(HasToken(token));
    delete b;
    EXPECT_FALSE(HasToken(token));
}

class ProxyRestorer {
public:
    ~ProxyRestorer() { net::SetProcessProxy(saved_); }

private:
    net::TProxySetting saved_ = net::CurrentProxy();
};

TEST_F(HostedBrowserTest, ProxyIsAppliedAndTheEarlierOneRestored)
{
    ProxyRestorer restore;
    const net::TProxySetting before{"earlier:8000", "<local>", "", ""};
    net::SetProcessProxy(before);

    THostedBrowser* b = Make();
    b->ProxySettings().SetAutoLoadProxy(true);
    b->ProxySettings().SetAddress("proxy.firma.cz");
    b->ProxySettings().SetPort(3128);
    b->Loaded();
    EXPECT_EQ(net::CurrentProxy().Server, "proxy.firma.cz:3128");
    EXPECT_EQ(net::CurrentProxy().Bypass, "<local>");
    delete b;
    EXPECT_EQ(net::CurrentProxy(), before);

    b = Make();
    b->ProxySettings().SetAutoLoadProxy(true);
    b->ProxySettings().SetAddress("proxy.firma.cz");
    b->ProxySettings().SetPort(8080);
    b->ProxySettings().SetUserName("novak");
    b->ProxySettings().SetPassword("tajné");
    b->Loaded();
    EXPECT_EQ(net::CurrentProxy().Server, "proxy.firma.cz:8080");
    EXPECT_EQ(net::CurrentProxy().UserName, "novak");
    EXPECT_EQ(net::CurrentProxy().Password, "tajné");
    delete b;
    EXPECT_EQ(net::CurrentProxy(), before);

    // No address: nothing set, nothing reset.
    b = Make();
    b->ProxySettings().SetAutoLoadProxy(true);
    b->Loaded();
    net::SetProcessProxy({"changed:1", "", "", ""});
    delete b;
    EXPECT_EQ(net::CurrentProxy().Server, "changed:1");
}

TEST_F(HostedBrowserTest, SoundsAreSilencedAndGivenBack)
{
    {
        core::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(std::string("\\") + NavigationSoundKey + ".Current", true));
        registry.WriteString("", "click.wav");
    }
    THostedBrowser* b = Make();
    b->VisualEffects().SetDisableSounds(true);
    b->Loaded();
    core::TRegistry registry;
    EXPECT_FALSE(registry.KeyExists(std::string("\\") + NavigationSoundKey + ".Current"));
    EXPECT_TRUE(registry.KeyExists(std::string("\\") + NavigationSoundKey + "Old_Current"));
    delete b;
    ASSERT_TRUE(registry.OpenKeyReadOnly(std::string("\\") + NavigationSoundKey + ".Current"));
    EXPECT_EQ(registry.ReadString(""), "click.wav");
    EXPECT_FALSE(registry.KeyExists(std::string("\\") + NavigationSoundKey + "Old_Current"));
}

TEST_F(HostedBrowserTest, TextSizeIsClampedAndAppliedOncePerPage)
{
    THostedBrowser* b = Make();
    b->VisualEffects().SetTextSize(7);
    b->Loaded();
    Load(b, "/page.html");
    web::TOleVariant size;
    b->ExecWB(web::OLECMDID_ZOOM, web::OLECMDEXECOPT_DONTPROMPTUSER, {}, &size);
    EXPECT_EQ(size.AsInteger(), 4);
    // The user zooms the page; asking for the command status again leaves it.
    b->ExecWB(web::OLECMDID_ZOOM, web::OLECMDEXECOPT_DONTPROMPTUSER, 1, nullptr);
    b->QueryStatus(nullptr, 0, nullptr, nullptr);
    b->ExecWB(web::OLECMDID_ZOOM, web::OLECMDEXECOPT_DONTPROMPTUSER, {}, &size);
    EXPECT_EQ(size.AsInteger(), 1);
    // The next page gets the option's size again.
    server.ServeHtml("/next.html", "<p>další</p>");
    Load(b, "/next.html");
    b->ExecWB(web::OLECMDID_ZOOM, web::OLECMDEXECOPT_DONTPROMPTUSER, {}, &size);
    EXPECT_EQ(size.AsInteger(), 4);
}

TEST_F(HostedBrowserTest, TextSizeWithoutADocumentIsLeftAlone)
{
    THostedBrowser* b = Make();
    b->VisualEffects().SetTextSize(0);
    b->ApplyTextSize(0); // nothing loaded: no range, no zoom, no error
    EXPECT_EQ(b->ReadyState(), 0);
}

TEST_F(HostedBrowserTest, FloatingPointOption)
{
    const auto start = core::TFloatEnvironment::Current();
    THostedBrowser* b = Make();
    core::UnmaskFloatExceptions(FE_DIVBYZERO);
    b->DisableErrors().SetfpExceptions(true);
    EXPECT_EQ(core::TrappingFloatExceptions(), 0);
    core::UnmaskFloatExceptions(FE_DIVBYZERO);
    b->DisableErrors().SetfpExceptions(false); // the environment saved at module start
    EXPECT_FALSE(b->DisableErrors().fpExceptions());
    EXPECT_EQ(core::TrappingFloatExceptions(), 0);
    start.Apply();
}

TEST_F(HostedBrowserTest, HooksAreInstalledOnceAndAlwaysGivenBack)
{
    int appCalls = 0;
    ui::Application->OnMessage = [&](ui::TMsg&, bool&) { ++appCalls; };
    std::vector<ui::UINT> ownerMessages;
    form->WindowProc = [&](ui::TMessage& m) { ownerMessages.push_back(m.Msg); };

    THostedBrowser* first = Make();
    THostedBrowser* second = Make();
    EXPECT_TRUE(MessageHookInstalled());
    ui::TMsg msg;
    bool handled = true;
    ui::Application->OnMessage(msg, handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(appCalls, 1); // the hook passes messages on to the handler it replaced

    first->Loaded();
    form->Perform(ui::WM_USER + 1);
    EXPECT_EQ(ownerMessages, std::vector<ui::UINT>{ui::WM_USER + 1}); // through the control's owner procedure

    delete second; // did not install the hook: leaves it
    EXPECT_TRUE(MessageHookInstalled());
    delete first;
    EXPECT_FALSE(MessageHookInstalled());
    ui::Application->OnMessage(msg, handled);
    EXPECT_EQ(appCalls, 2);
    form->Perform(ui::WM_USER + 2);
    EXPECT_EQ(ownerMessages.back(), ui::WM_USER + 2);
    ui::Application->OnMessage = nullptr;
}

TEST_F(HostedBrowserTest, WindowIsRecreatedWithoutLosingThePage)
{
    THostedBrowser* b = Make();
    form->Show();
    b->Loaded();
    Load(b, "/page.html");
    b->Document()->Forms().Item(0).Item("konverze").SetValue("zůstane");

    b->DestroyWnd();
    EXPECT_TRUE(b->HasKeptWindow());
    EXPECT_EQ(b->EngineWindow(), nullptr);
    QCoreApplication::processEvents();
    b->CreateWnd();
    EXPECT_FALSE(b->HasKeptWindow());
    ASSERT_NE(b->EngineWindow(), nullptr);
    EXPECT_EQ(b->EngineWindow()->parentWidget(), b->Widget());
    EXPECT_EQ(b->ReadyState(), 4);
    EXPECT_EQ(b->Document()->Forms().Item(0).Item("konverze").Value(), "zůstane");
    EXPECT_EQ(server.RequestsFor("/page.html").size(), 1u);

    // A kept window that Qt took away meanwhile: a new one shows the same page.
    b->DestroyWnd();
    delete b->Browser().Window();
    b->CreateWnd();
    EXPECT_EQ(b->Document()->Forms().Item(0).Item("konverze").Value(), "zůstane");
    EXPECT_EQ(server.RequestsFor("/page.html").size(), 1u);
}

} // namespace
