#include "TempFolderFixture.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/core/IniFile.h"
#include "platform/core/Streams.h"
#include "platform/core/StringList.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace core;

namespace {

class IniFileTest : public TempFolderFixture {
protected:
    const std::string file = dir + "nastaveni.ini";
};

} // namespace

TEST_F(IniFileTest, WriteBoolKeepsForeignSectionsCommentsAndLineEnds)
{
    const std::string original = "; Nastavení programu Konverze\r\n"
                                 "[CAK]\r\n"
                                 "email=podatelna@example.cz\r\n"
                                 "\r\n"
                                 "[cizí sekce]\r\n"
                                 "  klíč = hodnota s mezerou \r\n"
                                 "; poznámka na konci\r\n";
    WriteFileBytes(file, original);
    TIniFile ini(file);
    ini.WriteBool("nastaveni", "kontrolovat_po_startu", false);
    EXPECT_EQ(ReadFileBytes(file), original + "\r\n[nastaveni]\r\nkontrolovat_po_startu=0\r\n");
    ini.WriteBool("nastaveni", "kontrolovat_po_startu", true);
    EXPECT_EQ(ReadFileBytes(file), original + "\r\n[nastaveni]\r\nkontrolovat_po_startu=1\r\n");
    EXPECT_EQ(ini.ReadString("CAK", "email", ""), "podatelna@example.cz");
    EXPECT_EQ(ini.ReadString("cizí sekce", "klíč", ""), "hodnota s mezerou");
    EXPECT_EQ(Listing(), std::vector<std::string>{"nastaveni.ini"}); // no temporary file left
}

TEST_F(IniFileTest, ANewFileIsCreatedWithLfLineEnds)
{
    TIniFile ini(file);
    EXPECT_TRUE(ini.ReadBool("nastaveni", "kontrolovat_po_startu", true));
    EXPECT_FALSE(FileExists(file)); // reading creates nothing
    ini.WriteBool("nastaveni", "kontrolovat_po_startu", true);
    ini.WriteString("CAK", "email", "podatelna@example.cz");
    EXPECT_EQ(ReadFileBytes(file), "[nastaveni]\nkontrolovat_po_startu=1\n\n[CAK]\nemail=podatelna@example.cz\n");
}

TEST_F(IniFileTest, NamesMatchWithoutLetterCaseAndBooleansReadAsIntegers)
{
    WriteFileBytes(file, "[NASTAVENI]\nKontrolovat_Po_Startu=0\n[Čeština]\nŽluťoučký=kůň\n"
                         "[čísla]\ndva=2\nano=ano\nmezery= 1 \nhex=0x1F\ndolar=$10\nminus=-3\n");
    TIniFile ini(file);
    EXPECT_FALSE(ini.ReadBool("nastaveni", "kontrolovat_po_startu", true));
    EXPECT_EQ(ini.ReadString("čEŠTINA", "žLUŤOUČKÝ", ""), "kůň");
    EXPECT_TRUE(ini.ReadBool("ČÍSLA", "dva", false));
    EXPECT_TRUE(ini.ReadBool("čísla", "ano", true));   // not an integer: the default
    EXPECT_FALSE(ini.ReadBool("čísla", "ano", false));
    EXPECT_TRUE(ini.ReadBool("čísla", "mezery", false));
    EXPECT_EQ(ini.ReadInteger("čísla", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("čísla", "dolar", 0), 16);
    EXPECT_EQ(ini.ReadInteger("čísla", "minus", 0), -3);
    EXPECT_EQ(ini.ReadInteger("čísla", "chybí", 42), 42);
    EXPECT_EQ(ini.ReadString("chybí", "dva", "výchozí"), "výchozí");
    // A write finds the line whatever its case and keeps the file's spelling.
    ini.WriteBool("Nastaveni", "KONTROLOVAT_PO_STARTU", true);
    EXPECT_EQ(ReadFileBytes(file).substr(0, 36), "[NASTAVENI]\nKontrolovat_Po_Startu=1\n");
}

TEST_F(IniFileTest, NewKeysGoAfterTheSectionsLastLine)
{
    WriteFileBytes(file, "[a]\nx=1\n; about b\n\n\n[b]\ny=2\n");
    TIniFile ini(file);
    ini.WriteString("a", "z", "3");
    ini.WriteInteger("b", "w", -7);
    EXPECT_EQ(ReadFileBytes(file), "[a]\nx=1\n; about b\nz=3\n\n\n[b]\ny=2\nw=-7\n");
}

TEST_F(IniFileTest, AFileWithoutFinalLineEndAndWithAByteOrderMark)
{
    WriteFileBytes(file, "\xEF\xBB\xBF[a]\n  Email = stará@example.cz");
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("a", "email", ""), "stará@example.cz");
    ini.WriteString("a", "email", "nová@example.cz");
    EXPECT_EQ(ReadFileBytes(file), "\xEF\xBB\xBF[a]\n  Email =nová@example.cz");
    ini.WriteString("a", "jiný", "x");
    EXPECT_EQ(ReadFileBytes(file), "\xEF\xBB\xBF[a]\n  Email =nová@example.cz\njiný=x\n");
}

