// The program as `cmake --install` lays it out under a prefix: the program
// folder, the launcher, the desktop entry and its icon; and the installed
// launcher started as the menu starts it, on a fresh data folder, with the
// program folder read-only.

#include "ChildProcess.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <thread>

using packagingtest::CommandResult;
using packagingtest::RunCommand;
using packagingtest::RunningProgram;

namespace {

namespace fs = std::filesystem;

// The start of the web engine on a loaded machine takes its time.
constexpr std::chrono::seconds StartTimeout{120};

std::string ReadBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& file, const std::string& bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// Everything under a folder and the folder itself as it stands: each entry's
// kind, permissions, time of last change and, for files, size and a hash of
// the bytes. A file written, added, or added and removed again (a journal)
// changes it.
std::map<std::string, std::string> StateOf(const fs::path& folder)
{
    std::map<std::string, std::string> state;
    auto note = [&](const fs::path& path) {
        const fs::file_status status = fs::symlink_status(path);
        std::ostringstream line;
        line << static_cast<int>(status.type()) << ' ' << static_cast<unsigned>(status.permissions()) << ' '
             << fs::last_write_time(path).time_since_epoch().count();
        if (status.type() == fs::file_type::regular) {
            const std::string bytes = ReadBytes(path);
            line << ' ' << bytes.size() << ' ' << std::hash<std::string>{}(bytes);
        }
        state[path.lexically_relative(folder.parent_path()).string()] = line.str();
    };
    note(folder);
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        note(entry.path());
    return state;
}

// The names of a desktop entry's keys with their values.
std::map<std::string, std::string> DesktopKeys(const fs::path& file)
{
    std::map<std::string, std::string> keys;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (const auto equals = line.find('='); equals != std::string::npos)
            keys[line.substr(0, equals)] = line.substr(equals + 1);
    return keys;
}

class InstalledProgram : public testing::Test {
protected:
    void SetUp() override
    {
        // The install writes its manifest into the build folder: the tests of
        // this suite, run side by side, take turns.
        const CommandResult install =
            RunCommand({"flock", std::string(KONVERZE_BUILD_DIR) + "/install-test.lock", KONVERZE_CMAKE, "--install",
                        KONVERZE_BUILD_DIR, "--prefix", Prefix().string(), "--strip"});
        ASSERT_EQ(install.status, 0) << install.output;
    }

    void TearDown() override
    {
        // The folder goes away with the test, which needs write access to it.
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(root_.Path(), error))
            if (entry.is_directory())
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
    }

    fs::path Prefix() const { return root_.Path() / "prefix"; }
    fs::path ProgramFolder() const { return Prefix() / "lib/konverze"; }
    fs::path Launcher() const { return Prefix() / "bin/konverze"; }
    fs::path Home() const { return root_.Path() / "home"; }
    fs::path Shipped() const { return ProgramFolder() / "konverze.mdb"; }

    // Installed by the system, the program folder is not the user's to write.
    void MakeProgramFolderReadOnly()
    {
        const auto readOnly = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        for (const auto& entry : fs::recursive_directory_iterator(ProgramFolder()))
            fs::permissions(entry.path(), readOnly, fs::perm_options::remove);
        fs::permissions(ProgramFolder(), readOnly, fs::perm_options::remove);
    }

    // The data folder must not ask the maker's server for a newer version.
    static void TurnOffTheUpdateCheck(const fs::path& dataFolder)
    {
        WriteBytes(dataFolder / "nastaveni.ini", "[nastaveni]\nkontrolovat_po_startu=0\n");
    }

