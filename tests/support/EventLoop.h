#pragma once
// Waiting in a test with the event loop running.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace testsupport {

// Runs the event loop until the condition holds or the time is up; answers the condition.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 15000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace testsupport
