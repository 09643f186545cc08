// Loading a document from a URL. The one place where the XML library uses the
// network: the fetch goes through platform/net, with the system's proxy
// settings and a time limit.

#include "xml/XmlDocument.h"

#include "xml/FastStreams.h"

#include "platform/net/UrlFetch.h"

namespace xml {

std::int64_t TXmlDocument::LoadFromWeb(const std::string& url)
{
    std::string body;
    try {
        body = net::FetchUrl(url).Body;
    } catch (const std::exception&) {
        // The document keeps what it had.
        EmitDebug(this, dlFail, DebugFormat("Cannot open URL %s", url.c_str()));
        return 0;
    }
    TxStringStream stream(body);
    LoadFromStream(stream);
    return static_cast<std::int64_t>(body.size());
}

} // namespace xml
