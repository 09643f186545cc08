#include "platform/net/Proxy.h"
#include "platform/net/UrlFetch.h"
#include "tests/support/LocalHttpServer.h"

#include <QCoreApplication>
#include <QNetworkProxy>
#include <gtest/gtest.h>

using namespace net;
using testsupport::LocalHttpServer;
using testsupport::THttpResponse;

namespace {

class ProxyRestorer {
public:
    ProxyRestorer() : saved_(CurrentProxy()) {}
    ~ProxyRestorer() { SetProcessProxy(saved_); }

private:
    TProxySetting saved_;
};

TEST(ProxyTest, ServerTextsAreRead)
{
    auto p = ParseProxyServer("proxy.firma.cz:8080");
    EXPECT_EQ(p.Type, TProxyServer::Kind::Http);
    EXPECT_EQ(p.Host, "proxy.firma.cz");
    EXPECT_EQ(p.Port, 8080);
    EXPECT_EQ(ParseProxyServer(" proxy ").Port, 80);
    EXPECT_EQ(ParseProxyServer("http://proxy:3128/").Port, 3128);
    p = ParseProxyServer("ftp=f:21;https=s:443;http=h:81");
    EXPECT_EQ(p.Host, "h");
    EXPECT_EQ(p.Port, 81);
    p = ParseProxyServer("socks=sx:1081");
    EXPECT_EQ(p.Type, TProxyServer::Kind::Socks5);
    EXPECT_EQ(p.Host, "sx");
    EXPECT_EQ(p.Port, 1081);
    p = ParseProxyServer("[::1]:8000");
    EXPECT_EQ(p.Host, "::1");
    EXPECT_EQ(p.Port, 8000);
    EXPECT_EQ(ParseProxyServer("").Type, TProxyServer::Kind::None);
    EXPECT_EQ(ParseProxyServer("ftp=f:21").Type, TProxyServer::Kind::None);
    EXPECT_EQ(ParseProxyServer(":80").Type, TProxyServer::Kind::None);
    EXPECT_EQ(ParseProxyServer("host:notaport").Port, 80);
}

TEST(ProxyTest, LocalAndPatternBypass)
{
    EXPECT_TRUE(BypassesProxy("<local>", "intranet"));
    EXPECT_TRUE(BypassesProxy("<local>", "localhost"));
    EXPECT_TRUE(BypassesProxy("<local>", "127.0.0.1"));
    EXPECT_TRUE(BypassesProxy("<local>", "::1"));
    EXPECT_FALSE(BypassesProxy("<local>", "www.example.cz"));
    EXPECT_FALSE(BypassesProxy("<local>", "10.1.2.3"));
    EXPECT_TRUE(BypassesProxy("*.firma.cz; <local>", "Server.FIRMA.cz"));
    EXPECT_FALSE(BypassesProxy("*.firma.cz", "firma.com"));
    EXPECT_FALSE(BypassesProxy("", "intranet"));
}

TEST(ProxyTest, SettingRoundTripsThroughTheProcess)
{
    ProxyRestorer restore;
    SetProcessProxy({"proxy.firma.cz:8080", "<local>", "novak", "tajné heslo"});
    EXPECT_EQ(QNetworkProxy::applicationProxy().type(), QNetworkProxy::HttpProxy);
    EXPECT_EQ(QNetworkProxy::applicationProxy().port(), 8080);
    const TProxySetting now = CurrentProxy();
    EXPECT_EQ(now.Server, "proxy.firma.cz:8080");
    EXPECT_EQ(now.Bypass, "<local>");
    EXPECT_EQ(now.UserName, "novak");
    EXPECT_EQ(now.Password, "tajné heslo");

    SetProcessProxy({});
    EXPECT_EQ(CurrentProxy(), TProxySetting{});
    EXPECT_EQ(QNetworkProxy::applicationProxy().type(), QNetworkProxy::NoProxy);
}

TEST(FetchTest, ReadsAPageAndItsType)
{
    LocalHttpServer server;
    server.ServeHtml("/a.html", "<p>Ahoj světe</p>");
    const TFetchResult result = FetchUrl(server.Url("/a.html?x=1"), 5000);
    EXPECT_EQ(result.Status, 200);
    EXPECT_EQ(result.Body, "<p>Ahoj světe</p>");
    EXPECT_EQ(result.ContentType, "text/html; charset=utf-8");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].Target, "/a.html?x=1");
}

TEST(FetchTest, FollowsRedirections)
{
    LocalHttpServer server;
    THttpResponse moved;
    moved.Status = 302;
    moved.Headers = {{"Location", "/b.xml"}};
    server.Serve("/a", moved);
    server.Serve("/b.xml", THttpResponse{200, "text/xml", "<a/>", {}, 0});
    const TFetchResult result = FetchUrl(server.Url("/a"), 5000);
    EXPECT_EQ(result.Body, "<a/>");
    EXPECT_EQ(result.Url, server.Url("/b.xml"));
}

TEST(FetchTest, ErrorsCarryAMessage)
{
    LocalHttpServer server;
    try {
        FetchUrl(server.Url("/missing"), 5000);
        FAIL() << "no error";
    } catch (const ENetError& e) {
        EXPECT_EQ(e.Message(), "Server na adrese " + server.Url("/missing") + " odpověděl chybou 404.");
    }
    try {
        FetchUrl("not a url", 5000);
        FAIL() << "no error";
    } catch (const ENetError& e) {
        EXPECT_EQ(e.Message(), "Neplatná adresa: not a url");
    }
    EXPECT_THROW(FetchUrl("http://127.0.0.1:1/", 5000), ENetError);
}

TEST(FetchTest, TimeLimitEndsTheWait)
{
    LocalHttpServer server;
    THttpResponse slow;
    slow.Body = "late";
    slow.DelayMs = 3000;
    server.Serve("/slow", slow);
    try {
        FetchUrl(server.Url("/slow"), 200);
        FAIL() << "no error";
    } catch (const ENetError& e) {
        EXPECT_EQ(e.Message(), "Server na adrese " + server.Url("/slow") + " neodpověděl včas.");
    }
}

TEST(FetchTest, DataAddressesNeedNoServer)
{
    EXPECT_EQ(FetchUrl("data:text/plain,ahoj", 1000).Body, "ahoj");
}

TEST(FetchTest, GoesThroughTheProxyUnlessBypassed)
{
    ProxyRestorer restore;
    LocalHttpServer proxy;
    proxy.Handler = [](const testsupport::THttpRequest&) { return THttpResponse{200, "text/plain", "via proxy", {}, 0}; };
    SetProcessProxy({"127.0.0.1:" + std::to_string(proxy.Port()), "<local>", "", ""});
    EXPECT_EQ(FetchUrl("http://konverze.invalid/page", 5000).Body, "via proxy");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].Target, "http://konverze.invalid/page");

    // A loopback address bypasses it.
    LocalHttpServer direct;
    direct.ServeHtml("/d", "direct");
    EXPECT_EQ(FetchUrl(direct.Url("/d"), 5000).Body, "direct");
    EXPECT_EQ(proxy.Requests().size(), 1u);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
