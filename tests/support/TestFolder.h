#pragma once
// A folder of the running test's own under the system's temporary folder,
// named by the process and the test so that runs of the suite side by side
// never share it. It starts empty and goes away with everything in it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace testsupport {

class TestFolder {
public:
    explicit TestFolder(const std::string& tag) : path_(std::filesystem::temp_directory_path() / Name(tag))
    {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TestFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // The names of what the folder holds, in no particular order.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        return names;
    }

private:
    static std::string Name(const std::string& tag)
    {
        std::string name = "konverze-" + tag + "-" + std::to_string(::getpid());
        if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info())
            name += std::string("-") + test->test_suite_name() + "." + test->name();
        std::replace(name.begin(), name.end(), '/', '_'); // parameterised tests have slashes in their names
        return name;
    }

    std::filesystem::path path_;
};

} // namespace testsupport
