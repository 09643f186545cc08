#include "TempFolderFixture.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/core/OwnTempFolder.h"
#include "platform/core/Streams.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace core;

namespace {

using FilesTest = TempFolderFixture;

// Sets an environment variable for one scope and puts the old state back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

unsigned Mode(const std::string& name)
{
    struct stat st;
    return stat(name.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

} // namespace

TEST(FileNames, SplittingAndJoining)
{
    EXPECT_EQ(ExtractFilePath("/home/jan/evidence.xls"), "/home/jan/");
    EXPECT_EQ(ExtractFileDir("/home/jan/evidence.xls"), "/home/jan");
    EXPECT_EQ(ExtractFileDir("/evidence.xls"), "/");
    EXPECT_EQ(ExtractFileName("/home/jan/evidence.xls"), "evidence.xls");
    EXPECT_EQ(ExtractFileExt("/home/jan/evidence.xls"), ".xls");
    EXPECT_EQ(ExtractFilePath("evidence.xls"), "");
    EXPECT_EQ(ExtractFileName("evidence.xls"), "evidence.xls");
    EXPECT_EQ(ExtractFileName("/home/jan/"), "");
    EXPECT_EQ(ExtractFileExt("/home/jan.novak/export"), "");
    EXPECT_EQ(ExtractFileExt("/home/jan/evidence.2010.csv"), ".csv");
    EXPECT_EQ(ChangeFileExt("/home/jan/evidence.xls", ".csv"), "/home/jan/evidence.csv");
    EXPECT_EQ(ChangeFileExt("/home/jan.novak/export", ".xls"), "/home/jan.novak/export.xls");
    EXPECT_EQ(ChangeFileExt("zpráva.txt", ""), "zpráva");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/data"), "/data/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/data/"), "/data/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/data/"), "/data");
}

TEST_F(FilesTest, CreateDirMakesOneLevelOnly)
{
    EXPECT_TRUE(DirectoryExists(dir));
    EXPECT_TRUE(DirectoryExists(ExcludeTrailingPathDelimiter(dir)));
    EXPECT_FALSE(FileExists(dir));
    EXPECT_TRUE(CreateDir(dir + "Orvalis/"));
    EXPECT_TRUE(DirectoryExists(dir + "Orvalis/"));
    EXPECT_FALSE(CreateDir(dir + "Orvalis/"));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_FALSE(CreateDir(dir + "a/b/"));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(DirectoryExists(dir + "a"));
    try {
        MkDir(dir + "a/b/");
        ADD_FAILURE();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), ENOENT);
        EXPECT_EQ(e.Message(), "Cannot create directory \"" + dir + "a/b/\". No such file or directory");
    }
}

TEST_F(FilesTest, ForceDirectoriesMakesEveryLevel)
{
    EXPECT_TRUE(ForceDirectories(dir + "a/b/c/"));
    EXPECT_TRUE(DirectoryExists(dir + "a/b/c"));
    EXPECT_TRUE(ForceDirectories(dir + "a/b/c"));
    EXPECT_FALSE(ForceDirectories(""));
    WriteFileBytes(dir + "file", "x");
    EXPECT_FALSE(ForceDirectories(dir + "file/sub/"));
    try {
        ForceDirectoriesOrRaise(dir + "file/sub/");
        ADD_FAILURE();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), ENOTDIR);
        EXPECT_NE(e.Message().find("\"" + dir + "file/sub/\""), std::string::npos) << e.Message();
    }
}

TEST_F(FilesTest, CopyFileLeavesAnExistingTargetWhenAsked)
{
    const std::string from = dir + "konverze.mdb", to = dir + "data.mdb";
    WriteFileBytes(from, std::string("shipped\0database", 16));
    ASSERT_EQ(chmod(from.c_str(), 0640), 0);
    EXPECT_TRUE(CopyFile(from, to, true));
    EXPECT_EQ(ReadFileBytes(to), std::string("shipped\0database", 16));
    EXPECT_EQ(Mode(to), 0640u);
    WriteFileBytes(to, "user's own");
    EXPECT_FALSE(CopyFile(from, to, true));
    EXPECT_EQ(ReadFileBytes(to), "user's own");
    EXPECT_TRUE(CopyFile(from, to, false));
    EXPECT_EQ(ReadFileBytes(to), std::string("shipped\0database", 16));
    EXPECT_FALSE(CopyFile(dir + "missing", dir + "x", false));
    EXPECT_FALSE(CopyFile(from, dir + "no/such/folder", false));
    EXPECT_FALSE(FileExists(dir + "x"));
}

