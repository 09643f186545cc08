#include "platform/web/WebBrowserImpl.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

namespace web {

namespace {

// The process proxy as the engine last took it. Until it has been told, the
// engine goes by Qt's default, which is what it starts with.
QNetworkProxy& ProxyTheEngineHas()
{
    static QNetworkProxy proxy;
    return proxy;
}

// A port on 127.0.0.1 that nobody listens on: a request there fails at once.
quint16 ClosedLocalPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

} // namespace

// The engine reads the process proxy lazily: a request that asks it for a
// proxy makes it look whether the setting changed, but that request still goes
// the old way and only the requests after it go the new one. So when the
// setting has changed since the engine last took it, a throwaway request to a
// closed local port (local addresses never go through a proxy) lets the engine
// take the change; once that request has failed, the engine has it, and the
// navigation that follows goes the new way.
bool TWebBrowser::Impl::ProxyChangePending() const
{
    return QNetworkProxy::applicationProxy() != ProxyTheEngineHas();
}

void TWebBrowser::Impl::TakeProxyChange()
{
    const QNetworkProxy now = QNetworkProxy::applicationProxy();
    if (now == ProxyTheEngineHas())
        return;
    ProxyTheEngineHas() = now;

    if (!proxyProbe_)
        proxyProbe_ = std::make_unique<QWebEnginePage>(page_->profile());
    QEventLoop wait;
    QObject::connect(proxyProbe_.get(), &QWebEnginePage::loadFinished, &wait, &QEventLoop::quit);
    // The engine may go while it waits (a handler frees it): nothing of it is touched afterwards.
    QObject::connect(proxyProbe_.get(), &QObject::destroyed, &wait, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &wait, &QEventLoop::quit);
    deadline.start(5000);
    proxyProbe_->load(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(ClosedLocalPort())));
    // Like the waits for scripts, this one takes no user input.
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace web
