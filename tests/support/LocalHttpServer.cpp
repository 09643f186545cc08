#include "tests/support/LocalHttpServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <stdexcept>

namespace testsupport {

namespace {

const char* Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

std::string Lower(std::string text)
{
    for (auto& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

std::string THttpRequest::Header(const std::string& name) const
{
    auto it = Headers.find(Lower(name));
    return it == Headers.end() ? std::string() : it->second;
}

LocalHttpServer::LocalHttpServer() : server_(std::make_unique<QTcpServer>())
{
    if (!server_->listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("the test server cannot listen on 127.0.0.1");
    connect(server_.get(), &QTcpServer::newConnection, this, [this] { Accept(); });
}

LocalHttpServer::~LocalHttpServer() = default;

quint16 LocalHttpServer::Port() const
{
    return server_->serverPort();
}

std::string LocalHttpServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(Port()) + path;
}

std::vector<THttpRequest> LocalHttpServer::RequestsFor(const std::string& path) const
{
    std::vector<THttpRequest> found;
    for (const auto& request : requests_)
        if (request.Path.substr(0, request.Path.find('?')) == path)
            found.push_back(request);
    return found;
}

void LocalHttpServer::Serve(const std::string& path, THttpResponse response)
{
    fixed_[path] = std::move(response);
}

void LocalHttpServer::ServeHtml(const std::string& path, const std::string& html)
{
    THttpResponse response;
    response.Body = html;
    Serve(path, std::move(response));
}

void LocalHttpServer::Accept()
{
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            buffers_.erase(socket);
            socket->deleteLater();
        });
    }
}

void LocalHttpServer::Read(QTcpSocket* socket)
{
    QByteArray& buffer = buffers_[socket];
    buffer += socket->readAll();
    const int headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    THttpRequest request;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.Method = first.value(0).toStdString();
    request.Target = first.value(1).toStdString();
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const int colon = line.indexOf(':');
        if (colon > 0)
            request.Headers[Lower(line.left(colon).trimmed().toStdString())] = line.mid(colon + 1).trimmed().toStdString();
    }
    const std::size_t length = std::stoul("0" + request.Header("content-length"));
    if (static_cast<std::size_t>(buffer.size() - headerEnd - 4) < length)
        return; // the body is still coming
    request.Body = buffer.mid(headerEnd + 4, static_cast<qsizetype>(length)).toStdString();
    buffers_.erase(socket);

    request.Path = request.Target;
    if (auto scheme = request.Path.find("://"); scheme != std::string::npos) {
        const auto slash = request.Path.find('/', scheme + 3);
        request.Path = slash == std::string::npos ? "/" : request.Path.substr(slash);
    }
    requests_.push_back(request);
    Answer(socket, request);
}

void LocalHttpServer::Answer(QTcpSocket* socket, const THttpRequest& request)
{
    THttpResponse response;
    if (Handler) {
        response = Handler(request);
    } else {
        const std::string path = request.Path.substr(0, request.Path.find('?'));
        auto it = fixed_.find(path);
        if (it != fixed_.end()) {
            response = it->second;
        } else {
            response.Status = 404;
            response.Body = "<html><body>Not found</body></html>";
        }
    }
    std::string head = "HTTP/1.1 " + std::to_string(response.Status) + " " + Reason(response.Status) + "\r\n";
    if (!response.ContentType.empty())
        head += "Content-Type: " + response.ContentType + "\r\n";
    for (const auto& [name, value] : response.Headers)
        head += name + ": " + value + "\r\n";
    head += "Content-Length: " + std::to_string(response.Body.size()) + "\r\nConnection: close\r\n\r\n";
    QPointer<QTcpSocket> guard(socket);
    auto send = [guard, text = head + response.Body] {
        if (!guard)
            return;
        guard->write(text.data(), static_cast<qint64>(text.size()));
        guard->disconnectFromHost();
    };
    if (response.DelayMs > 0)
        QTimer::singleShot(response.DelayMs, this, send);
    else
        send();
}

} // namespace testsupport
