#include "platform/net/UrlFetch.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace net {

TFetchResult FetchUrl(const std::string& url, int timeoutMs)
{
    if (!QCoreApplication::instance())
        throw ENetError("Stažení z webu potřebuje běžící aplikaci.");
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    if (!address.isValid() || address.scheme().isEmpty())
        throw ENetError("Neplatná adresa: " + url);

    QNetworkAccessManager manager;
    const TProxySetting proxy = CurrentProxy();
    if (BypassesProxy(proxy.Bypass, address.host().toStdString()))
        manager.setProxy(QNetworkProxy(QNetworkProxy::NoProxy));

    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeoutMs);
    std::unique_ptr<QNetworkReply> reply(manager.get(request));

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    if (!reply->isFinished()) {
        deadline.start(timeoutMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (timedOut || !reply->isFinished()) {
        reply->abort();
        throw ENetError("Server na adrese " + url + " neodpověděl včas.");
    }

    TFetchResult result;
    result.Url = reply->url().toString().toStdString();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    result.Status = status.isValid() ? status.toInt() : 200;
    result.ContentType = reply->header(QNetworkRequest::ContentTypeHeader).toString().toStdString();
    if (reply->error() == QNetworkReply::OperationCanceledError || reply->error() == QNetworkReply::TimeoutError)
        throw ENetError("Server na adrese " + url + " neodpověděl včas.");
    if (status.isValid() && result.Status >= 400)
        throw ENetError("Server na adrese " + url + " odpověděl chybou " + std::to_string(result.Status) + ".");
    if (reply->error() != QNetworkReply::NoError)
        throw ENetError("Adresu " + url + " nelze načíst: " + reply->errorString().toStdString());
    const QByteArray body = reply->readAll();
    result.Body.assign(body.constData(), static_cast<std::size_t>(body.size()));
    return result;
}

} // namespace net
