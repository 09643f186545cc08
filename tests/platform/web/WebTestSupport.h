#pragma once
// Shared by the web tests: waiting with the event loop running, and a
// configuration folder of the test's own for the registry.

#include "tests/support/EventLoop.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testsupport {

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
