#include "platform/core/Exceptions.h"
#include "platform/core/ReplacingFileStream.h"

#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace core;

namespace {

class ReplacingFile : public ::testing::Test {
protected:
    testsupport::TestFolder folder{"replacing"};
    const std::filesystem::path& dir = folder.Path();
    std::size_t EntryCount() const { return folder.Entries().size(); }
};

} // namespace

TEST_F(ReplacingFile, OldFileStaysUntilCommit)
{
    const std::string name = (dir / "a.txt").string();
    WriteFileBytes(name, "old");
    {
        TReplacingFileStream file(name);
        file.WriteString("new and longer");
        EXPECT_EQ(file.Position(), 14);
        EXPECT_EQ(ReadFileBytes(name), "old");
    } // no commit: the old file stays, the temporary file goes
    EXPECT_EQ(ReadFileBytes(name), "old");
    EXPECT_EQ(EntryCount(), 1u);

    TReplacingFileStream file(name);
    file.WriteString("new");
    file.Commit();
    EXPECT_EQ(ReadFileBytes(name), "new");
    EXPECT_EQ(EntryCount(), 1u);
    char c;
    EXPECT_THROW(file.Read(&c, 1), EStreamError);
}

TEST_F(ReplacingFile, PermissionsAndLinksAreKept)
{
    const std::string name = (dir / "b.txt").string();
    WriteFileBytes(name, "x");
    ::chmod(name.c_str(), 0600);
    const std::string link = (dir / "link.txt").string();
    std::filesystem::create_symlink(name, link);
    TReplacingFileStream file(link);
    file.WriteString("through the link");
    file.Commit();
    EXPECT_TRUE(std::filesystem::is_symlink(link)) << "the link still points to the file";
    EXPECT_EQ(ReadFileBytes(name), "through the link");
    struct stat st {};
    ::stat(name.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(ReplacingFile, MissingFolderRaisesNamingTheFile)
{
    const std::string name = (dir / "none" / "c.txt").string();
    try {
        TReplacingFileStream file(name);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find(name), std::string::npos);
    }
}