TEST_F(FilesTest, DeleteAndRename)
{
    WriteFileBytes(dir + "a", "1");
    WriteFileBytes(dir + "b", "2");
    EXPECT_FALSE(RenameFile(dir + "a", dir + "b"));
    EXPECT_EQ(ReadFileBytes(dir + "b"), "2");
    EXPECT_TRUE(RenameFile(dir + "a", dir + "c"));
    EXPECT_FALSE(FileExists(dir + "a"));
    EXPECT_TRUE(DeleteFile(dir + "c"));
    EXPECT_FALSE(DeleteFile(dir + "c"));
    ASSERT_TRUE(CreateDir(dir + "d"));
    EXPECT_FALSE(DeleteFile(dir + "d"));
    EXPECT_TRUE(DirectoryExists(dir + "d"));
}

TEST_F(FilesTest, WriteFileReplacingKeepsPermissionsLinksAndTheOldFileOnFailure)
{
    const std::string file = dir + "settings";
    WriteFileReplacing(file, "first");
    EXPECT_EQ(ReadFileBytes(file), "first");
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    WriteFileReplacing(file, "second");
    EXPECT_EQ(ReadFileBytes(file), "second");
    EXPECT_EQ(Mode(file), 0600u);
    ASSERT_EQ(symlink("settings", (dir + "link").c_str()), 0);
    WriteFileReplacing(dir + "link", "third");
    struct stat st;
    ASSERT_EQ(lstat((dir + "link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFileBytes(file), "third");
    EXPECT_EQ(Listing(), (std::vector<std::string>{"link", "settings"}));
    // A folder where the file should be: nothing is replaced, nothing is left behind.
    ASSERT_TRUE(CreateDir(dir + "folder"));
    EXPECT_THROW(WriteFileReplacing(dir + "folder", "x"), EInOutError);
    EXPECT_TRUE(DirectoryExists(dir + "folder"));
    EXPECT_EQ(Listing(), (std::vector<std::string>{"folder", "link", "settings"}));
    // A missing folder: the error carries its number for the callers that word their own message.
    try {
        WriteFileReplacing(dir + "none/settings", "x");
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), ENOENT);
        EXPECT_NE(e.Message().find(dir + "none/settings"), std::string::npos) << e.Message();
    }
}

TEST_F(FilesTest, FoldersFromTheEnvironment)
{
    {
        ScopedEnv temp("TEMP", "/var/tmp"), tmpdir("TMPDIR", "/other");
        EXPECT_EQ(TempFolder(), "/var/tmp/");
        EXPECT_EQ(GetEnvironmentVariable("TEMP"), "/var/tmp");
    }
    {
        ScopedEnv temp("TEMP", nullptr), tmpdir("TMPDIR", "/other/");
        EXPECT_EQ(TempFolder(), "/other/");
        EXPECT_EQ(GetEnvironmentVariable("TEMP"), "");
    }
    {
        ScopedEnv temp("TEMP", ""), tmpdir("TMPDIR", nullptr);
        EXPECT_EQ(TempFolder(), "/tmp/");
    }
    {
        ScopedEnv data("XDG_DATA_HOME", "/srv/data"), home("HOME", "/home/jan");
        EXPECT_EQ(UserDataFolder(), "/srv/data/");
    }
    {
        ScopedEnv data("XDG_DATA_HOME", "relative/data"), home("HOME", "/home/jan");
        EXPECT_EQ(UserDataFolder(), "/home/jan/.local/share/");
    }
    {
        ScopedEnv data("XDG_DATA_HOME", nullptr), home("HOME", nullptr);
        EXPECT_EQ(UserDataFolder(), "");
    }
}

TEST_F(FilesTest, TemporaryFilesAreNewAndUnique)
{
    ScopedEnv temp("TEMP", dir.c_str());
    const std::string a = CreateTempFile("evidence_", ".xls");
    const std::string b = CreateTempFile("evidence_", ".xls");
    EXPECT_NE(a, b);
    EXPECT_EQ(ExtractFilePath(a), dir);
    EXPECT_EQ(ExtractFileName(a).substr(0, 9), "evidence_");
    EXPECT_EQ(ExtractFileExt(a), ".xls");
    EXPECT_EQ(ExtractFileName(a).size(), 9u + 6 + 4);
    EXPECT_TRUE(FileExists(a));
    EXPECT_EQ(ReadFileBytes(a), "");
    ScopedEnv missing("TEMP", (dir + "missing").c_str());
    EXPECT_THROW(CreateTempFile("x"), EInOutError);
}

TEST_F(FilesTest, TheOwnTemporaryFolderIsPrivateAndNothingElseIsTakenForIt)
{
    ScopedEnv temp("TEMP", dir.c_str());
    const std::string own = dir + ExtractFileName(ParamStr(0)) + "-" + std::to_string(geteuid()) + "/";
    const std::string path = ExcludeTrailingPathDelimiter(own);
    auto mode = [&path] {
        struct stat st {};
        ::lstat(path.c_str(), &st);
        return st.st_mode & 0777;
    };
    auto any = [](std::string_view) { return true; };
    const auto everything = std::chrono::hours(-1);  // every file counts as stale
    EXPECT_EQ(OwnTempFolderName(), own);
    EXPECT_EQ(RemoveStaleTempFiles(everything, any), 0);
    EXPECT_FALSE(DirectoryExists(own)) << "tidying makes no folder";
    for (const mode_t before : {0u, 0755u}) {
        if (before != 0)
            ::chmod(path.c_str(), before);
        EXPECT_EQ(OwnTempFolder(), own);
        EXPECT_EQ(mode(), 0700u) << before;
    }
    // A file or a link under its name is refused, and what the link leads to is not tidied.
    WriteFileBytes(own + "stary.xls", "x");
    ASSERT_EQ(::rename(path.c_str(), (dir + "stranou").c_str()), 0);
    for (const bool link : {false, true}) {
        if (link)
            ASSERT_EQ(::symlink((dir + "stranou").c_str(), path.c_str()), 0);
        else
            WriteFileBytes(path, "x");
        EXPECT_THROW(OwnTempFolder(), EInOutError) << link;
        EXPECT_EQ(RemoveStaleTempFiles(everything, any), 0) << link;
        ::unlink(path.c_str());
    }
    EXPECT_TRUE(FileExists(dir + "stranou/stary.xls"));
    ASSERT_EQ(::rename((dir + "stranou").c_str(), path.c_str()), 0);
    EXPECT_EQ(RemoveStaleTempFiles(everything, any), 1);
}

TEST(CommandLine, ExecutableAndArguments)
{
    const std::string exe = ParamStr(0);
    EXPECT_EQ(ExtractFileName(exe), "platform_core_tests");
    EXPECT_EQ(ExecutableFolder(), ExtractFilePath(exe));
    EXPECT_EQ(ExecutableFolder().back(), '/');
    EXPECT_TRUE(FileExists(exe));
    const char* argv[] = {"konverze", "/data/Evidence/", "druhý"};
    SetCommandLine(3, argv);
    EXPECT_EQ(ParamCount(), 2);
    EXPECT_EQ(ParamStr(1), "/data/Evidence/");
    EXPECT_EQ(ParamStr(2), "druhý");
    EXPECT_EQ(ParamStr(3), "");
    EXPECT_EQ(ParamStr(-1), "");
    EXPECT_EQ(ParamStr(0), exe); // always the executable's full path
}
