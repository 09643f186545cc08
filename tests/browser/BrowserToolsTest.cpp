#include "browser/BrowserTools.h"
#include "browser/HostedBrowserOptions.h"
#include "platform/core/Registry.h"
#include "platform/net/Proxy.h"
#include "platform/web/WebBrowser.h"
#include "tests/platform/web/WebTestSupport.h"
#include "tests/support/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace browser;
using testsupport::TempConfigHome;

namespace {

std::vector<std::string> ValueNames(const std::string& key)
{
    core::TRegistry registry;
    core::TStringList names;
    if (registry.OpenKeyReadOnly(key))
        registry.GetValueNames(names);
    std::vector<std::string> result;
    for (int i = 0; i < names.Count(); ++i)
        result.push_back(names[i]);
    return result;
}

TEST(BrowserToolsTest, DragDropStatusTexts)
{
    EXPECT_EQ(DragDropStatusText(0), "Drop target cannot accept the data.");
    EXPECT_EQ(DragDropStatusText(1), "Drag source should copy the data.");
    EXPECT_EQ(DragDropStatusText(2), "Drag source should remove the data.");
    EXPECT_EQ(DragDropStatusText(3), "Unknown.");
    EXPECT_EQ(DragDropStatusText(4), "Drag source should create a link to the original data.");
    EXPECT_EQ(DragDropStatusText(7), "operation was successful.");
    EXPECT_EQ(DragDropStatusText(0x40100), "The drag-and-drop operation was successful.");
    EXPECT_EQ(DragDropStatusText(0x40101), "The drag-and-drop operation was canceled.");
    EXPECT_EQ(DragDropStatusText(0x40102), "Successful completion. Restoring defaults.");
    EXPECT_EQ(DragDropStatusText(0x80004005), "Unexpected error occurred.");
    EXPECT_EQ(DragDropStatusText(0x80040100), "Failed to revoke a drop target that has not been registered.");
    EXPECT_EQ(DragDropStatusText(0x80040102), "Invalid handle returned in the hwnd parameter.");
    EXPECT_EQ(DragDropStatusText(0x8007000E), "Out of memory.");
}

TEST(BrowserToolsTest, ItemIdLists)
{
    EXPECT_EQ(PidlSize(nullptr), 0u);
    std::uint8_t list[22] = {};
    list[0] = 20; // one item of 20 bytes, then the terminator
    std::memset(list + 2, 0xAB, 18);
    EXPECT_EQ(PidlSize(list), 22u);
    EXPECT_EQ(PidlNext(list), list + 20);
    PItemIDList copy = PidlCopy(list);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::memcmp(copy, list, 22), 0);
    PidlFree(copy);
    EXPECT_EQ(PidlCopy(nullptr), nullptr);
    PItemIDList zeroed = PidlAllocZeroed(8);
    EXPECT_EQ(PidlSize(zeroed), 2u);
    PidlFree(zeroed);
    PidlFree(nullptr);
}

TEST(BrowserToolsTest, DefaultTokenBeginsWithOneBlank)
{
    ASSERT_GE(std::strlen(DefaultUserAgentToken), 2u);
    EXPECT_EQ(DefaultUserAgentToken[0], ' ');
    EXPECT_NE(DefaultUserAgentToken[1], ' ');
}

TEST(BrowserToolsTest, UserAgentTokensAreRegistered)
{
    TempConfigHome config;
    std::string agent = DefaultUserAgentToken;
    RegisterUserAgentToken(agent);
    EXPECT_EQ(agent, DefaultUserAgentToken);
    std::string custom = "X";
    RegisterUserAgentToken(custom);
    EXPECT_EQ(custom, std::string("X") + DefaultUserAgentToken);
    auto names = ValueNames(UserAgentTokenKey);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], DefaultUserAgentToken);
    EXPECT_EQ(names[1], custom);
    {
        core::TRegistry registry;
        ASSERT_TRUE(registry.OpenKeyReadOnly(UserAgentTokenKey));
        EXPECT_EQ(registry.ReadString(custom), "");
    }
    UnregisterUserAgentToken(custom);
    EXPECT_EQ(ValueNames(UserAgentTokenKey), std::vector<std::string>{DefaultUserAgentToken});
    UnregisterUserAgentToken("nothing");
}

