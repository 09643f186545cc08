#include "app/update/VersionFetch.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace app::update {

namespace {

constexpr qint64 MaxBodySize = 64 * 1024;

bool IsLoopback(const QString& host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

// The proxy for one address: the program's own setting wins; without one the
// system's configuration (proxy environment variables, desktop settings) decides.
QNetworkProxy ProxyFor(const QUrl& url)
{
    if (IsLoopback(url.host()))
        return QNetworkProxy(QNetworkProxy::NoProxy);
    const QNetworkProxy program = QNetworkProxy::applicationProxy();
    if (program.type() == QNetworkProxy::HttpProxy || program.type() == QNetworkProxy::Socks5Proxy)
        return program;
    const QList<QNetworkProxy> system = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url));
    return system.isEmpty() ? QNetworkProxy(QNetworkProxy::NoProxy) : system.first();
}

std::string Seconds(int ms)
{
    const int seconds = (ms + 999) / 1000;
    // After "do" the genitive: "1 sekundy", "5 sekund".
    return std::to_string(seconds) + (seconds == 1 ? " sekundy" : " sekund");
}

std::string Why(QNetworkReply& reply, const std::string& host, int timeoutMs)
{
    switch (reply.error()) {
    case QNetworkReply::ConnectionRefusedError:
        return "server " + host + " odmítl spojení.";
    case QNetworkReply::HostNotFoundError:
        return "server " + host + " nebyl nalezen (zkontrolujte připojení k internetu).";
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return "server " + host + " neodpověděl do " + Seconds(timeoutMs) + ".";
    case QNetworkReply::RemoteHostClosedError:
        return "server " + host + " ukončil spojení předčasně.";
    case QNetworkReply::SslHandshakeFailedError:
        return "zabezpečené spojení se serverem " + host + " se nepodařilo navázat.";
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError:
        return "server " + host + " přesměroval dotaz na nepřípustnou adresu.";
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return "spojení přes proxy server se nezdařilo.";
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return "počítač není připojen k síti.";
    default:
        break;
    }
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() >= 400)
        return "server " + host + " odpověděl chybou " + std::to_string(status.toInt()) + ".";
    return "spojení se serverem " + host + " se nezdařilo (" + reply.errorString().toStdString() + ").";
}

} // namespace

std::string FetchVersionFile(const std::string& url, int timeoutMs)
{
    if (QCoreApplication::instance() == nullptr)
        throw EUpdateFailure("kontrola potřebuje běžící aplikaci.");
    if (url.empty())
        throw EUpdateFailure("adresa souboru s verzí na serveru chybí.");
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || address.host().isEmpty() || (scheme != "http" && scheme != "https"))
        throw EUpdateFailure("adresa " + url + " není platná.");
    const std::string host = address.host().toStdString();

    QNetworkAccessManager manager;
    manager.setProxy(ProxyFor(address));
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeoutMs);
    const std::unique_ptr<QNetworkReply> reply(manager.get(request));

    // One deadline for the whole answer: the transfer timeout alone restarts
    // with every byte, so a trickling server could hold the program longer.
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    bool tooLarge = false;
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64) {
        if (received > MaxBodySize && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] { reply->abort(); });
    if (!reply->isFinished()) {
        deadline.start(timeoutMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!reply->isFinished()) // the loop was left some other way (the application quit)
        reply->abort();

    if (tooLarge)
        throw EUpdateFailure("soubor s verzí na serveru " + host + " je příliš velký.");
    if (reply->error() != QNetworkReply::NoError)
        throw EUpdateFailure(Why(*reply, host, timeoutMs));
    const QByteArray body = reply->read(MaxBodySize);
    return std::string(body.constData(), static_cast<std::size_t>(body.size()));
}

} // namespace app::update
