#include "platform/net/Proxy.h"

#include "platform/core/Letters.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QString>

#include <mutex>
#include <sstream>

namespace net {

namespace {

// The parts of a setting that Qt's proxy does not keep.
std::mutex mutex;
std::string bypassInForce;
std::string serverTextInForce;

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

TProxyServer ParseProxyServer(const std::string& server)
{
    std::string text = Trim(server);
    TProxyServer result;
    if (text.empty())
        return result;
    result.Type = TProxyServer::Kind::Http;
    if (text.find('=') != std::string::npos) {
        // A list of scheme=server entries: the http one, else https, else socks.
        std::string http, https, socks;
        std::stringstream entries(text);
        std::string entry;
        while (std::getline(entries, entry, ';')) {
            const auto eq = entry.find('=');
            if (eq == std::string::npos)
                continue;
            const std::string scheme = core::LowerCase(Trim(entry.substr(0, eq)));
            const std::string value = Trim(entry.substr(eq + 1));
            if (scheme == "http")
                http = value;
            else if (scheme == "https")
                https = value;
            else if (scheme == "socks")
                socks = value;
        }
        if (!http.empty())
            text = http;
        else if (!https.empty())
            text = https;
        else if (!socks.empty()) {
            text = socks;
            result.Type = TProxyServer::Kind::Socks5;
        } else {
            return TProxyServer{};
        }
    }
    if (auto scheme = text.find("://"); scheme != std::string::npos) {
        if (core::SameText(text.substr(0, scheme), "socks") || core::SameText(text.substr(0, scheme), "socks5"))
            result.Type = TProxyServer::Kind::Socks5;
        text = text.substr(scheme + 3);
    }
    if (!text.empty() && text.back() == '/')
        text.pop_back();
    result.Port = result.Type == TProxyServer::Kind::Socks5 ? 1080 : 80;
    // "[v6]:port", "host:port" or a bare host.
    std::string portText;
    if (!text.empty() && text[0] == '[') {
        const auto close = text.find(']');
        result.Host = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        if (close != std::string::npos && close + 1 < text.size() && text[close + 1] == ':')
            portText = text.substr(close + 2);
    } else if (auto colon = text.rfind(':'); colon != std::string::npos && text.find(':') == colon) {
        result.Host = text.substr(0, colon);
        portText = text.substr(colon + 1);
    } else {
        result.Host = text;
    }
    if (!portText.empty()) {
        char* end = nullptr;
        const unsigned long port = std::strtoul(portText.c_str(), &end, 10);
        if (*end == '\0' && port > 0 && port <= 65535)
            result.Port = static_cast<std::uint16_t>(port);
    }
    if (result.Host.empty())
        return TProxyServer{};
    return result;
}

bool BypassesProxy(const std::string& bypass, const std::string& host)
{
    if (host.empty())
        return true;
    std::stringstream entries(bypass);
    std::string entry;
    while (std::getline(entries, entry, ';')) {
        entry = Trim(entry);
        if (entry.empty())
            continue;
        if (core::SameText(entry, "<local>")) {
            const QHostAddress address(QString::fromStdString(host));
            if (host.find('.') == std::string::npos && address.isNull())
                return true;
            if (core::SameText(host, "localhost") || (!address.isNull() && address.isLoopback()))
                return true;
            continue;
        }
        // A pattern with "*" wildcards, compared without regard to case.
        const std::string pattern = core::LowerCase(entry);
        const std::string name = core::LowerCase(host);
        std::size_t p = 0, n = 0, star = std::string::npos, mark = 0;
        while (n < name.size()) {
            if (p < pattern.size() && (pattern[p] == name[n] || pattern[p] == '?')) {
                ++p;
                ++n;
            } else if (p < pattern.size() && pattern[p] == '*') {
                star = p++;
                mark = n;
            } else if (star != std::string::npos) {
                p = star + 1;
                n = ++mark;
            } else {
                break;
            }
        }
        while (p < pattern.size() && pattern[p] == '*')
            ++p;
        if (n == name.size() && p == pattern.size())
            return true;
    }
    return false;
}

TProxySetting CurrentProxy()
{
    const QNetworkProxy proxy = QNetworkProxy::applicationProxy();
    TProxySetting setting;
    std::lock_guard lock(mutex);
    setting.Bypass = bypassInForce;
    if (proxy.type() == QNetworkProxy::HttpProxy || proxy.type() == QNetworkProxy::Socks5Proxy) {
        const std::string described = (proxy.type() == QNetworkProxy::Socks5Proxy ? "socks=" : "")
            + proxy.hostName().toStdString() + ":" + std::to_string(proxy.port());
        // Give back the text the setting was made with when it still describes the proxy.
        const TProxyServer parsed = ParseProxyServer(serverTextInForce);
        const bool same = parsed.Host == proxy.hostName().toStdString() && parsed.Port == proxy.port();
        setting.Server = same ? serverTextInForce : described;
        setting.UserName = proxy.user().toStdString();
        setting.Password = proxy.password().toStdString();
    }
    return setting;
}

void SetProcessProxy(const TProxySetting& setting)
{
    const TProxyServer server = ParseProxyServer(setting.Server);
    QNetworkProxy proxy(QNetworkProxy::NoProxy);
    if (server.Type != TProxyServer::Kind::None) {
        proxy = QNetworkProxy(server.Type == TProxyServer::Kind::Socks5 ? QNetworkProxy::Socks5Proxy
                                                                        : QNetworkProxy::HttpProxy,
                              QString::fromStdString(server.Host), server.Port,
                              QString::fromStdString(setting.UserName), QString::fromStdString(setting.Password));
    }
    {
        std::lock_guard lock(mutex);
        bypassInForce = setting.Bypass;
        serverTextInForce = server.Type == TProxyServer::Kind::None ? std::string() : setting.Server;
    }
    QNetworkProxy::setApplicationProxy(proxy);
}

} // namespace net