TEST_F(IniFileTest, SectionsKeysErasingAndDuplicates)
{
    WriteFileBytes(file, "top=ignored\n[a]\nx=1\ny=2\nnot a key\n;c=comment\n[b]\nz=3\n[A]\nw=4\n");
    TIniFile ini(file);
    EXPECT_TRUE(ini.SectionExists("B"));
    EXPECT_FALSE(ini.SectionExists("c"));
    EXPECT_TRUE(ini.ValueExists("a", "W")); // in the second section of that name
    EXPECT_FALSE(ini.ValueExists("a", ";c"));
    EXPECT_FALSE(ini.ValueExists("", "top"));
    TStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(list.CommaText(), "a,b");
    ini.ReadSection("a", list);
    EXPECT_EQ(list.CommaText(), "x,y,w");
    ini.ReadSectionValues("b", list);
    EXPECT_EQ(list.CommaText(), "z=3");

    ini.DeleteKey("a", "y");
    EXPECT_EQ(ReadFileBytes(file), "top=ignored\n[a]\nx=1\nnot a key\n;c=comment\n[b]\nz=3\n[A]\nw=4\n");
    ini.EraseSection("a");
    EXPECT_EQ(ReadFileBytes(file), "top=ignored\n[b]\nz=3\n");
    const std::string before = ReadFileBytes(file);
    ini.EraseSection("missing");
    ini.DeleteKey("b", "missing");
    EXPECT_EQ(ReadFileBytes(file), before);
}

TEST_F(IniFileTest, TwoObjectsOnOneFileSeeEachOthersChanges)
{
    TIniFile first(file), second(file);
    first.WriteString("CAK", "email", "a@example.cz");
    EXPECT_EQ(second.ReadString("CAK", "email", ""), "a@example.cz");
    second.WriteString("CAK", "email", "b@example.cz");
    EXPECT_EQ(first.ReadString("CAK", "email", ""), "b@example.cz");
}

TEST_F(IniFileTest, AnEntryThatWouldBreakTheFileIsRefused)
{
    WriteFileBytes(file, "[a]\nx=1\n");
    TIniFile ini(file);
    EXPECT_THROW(ini.WriteString("a", "x", "two\nlines"), EIniFileException);
    EXPECT_THROW(ini.WriteString("a", "k=v", "1"), EIniFileException);
    EXPECT_THROW(ini.WriteString("a]", "x", "1"), EIniFileException);
    EXPECT_THROW(ini.WriteString("a", " ", "1"), EIniFileException);
    EXPECT_EQ(ReadFileBytes(file), "[a]\nx=1\n");
}

TEST_F(IniFileTest, WritesKeepTheFilesPermissions)
{
    WriteFileBytes(file, "[a]\nx=1\n");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    TIniFile(file).WriteString("a", "x", "2");
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(IniFileTest, AFileThatCannotBeWrittenRaisesNamingItAndStaysAsItWas)
{
    const std::string missing = dir + "chybí/nastaveni.ini";
    try {
        TIniFile(missing).WriteBool("nastaveni", "kontrolovat_po_startu", true);
        ADD_FAILURE();
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to \"" + missing + "\". No such file or directory");
    }
    // A file on a read-only file system: the write fails and the file is untouched.
    const std::string readOnly = "/proc/version";
    const std::string before = ReadFileBytes(readOnly);
    EXPECT_THROW(TIniFile(readOnly).WriteString("a", "b", "c"), EIniFileException);
    EXPECT_EQ(ReadFileBytes(readOnly), before);
}
