#pragma once
// A stand-in for a desktop helper program (xdg-open, xdg-email) during a
// test: a shell script of that name in a fresh folder put first on PATH,
// which records its arguments and exits with a chosen status.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace testsupport {

class StandInTool {
public:
    // The tool records its arguments, each ended by a NUL byte, and exits with exitStatus.
    explicit StandInTool(const std::string& name, int exitStatus = 0) {
        char pattern[] = "/tmp/konverze-standin-XXXXXX";
        folder_ = mkdtemp(pattern);
        record_ = folder_ / "arguments";
        const std::filesystem::path script = folder_ / name;
        std::ofstream(script) << "#!/bin/sh\n"
                              << "printf '%s\\0' \"$@\" > '" << record_.string() << ".part'\n"
                              << "mv '" << record_.string() << ".part' '" << record_.string() << "'\n"
                              << "exit " << exitStatus << "\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        const char* path = std::getenv("PATH");
        if (path != nullptr)
            oldPath_ = path;
        setenv("PATH", (folder_.string() + ":" + oldPath_.value_or("/usr/bin:/bin")).c_str(), 1);
    }

    StandInTool(const StandInTool&) = delete;
    StandInTool& operator=(const StandInTool&) = delete;

    ~StandInTool() {
        if (oldPath_)
            setenv("PATH", oldPath_->c_str(), 1);
        else
            unsetenv("PATH");
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }

    const std::filesystem::path& Folder() const { return folder_; }
    bool Ran() const { return std::filesystem::exists(record_); }

    // The recorded arguments; waits up to timeout for a tool that runs detached.
    std::optional<std::vector<std::string>> Arguments(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!Ran()) {
            if (std::chrono::steady_clock::now() > deadline)
                return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::ifstream in(record_, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::string> arguments;
        std::size_t start = 0;
        for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
            arguments.push_back(bytes.substr(start, end - start));
        return arguments;
    }

private:
    std::filesystem::path folder_;
    std::filesystem::path record_;
    std::optional<std::string> oldPath_;
};

// PATH set to one folder for the life of the object.
class PathOverride {
public:
    explicit PathOverride(const std::string& path) {
        if (const char* old = std::getenv("PATH"))
            oldPath_ = old;
        setenv("PATH", path.c_str(), 1);
    }
    PathOverride(const PathOverride&) = delete;
    PathOverride& operator=(const PathOverride&) = delete;
    ~PathOverride() {
        if (oldPath_)
            setenv("PATH", oldPath_->c_str(), 1);
        else
            unsetenv("PATH");
    }

private:
    std::optional<std::string> oldPath_;
};

// A fresh folder for a test's files, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/konverze-test-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

} // namespace testsupport
