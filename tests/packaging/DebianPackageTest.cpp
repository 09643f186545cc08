// The Debian package as `cpack -G DEB` makes it from the build: Debian's
// package checker finds nothing wrong with it, and what the checker does not
// look at closely holds too: no maintainer scripts, an Installed-Size that is
// the size of its files, stripped binaries, the copyright file with the
// build's maker and licence, and a changelog for the package's version.

#include "ChildProcess.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using packagingtest::CommandResult;
using packagingtest::RunCommand;

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Field(const fs::path& package, const std::string& name)
{
    const CommandResult field = RunCommand({"dpkg-deb", "--field", package.string(), name});
    EXPECT_EQ(field.status, 0) << field.output;
    return Lines(field.output).empty() ? "" : Lines(field.output).front();
}

TEST(DebianPackage, IsWhatDebianExpects)
{
    testsupport::TestFolder folder("deb");
    // CPack installs from the build folder, as the install test does: they take turns.
    const CommandResult made =
        RunCommand({"flock", std::string(KONVERZE_BUILD_DIR) + "/install-test.lock", KONVERZE_CPACK, "--config",
                    std::string(KONVERZE_BUILD_DIR) + "/CPackConfig.cmake", "-G", "DEB", "-B", folder.Path().string()});
    ASSERT_EQ(made.status, 0) << made.output;
    fs::path package;
    for (const auto& entry : fs::directory_iterator(folder.Path()))
        if (entry.path().extension() == ".deb")
            package = entry.path();
    ASSERT_FALSE(package.empty()) << made.output;

    const CommandResult lintian = RunCommand({"lintian", "--fail-on", "error,warning", package.string()});
    ASSERT_NE(lintian.status, 127) << "lintian is missing: scripts/setup installs it";
    EXPECT_EQ(lintian.status, 0) << lintian.output;

    // Nothing to run at installation: the update library is found through the program's run path.
    const fs::path control = folder.Path() / "control";
    ASSERT_EQ(RunCommand({"dpkg-deb", "--control", package.string(), control.string()}).status, 0);
    std::set<std::string> controlFiles;
    for (const auto& entry : fs::directory_iterator(control))
        controlFiles.insert(entry.path().filename().string());
    EXPECT_EQ(controlFiles, (std::set<std::string>{"control", "md5sums"}));

    const fs::path root = folder.Path() / "root";
    ASSERT_EQ(RunCommand({"dpkg-deb", "--extract", package.string(), root.string()}).status, 0);
    std::uintmax_t bytes = 0, entries = 1;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        ++entries;
        if (entry.is_regular_file() && !entry.is_symlink())
            bytes += entry.file_size();
    }
    // KiB of the files; rounding each up and counting each folder and link adds at most one an entry.
    const std::uintmax_t installedSize = std::stoull(Field(package, "Installed-Size"));
    EXPECT_GE(installedSize, bytes / 1024);
    EXPECT_LE(installedSize, bytes / 1024 + entries);

    for (const char* binary : {"usr/lib/konverze/konverze", "usr/lib/konverze/libVerlumka.so"}) {
        const CommandResult kind = RunCommand({"file", "--brief", (root / binary).string()});
        EXPECT_NE(kind.output.find("ELF 64-bit"), std::string::npos) << binary << ": " << kind.output;
        EXPECT_NE(kind.output.find(", stripped"), std::string::npos) << binary << ": " << kind.output;
    }

    const std::vector<std::string> copyright = Lines(ReadBytes(root / "usr/share/doc/konverze/copyright"));
    ASSERT_FALSE(copyright.empty());
    EXPECT_EQ(copyright.front(), "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/");
    std::vector<std::string> terms = Lines(ReadBytes(KONVERZE_LICENSE_FILE));
    while (!terms.empty() && terms.back().empty())
        terms.pop_back();
    std::vector<std::string> licence = {"License: " KONVERZE_LICENSE};
    for (const std::string& line : terms)
        licence.push_back(line.empty() ? " ." : " " + line);
    EXPECT_NE(std::search(copyright.begin(), copyright.end(), licence.begin(), licence.end()), copyright.end())
        << "the licence terms follow the licence's name";
    EXPECT_NE(std::find(copyright.begin(), copyright.end(),
                        "Upstream-Contact: " KONVERZE_AUTHOR " <" KONVERZE_AUTHOR_EMAIL ">"),
              copyright.end());

    // The changelog's latest entry is the package's version.
    const std::string version = Field(package, "Version");
    EXPECT_EQ(version.rfind(KONVERZE_VERSION "-", 0), 0u) << version;
    const CommandResult changelog =
        RunCommand({"gzip", "-dc", (root / "usr/share/doc/konverze/changelog.Debian.gz").string()});
    ASSERT_EQ(changelog.status, 0) << changelog.output;
    EXPECT_EQ(changelog.output.rfind("konverze (" + version + ") ", 0), 0u) << changelog.output;
}

} // namespace
