#pragma once
// The libraries' process-wide start-up, before the application object and the
// forms, and their shut-down in the reverse order after the message loop:
// the XML library's fixed number and date format record; the browser module
// (floating-point environment, OLE, a navigation sound left off); the report
// engine's expression library and global environment, its print dialog's
// registered messages, and its report classes with their defaults.

#include <memory>

namespace report {
class TRpEngineStartup;
}

namespace app {

class TLibraryModules {
public:
    TLibraryModules();
    ~TLibraryModules();
    TLibraryModules(const TLibraryModules&) = delete;
    TLibraryModules& operator=(const TLibraryModules&) = delete;

private:
    std::unique_ptr<report::TRpEngineStartup> reportEngine_;
};

} // namespace app
