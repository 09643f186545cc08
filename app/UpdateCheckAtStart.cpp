#include "app/UpdateCheckAtStart.h"

#include "app/UpdateCheck.h"

#include <QObject>
#include <QThread>

namespace app {

TUpdateCheckAtStart::TUpdateCheckAtStart(std::string remoteVersionUrl, std::string localVersionFile,
                                         std::string downloadPageUrl, std::string dataFolder,
                                         std::function<void(bool newer)> answered)
    : answered_(std::move(answered)), receiver_(std::make_unique<QObject>())
{
    TPomrakel* check = UpdateCheck;
    QObject* receiver = receiver_.get();
    thread_.reset(QThread::create([this, check, receiver, remote = std::move(remoteVersionUrl),
                                   local = std::move(localVersionFile), page = std::move(downloadPageUrl),
                                   data = std::move(dataFolder)] {
        bool newer = false;
        check(remote.c_str(), local.c_str(), page.c_str(), data.c_str(), false, &newer);
        // Queued to the caller's thread; dropped with the receiver when this object goes first.
        QMetaObject::invokeMethod(receiver, [this, newer] { Answer(newer); }, Qt::QueuedConnection);
    }));
    thread_->setObjectName(QStringLiteral("KonverzeUpdateCheck"));
    thread_->start();
}

TUpdateCheckAtStart::~TUpdateCheckAtStart()
{
    // Ending the thread's event loops ends the library's wait for the server
    // (its request is then abandoned); the call returns and the thread ends.
    thread_->requestInterruption();
    thread_->quit();
    thread_->wait();
    // An answer still queued goes with its receiver.
    receiver_.reset();
}

void TUpdateCheckAtStart::Answer(bool newer)
{
    thread_->wait(); // it has nothing left to do but end
    running_ = false;
    // The answer may ask the user; while it does, this object may go.
    const std::function<void(bool)> answered = answered_;
    if (answered)
        answered(newer);
}

} // namespace app
