#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests. It runs in the thread that
// created it and answers while that thread's event loop runs (the web engine's
// waits and the URL fetch's wait run it). Every connection is closed after one
// answer. Requests with an absolute address in the request line (as a client
// sends them to a proxy) are answered too and recorded as such.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QTcpServer;
class QTcpSocket;

namespace testsupport {

struct THttpRequest {
    std::string Method;
    std::string Target; // as in the request line: "/path?q" or "http://host/path"
    std::string Path;   // the path and query alone
    std::map<std::string, std::string> Headers; // names in lower case
    std::string Body;
    std::string Header(const std::string& name) const;
};

struct THttpResponse {
    int Status = 200;
    std::string ContentType = "text/html; charset=utf-8";
    std::string Body;
    std::vector<std::pair<std::string, std::string>> Headers;
    int DelayMs = 0; // answer only after this pause
};

class LocalHttpServer : public QObject {
public:
    LocalHttpServer();
    ~LocalHttpServer() override;

    quint16 Port() const;
    // "http://127.0.0.1:<port>" followed by path.
    std::string Url(const std::string& path) const;

    // Answers a path (without query) with a fixed response; unknown paths get 404.
    void Serve(const std::string& path, THttpResponse response);
    void ServeHtml(const std::string& path, const std::string& html);
    // Answers every request; a set handler wins over the fixed responses.
    std::function<THttpResponse(const THttpRequest&)> Handler;

    const std::vector<THttpRequest>& Requests() const { return requests_; }
    // The requests for one path (query left out). A web engine asks for more than
    // the page it was sent to (its icon, some time after the page has loaded), so
    // what a test says of a page it says of that page's requests.
    std::vector<THttpRequest> RequestsFor(const std::string& path) const;
    void ClearRequests() { requests_.clear(); }

private:
    void Accept();
    void Read(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const THttpRequest& request);

    std::unique_ptr<QTcpServer> server_;
    std::map<std::string, THttpResponse> fixed_;
    std::vector<THttpRequest> requests_;
    std::map<QTcpSocket*, QByteArray> buffers_;
};

} // namespace testsupport
