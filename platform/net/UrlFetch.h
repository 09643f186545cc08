#pragma once
// Fetches the content of a URL (http, https, file, data) synchronously, through
// the process proxy, within a time limit.
//
// The caller's thread waits in a local event loop that takes no user input, so
// no click or key press runs other code of the program meanwhile; timers and
// network events of the thread do run. Needs the application object of Qt.

#include "platform/net/Proxy.h"

#include <string>

namespace net {

struct TFetchResult {
    int Status = 0;          // HTTP status; 200 for a file or data URL
    std::string ContentType; // as the server named it; empty when it did not
    std::string Url;         // the address finally read, after redirections
    std::string Body;
};

constexpr int DefaultFetchTimeoutMs = 30000;

// Raises ENetError with a message for the user when the address is not valid,
// the connection fails, the server answers with an error status or the time
// limit runs out.
TFetchResult FetchUrl(const std::string& url, int timeoutMs = DefaultFetchTimeoutMs);

} // namespace net