class SoundKey {
public:
    explicit SoundKey(const char* sub, const char* value)
    {
        core::TRegistry registry;
        registry.OpenKey(std::string("\\") + NavigationSoundKey + sub, true);
        registry.WriteString("", value);
    }
    static std::string Read(const char* sub)
    {
        core::TRegistry registry;
        if (!registry.OpenKeyReadOnly(std::string("\\") + NavigationSoundKey + sub))
            return "(none)";
        return registry.ReadString("");
    }
};

TEST(BrowserToolsTest, NavigationSoundIsMovedAwayAndBack)
{
    TempConfigHome config;
    SwitchNavigationSound(false); // no prior switch: nothing
    SwitchNavigationSound(true);  // no sound at all: nothing
    EXPECT_EQ(SoundKey::Read("Old_Current"), "(none)");

    SoundKey current(".Current", "click.wav");
    SwitchNavigationSound(true);
    EXPECT_EQ(SoundKey::Read(".Current"), "(none)");
    EXPECT_EQ(SoundKey::Read("Old_Current"), "click.wav");
    SwitchNavigationSound(true); // twice: moved once
    EXPECT_EQ(SoundKey::Read("Old_Current"), "click.wav");
    SwitchNavigationSound(false);
    EXPECT_EQ(SoundKey::Read(".Current"), "click.wav");
    EXPECT_EQ(SoundKey::Read("Old_Current"), "(none)");
}

TEST(BrowserToolsTest, SavedSoundIsNeverOverwritten)
{
    TempConfigHome config;
    SoundKey saved("Old_Current", "saved.wav");
    SoundKey current(".Current", "new.wav");
    SwitchNavigationSound(true);
    EXPECT_EQ(SoundKey::Read("Old_Current"), "saved.wav");
    EXPECT_EQ(SoundKey::Read(".Current"), "new.wav");
}

TEST(BrowserToolsTest, SoundLeftOffIsRepaired)
{
    TempConfigHome config;
    SoundKey saved("Old_Current", "click.wav"); // as a process that ended while it was off leaves it
    RepairNavigationSound();
    EXPECT_EQ(SoundKey::Read(".Current"), "click.wav");
    EXPECT_EQ(SoundKey::Read("Old_Current"), "(none)");
}

class ProxyRestorer {
public:
    ~ProxyRestorer() { net::SetProcessProxy(saved_); }

private:
    net::TProxySetting saved_ = net::CurrentProxy();
};

TEST(BrowserToolsTest, ProxyWithLoginKeepsItsPort)
{
    ProxyRestorer restore;
    ApplyProcessProxyWithLogin("agent", "proxy.firma.cz", "novak", "heslo", 3128);
    net::TProxySetting now = net::CurrentProxy();
    EXPECT_EQ(now.Server, "proxy.firma.cz:3128");
    EXPECT_EQ(now.Bypass, "<local>");
    EXPECT_EQ(now.UserName, "novak");
    EXPECT_EQ(now.Password, "heslo");
    ApplyProcessProxyWithLogin("", "", "", "", 0);
    EXPECT_EQ(net::CurrentProxy().Server, "");
    ApplyProcessProxy("agent", "proxy:8080");
    now = net::CurrentProxy();
    EXPECT_EQ(now.Server, "proxy:8080");
    EXPECT_EQ(now.Bypass, "<local>");
    ApplyProcessProxy("", "");
    EXPECT_EQ(net::CurrentProxy().Server, "");
}