    // The installed launcher with the given arguments, in a session of a user
    // whose home is a fresh folder: headless, and nothing of the test
    // runner's own folders in its environment.
    std::unique_ptr<RunningProgram> StartLauncher(const std::vector<std::string>& arguments)
    {
        fs::create_directories(Home());
        const fs::path runtime = root_.Path() / "runtime";
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
        std::vector<std::string> environment = {"HOME=" + Home().string(), "XDG_RUNTIME_DIR=" + runtime.string(),
                                                "QT_QPA_PLATFORM=offscreen"};
        for (const char* name : {"PATH", "QTWEBENGINE_DISABLE_SANDBOX", "QTWEBENGINE_CHROMIUM_FLAGS", "ASAN_OPTIONS",
                                 "UBSAN_OPTIONS"})
            if (const char* value = std::getenv(name))
                environment.push_back(std::string(name) + "=" + value);
        std::vector<std::string> argv = {Launcher().string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return std::make_unique<RunningProgram>(argv, environment, Home().string(), Output().string());
    }

    fs::path Output() const { return root_.Path() / "output.txt"; }
    std::string OutputText() const { return "\nThe program's output:\n" + ReadBytes(Output()); }

    testsupport::TestFolder root_{"install"};
};

TEST_F(InstalledProgram, PutsTheProgramFolderTheLauncherTheMenuEntryTheIconAndTheDocumentsAndNothingElse)
{
    std::vector<std::string> installed;
    for (const auto& entry : fs::recursive_directory_iterator(Prefix()))
        if (!entry.is_directory() || entry.is_symlink())
            installed.push_back(entry.path().lexically_relative(Prefix()).string());
    std::sort(installed.begin(), installed.end());
    EXPECT_EQ(installed, (std::vector<std::string>{
                             "bin/konverze",
                             "lib/konverze/konverze",
                             "lib/konverze/konverze.mdb",
                             "lib/konverze/konverze.txt",
                             "lib/konverze/libVerlumka.so",
                             "share/applications/konverze.desktop",
                             "share/doc/konverze/changelog.Debian.gz",
                             "share/doc/konverze/copyright",
                             "share/icons/hicolor/scalable/apps/konverze.svg",
                             "share/lintian/overrides/konverze",
                             "share/man/man1/konverze.1.gz",
                         }));

    // The launcher is a relative link, so the prefix can move (a package's staging folder).
    ASSERT_TRUE(fs::is_symlink(Launcher()));
    EXPECT_EQ(fs::read_symlink(Launcher()), "../lib/konverze/konverze");
    EXPECT_EQ(fs::canonical(Launcher()), fs::canonical(ProgramFolder() / "konverze"));
    EXPECT_NE(fs::status(ProgramFolder() / "konverze").permissions() & fs::perms::others_exec, fs::perms::none);

    EXPECT_EQ(ReadBytes(ProgramFolder() / "konverze.txt"), KONVERZE_VERSION "\n");
    EXPECT_EQ(ReadBytes(Shipped()), ReadBytes(fs::path(KONVERZE_BUILD_DIR) / "bin/konverze.mdb"));
    EXPECT_EQ(ReadBytes(Shipped()).substr(0, 16), std::string("SQLite format 3\0", 16));
}

TEST_F(InstalledProgram, TheDesktopEntryIsValidAndNamesTheLauncherAndTheIcon)
{
    const fs::path entry = Prefix() / "share/applications/konverze.desktop";
    const CommandResult validation = RunCommand({"desktop-file-validate", entry.string()});
    ASSERT_NE(validation.status, 127) << "desktop-file-validate is missing: scripts/setup installs it";
    EXPECT_EQ(validation.status, 0) << validation.output;
    EXPECT_EQ(validation.output, "");

    const auto keys = DesktopKeys(entry);
    EXPECT_EQ(keys.at("Type"), "Application");
    EXPECT_EQ(keys.at("Name"), "Konverze");
    EXPECT_EQ(keys.at("Comment"), "Evidence autorizovaných konverzí dokumentů");
    EXPECT_EQ(keys.at("Categories"), "Office;");
    EXPECT_EQ(keys.at("Terminal"), "false");
    // The menu starts the launcher on the PATH without arguments: the data
    // folder is then the user's own.
    EXPECT_EQ(keys.at("Exec"), "konverze");
    EXPECT_TRUE(fs::exists(Prefix() / "bin" / keys.at("Exec")));
    const fs::path icon = Prefix() / "share/icons/hicolor/scalable/apps" / (keys.at("Icon") + ".svg");
    ASSERT_TRUE(fs::exists(icon));
    const std::string drawing = ReadBytes(icon);
    EXPECT_EQ(drawing.rfind("<?xml", 0), 0u);
    EXPECT_NE(drawing.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
}

TEST_F(InstalledProgram, AFirstStartFromTheMenuCopiesTheShippedDatabaseAndLeavesTheProgramFolderAlone)
{
    const fs::path dataFolder = Home() / ".local/share/Orvalis";
    TurnOffTheUpdateCheck(dataFolder);
    MakeProgramFolderReadOnly();
    const auto before = StateOf(ProgramFolder());

    auto program = StartLauncher({});
    ASSERT_TRUE(program->WaitForOpen((dataFolder / "konverze.mdb").string(), StartTimeout))
        << program->Ended() << OutputText();
    EXPECT_EQ(ReadBytes(dataFolder / "konverze.mdb"), ReadBytes(Shipped()));
    EXPECT_FALSE(program->HasOpen(Shipped().string()));
    // The update library is the one beside the installed executable.
    EXPECT_TRUE(program->HasMapped((ProgramFolder() / "libVerlumka.so").string()));
    EXPECT_FALSE(program->HasMapped(std::string(KONVERZE_BUILD_DIR) + "/bin/libVerlumka.so"));
    // Its forms made, the program waits for the user.
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_TRUE(program->Running()) << program->Ended() << OutputText();
    program->Stop();

    EXPECT_EQ(StateOf(ProgramFolder()), before);
}

TEST_F(InstalledProgram, ADataFolderOnTheCommandLineKeepsTheRegisterItHolds)
{
    const fs::path dataFolder = root_.Path() / "Evidence";
    TurnOffTheUpdateCheck(dataFolder);
    fs::copy_file(Shipped(), dataFolder / "konverze.mdb");
    auto count = [&](const char* sql) {
        sqlite3* db = nullptr;
        int rows = -1;
        if (sqlite3_open((dataFolder / "konverze.mdb").c_str(), &db) == SQLITE_OK)
            sqlite3_exec(
                db, sql, [](void* out, int, char** values, char**) {
                    *static_cast<int*>(out) = std::atoi(values[0]);
                    return 0;
                },
                &rows, nullptr);
        sqlite3_close(db);
        return rows;
    };
    count("INSERT INTO uzivatel (jmeno_prijmeni) VALUES ('JUDr. Jana Nováková')");
    ASSERT_EQ(count("SELECT COUNT(*) FROM uzivatel WHERE jmeno_prijmeni = 'JUDr. Jana Nováková'"), 1);
    MakeProgramFolderReadOnly();
    const auto before = StateOf(ProgramFolder());

    auto program = StartLauncher({dataFolder.string() + "/"});
    ASSERT_TRUE(program->WaitForOpen((dataFolder / "konverze.mdb").string(), StartTimeout))
        << program->Ended() << OutputText();
    program->Stop();

    EXPECT_EQ(count("SELECT COUNT(*) FROM uzivatel WHERE jmeno_prijmeni = 'JUDr. Jana Nováková'"), 1);
    EXPECT_EQ(StateOf(ProgramFolder()), before);
    // Nothing of the program's went into the user's home either.
    EXPECT_FALSE(fs::exists(Home() / ".local/share/Orvalis"));
}

} // namespace
