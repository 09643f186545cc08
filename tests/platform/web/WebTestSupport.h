#pragma once
// Shared by the web tests: waiting with the event loop running, and a
// configuration folder of the test's own for the registry.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

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

// Points $XDG_CONFIG_HOME at a fresh folder for as long as it lives.
class TempConfigHome {
public:
    TempConfigHome()
    {
        char pattern[] = "/tmp/konverze-config-XXXXXX";
        folder_ = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
    }
    ~TempConfigHome()
    {
        unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

} // namespace testsupport