TEST(BrowserToolsTest, SystemTestsAndHelp)
{
    EXPECT_TRUE(IsWinXPSP2OrLater());
    std::vector<std::string> opened;
    SetFileLauncher([&](const std::string& file) {
        opened.push_back(file);
        return true;
    });
    EXPECT_EQ(CallHtmlHelp(nullptr, "", 0, 0), 0);
    EXPECT_NE(CallHtmlHelp(nullptr, "/usr/share/doc/napoveda.chm", 0, 0), 0);
    EXPECT_EQ(opened, std::vector<std::string>{"/usr/share/doc/napoveda.chm"});
    SetFileLauncher({});
    EXPECT_EQ(ShellLockShared(1, 2), nullptr);
}

TEST(BrowserToolsTest, OptionMasks)
{
    EXPECT_EQ(DownloadControlMask({}), 0u);
    EXPECT_EQ(UserInterfaceMask({}), 0u);
    EXPECT_EQ(DownloadControlMask({TDownloadControlOption::DownloadImages, TDownloadControlOption::DownloadVideos,
                                   TDownloadControlOption::DownloadBGSounds}),
              0x70u);
    EXPECT_EQ(UserInterfaceMask({TUserInterfaceOption::EnablesFormsAutoComplete, TUserInterfaceOption::EnableThemes}),
              0x44000u);
    EXPECT_EQ(DownloadControlFlag(TDownloadControlOption::DontExecuteScripts), 0x80u);
    EXPECT_EQ(DownloadControlFlag(TDownloadControlOption::ForceOfflineMode), 0x10000000u);
    EXPECT_EQ(DownloadControlFlag(TDownloadControlOption::WorkOffline), 0x80000000u);
    EXPECT_EQ(UserInterfaceFlag(TUserInterfaceOption::ForceSameWindowNavigation), 0x10000u);
    EXPECT_EQ(UserInterfaceFlag(TUserInterfaceOption::ForceUserActivationOnActiveXJava), 0x20000000u);
    // Every member has a flag of its own, and none is 0x8000.
    TUserInterfaceOptions all;
    for (int i = 0; i <= static_cast<int>(TUserInterfaceOption::ForceUserActivationOnActiveXJava); ++i)
        all.insert(static_cast<TUserInterfaceOption>(i));
    EXPECT_EQ(UserInterfaceMask(all), 0x3FFF7FFFu);
    TDownloadControlOptions every;
    for (int i = 0; i <= static_cast<int>(TDownloadControlOption::WorkOffline); ++i)
        every.insert(static_cast<TDownloadControlOption>(i));
    EXPECT_EQ(DownloadControlMask(every), 0xF007FFF0u);
}

TEST(BrowserToolsTest, ZoomIsClampedToTheReportedRange)
{
    SetDocumentZoom(nullptr, 3); // no document: nothing, no error
    EXPECT_EQ(GetZoomMin(nullptr), 0);
    EXPECT_EQ(GetZoomMax(nullptr), 0);

    TempConfigHome config;
    testsupport::LocalHttpServer server;
    server.ServeHtml("/p.html", "<p>x</p>");
    web::TWebBrowser engine;
    engine.Navigate(server.Url("/p.html"));
    ASSERT_TRUE(testsupport::WaitUntil([&] { return engine.ReadyState() == web::READYSTATE_COMPLETE; }));
    auto document = engine.Document();
    EXPECT_EQ(GetZoomMin(document.get()), 0);
    EXPECT_EQ(GetZoomMax(document.get()), 4);
    web::TOleVariant size;
    auto current = [&] {
        engine.ExecWB(web::OLECMDID_ZOOM, web::OLECMDEXECOPT_DONTPROMPTUSER, {}, &size);
        return size.AsInteger();
    };
    SetDocumentZoom(document.get(), 9);
    EXPECT_EQ(current(), 4);
    SetDocumentZoom(document.get(), -3);
    EXPECT_EQ(current(), 0);
    SetDocumentZoom(document.get(), 2);
    EXPECT_EQ(current(), 2);
}

} // namespace
