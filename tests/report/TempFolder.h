#pragma once
// A private temporary folder for one test, made the process's TEMP while the
// test runs and removed with everything in it afterwards.

#include "tests/support/TestFolder.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace report::test {

class ScopedTempFolder {
public:
    explicit ScopedTempFolder(const std::string& tag) : folder_("report-" + tag)
    {
        const char* old = std::getenv("TEMP");
        hadOld_ = old != nullptr;
        if (hadOld_)
            old_ = old;
        ::setenv("TEMP", folder_.Path().c_str(), 1);
    }
    ~ScopedTempFolder()
    {
        if (hadOld_)
            ::setenv("TEMP", old_.c_str(), 1);
        else
            ::unsetenv("TEMP");
    }
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

    const std::filesystem::path& Path() const { return folder_.Path(); }
    std::string File(const std::string& name) const { return folder_.File(name); }
    std::size_t FileCount() const { return folder_.Entries().size(); }

private:
    testsupport::TestFolder folder_;
    std::string old_;
    bool hadOld_ = false;
};

} // namespace report::test
