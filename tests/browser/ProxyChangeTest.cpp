// A proxy put in force through the control while the engine has pages loaded
// is used from the very next navigation, and so is its removal, whether the
// program navigates or the user follows a link on the page.

#include "browser/HostedBrowser.h"
#include "platform/net/Proxy.h"
#include "tests/browser/BrowserFixture.h"

using namespace browser;
using browsertest::BrowserFixture;
using testsupport::THttpRequest;
using testsupport::THttpResponse;

namespace {

// A host that only the proxy knows: a request that goes direct cannot reach it.
const char* const ProxiedHost = "http://uschovna.invalid";

class ProxyChangeTest : public BrowserFixture {
protected:
    void SetUp() override
    {
        BrowserFixture::SetUp();
        saved_ = net::CurrentProxy();
        net::SetProcessProxy({});
        server.ServeHtml("/prima.html", "<html><body>přímo</body></html>");
        proxy.Handler = [](const THttpRequest&) {
            return THttpResponse{200, "text/html; charset=utf-8", "<html><body>přes proxy</body></html>", {}, 0};
        };
    }
    void TearDown() override
    {
        BrowserFixture::TearDown();
        net::SetProcessProxy(saved_);
    }
    // The proxy's requests for a path of the proxied host.
    int ProxiedRequests(const std::string& path) const
    {
        int count = 0;
        for (const auto& request : proxy.Requests())
            count += request.Target == ProxiedHost + path;
        return count;
    }

    testsupport::LocalHttpServer proxy;
    net::TProxySetting saved_;
};

TEST_F(ProxyChangeTest, TheNextNavigationAfterAChangeUsesTheNewSetting)
{
    THostedBrowser* shown = Make();
    shown->Loaded();
    for (int run = 0; run < 20; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        Load(shown, "/prima.html");

        // A control whose options put the proxy in force at load time.
        THostedBrowser* viaProxy = Make();
        viaProxy->ProxySettings().SetAutoLoadProxy(true);
        viaProxy->ProxySettings().SetAddress("127.0.0.1");
        viaProxy->ProxySettings().SetPort(proxy.Port());
        viaProxy->Loaded();
        const std::string path = "/stranka" + std::to_string(run) + ".html";
        shown->Navigate(ProxiedHost + path);
        ASSERT_TRUE(WaitUntil([&] { return shown->ReadyState() == 4; }));
        EXPECT_EQ(ProxiedRequests(path), 1);

        // Its destruction takes the proxy away again: the next page goes direct.
        delete viaProxy;
        const std::string after = "/potom" + std::to_string(run) + ".html";
        shown->Navigate(ProxiedHost + after);
        ASSERT_TRUE(WaitUntil([&] { return shown->ReadyState() == 4; }));
        EXPECT_EQ(ProxiedRequests(after), 0);
    }
}

TEST_F(ProxyChangeTest, ALinkFollowedRightAfterAChangeUsesTheNewSetting)
{
    THostedBrowser* shown = Make();
    shown->Loaded();
    for (int run = 0; run < 20; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const std::string path = "/odkaz" + std::to_string(run) + ".html";
        const std::string page = "/odkazy" + std::to_string(run) + ".html";
        server.ServeHtml(page, "<a id=a href='" + std::string(ProxiedHost) + path + "'>dál</a>");
        Load(shown, page);

        THostedBrowser* viaProxy = Make();
        viaProxy->ProxySettings().SetAutoLoadProxy(true);
        viaProxy->ProxySettings().SetAddress("127.0.0.1");
        viaProxy->ProxySettings().SetPort(proxy.Port());
        viaProxy->Loaded();
        shown->Browser().Evaluate("document.getElementById('a').click()");
        ASSERT_TRUE(WaitUntil([&] { return ProxiedRequests(path) > 0 && shown->ReadyState() == 4; }));
        EXPECT_EQ(ProxiedRequests(path), 1);
        EXPECT_EQ(shown->LocationURL(), ProxiedHost + path);

        // Taken away again, the next link goes direct.
        delete viaProxy;
        Load(shown, page);
        shown->Browser().Evaluate("document.getElementById('a').click()");
        ASSERT_TRUE(WaitUntil([&] { return shown->LocationURL() == ProxiedHost + path && shown->ReadyState() == 4; }));
        EXPECT_EQ(ProxiedRequests(path), 1);
    }
}

} // namespace
