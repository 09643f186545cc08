#pragma once
// A private temporary folder for one test, made the process's TEMP while the
// test runs and removed with everything in it afterwards.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace report::test {

class ScopedTempFolder {
public:
    explicit ScopedTempFolder(const std::string& tag)
        : path_(std::filesystem::temp_directory_path() /
                ("konverze-report-" + tag + "-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        const char* old = std::getenv("TEMP");
        hadOld_ = old != nullptr;
        if (hadOld_)
            old_ = old;
        ::setenv("TEMP", path_.c_str(), 1);
    }
    ~ScopedTempFolder()
    {
        if (hadOld_)
            ::setenv("TEMP", old_.c_str(), 1);
        else
            ::unsetenv("TEMP");
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::size_t FileCount() const
    {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path_))
            ++n;
        return n;
    }

private:
    std::filesystem::path path_;
    std::string old_;
    bool hadOld_ = false;
};

} // namespace report::test
