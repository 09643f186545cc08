#pragma once
// The proxy through which the process reaches the web: the hosted web engine
// and every URL fetch of the program use it.
//
// A setting names one proxy server ("host", "host:port", or a list such as
// "http=host:port;https=host2:port", of which the http entry is used, and
// "socks=host:port" for a SOCKS 5 server), the hosts that bypass it ("<local>":
// host names without a dot and loopback addresses), and the credentials the
// server asks for. An empty server means a direct connection.

#include "platform/core/Exceptions.h"

#include <cstdint>
#include <string>

namespace net {

class ENetError : public core::Exception {
public:
    using core::Exception::Exception;
};

struct TProxySetting {
    std::string Server;
    std::string Bypass;
    std::string UserName;
    std::string Password;

    bool operator==(const TProxySetting&) const = default;
};

// The setting in force now.
TProxySetting CurrentProxy();
// Puts a setting in force for the whole process.
void SetProcessProxy(const TProxySetting& setting);

// What a setting's server text names.
struct TProxyServer {
    enum class Kind { None, Http, Socks5 } Type = Kind::None;
    std::string Host;
    std::uint16_t Port = 0;
};
// Reads the server text; a missing port is 80 for an HTTP proxy and 1080 for SOCKS.
TProxyServer ParseProxyServer(const std::string& server);
// True when the host bypasses the proxy under the bypass list.
bool BypassesProxy(const std::string& bypass, const std::string& host);

} // namespace net
