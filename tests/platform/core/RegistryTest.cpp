#include "platform/core/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace core;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/konverze-registry-XXXXXX";
        folder_ = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(folder_);
    }
    std::string HiveText(HKEY root = HKEY_CURRENT_USER)
    {
        std::ifstream in(RegistryHiveFile(root));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string folder_;
};

TEST_F(RegistryTest, HiveFilesLiveUnderTheConfigFolder)
{
    EXPECT_EQ(RegistryFolder(), folder_ + "/konverze/registry/");
    EXPECT_EQ(RegistryHiveFile(HKEY_CURRENT_USER), folder_ + "/konverze/registry/HKEY_CURRENT_USER.reg");
    EXPECT_EQ(RegistryHiveFile(HKEY_CLASSES_ROOT), folder_ + "/konverze/registry/HKEY_CLASSES_ROOT.reg");
    EXPECT_THROW(RegistryHiveFile(42), ERegistryException);
}

TEST_F(RegistryTest, OpenKeyWithoutCreateFailsAndCreatesNothing)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Nothing", false));
    EXPECT_FALSE(reg.HasCurrentKey());
    EXPECT_FALSE(std::filesystem::exists(RegistryHiveFile(HKEY_CURRENT_USER)));
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\Nothing"));
}

TEST_F(RegistryTest, ValuesRoundTripThroughTheFile)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Konverze\\", true));
        EXPECT_EQ(reg.CurrentPath(), "Software\\Konverze");
        reg.WriteString("Jméno", "Příliš \"žluťoučký\" kůň\\\nřádek\ttab\x01");
        reg.WriteString("", "výchozí");
        reg.WriteInteger("Count", -5);
        reg.WriteBool("Flag", true);
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("software\\KONVERZE"));
    EXPECT_EQ(reg.ReadString("jméno"), "Příliš \"žluťoučký\" kůň\\\nřádek\ttab\x01");
    EXPECT_EQ(reg.ReadString(""), "výchozí");
    EXPECT_EQ(reg.ReadInteger("count"), -5);
    EXPECT_TRUE(reg.ReadBool("Flag"));
    EXPECT_EQ(reg.ReadString("missing"), "");
    EXPECT_EQ(reg.GetDataType("Count"), TRegDataType::rdInteger);
    EXPECT_EQ(reg.GetDataType("Jméno"), TRegDataType::rdString);
    EXPECT_EQ(reg.GetDataType("missing"), TRegDataType::rdUnknown);
    EXPECT_THROW(reg.ReadInteger("Jméno"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("missing"), ERegistryException);
    EXPECT_THROW(reg.ReadString("Count"), ERegistryException);

    // Names keep the case they were created with.
    TStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names.CommaText(), "\"\",Count,Flag,Jméno");
}

TEST_F(RegistryTest, FileFormatIsPlainText)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("A\\B", true));
    reg.WriteString("t", "x\"y");
    reg.WriteInteger("n", 255);
    ASSERT_TRUE(reg.OpenKey("\\A\\Empty", true));
    EXPECT_EQ(HiveText(), "; Konverze registry hive\n[]\n[A]\n[A\\B]\n\"n\"=dword:000000ff\n\"t\"=\"x\\\"y\"\n[A\\Empty]\n");
}

TEST_F(RegistryTest, ReadOnlyKeyRefusesWrites)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("K", true));
    reg.WriteString("v", "1");
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\K"));
    EXPECT_THROW(reg.WriteString("v", "2"), ERegistryException);
    EXPECT_THROW(reg.DeleteValue("v"), ERegistryException);
    EXPECT_EQ(reg.ReadString("v"), "1");
    reg.CloseKey();
    EXPECT_THROW(reg.WriteString("v", "3"), ERegistryException);
}

TEST_F(RegistryTest, RelativeKeysAreTakenBelowTheOpenKey)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Top", true));
    ASSERT_TRUE(reg.OpenKey("Sub", true));
    EXPECT_EQ(reg.CurrentPath(), "Top\\Sub");
    EXPECT_TRUE(reg.KeyExists("\\Top\\Sub"));
    reg.CloseKey();
    EXPECT_TRUE(reg.KeyExists("Top\\Sub"));
    EXPECT_FALSE(reg.KeyExists("Sub"));
}

TEST_F(RegistryTest, DeleteValueAndKey)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Top\\Sub\\Deep", true));
    reg.WriteString("v", "1");
    EXPECT_TRUE(reg.DeleteValue("V"));
    EXPECT_FALSE(reg.DeleteValue("v"));
    EXPECT_FALSE(reg.ValueExists("v"));
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("Top", false));
    EXPECT_TRUE(reg.HasSubKeys());
    EXPECT_TRUE(reg.DeleteKey("Sub"));
    EXPECT_FALSE(reg.HasSubKeys());
    EXPECT_FALSE(reg.KeyExists("\\Top\\Sub\\Deep"));
    EXPECT_FALSE(reg.DeleteKey("Sub"));
}

TEST_F(RegistryTest, MoveKeyCopiesTheSubtreeAndDeletesTheSource)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Sounds\\.Current\\Inner", true));
    reg.WriteString("", "click.wav");
    ASSERT_TRUE(reg.OpenKey("\\Sounds", false));
    reg.MoveKey(".Current", "Old_Current", true);
    EXPECT_FALSE(reg.KeyExists(".Current"));
    ASSERT_TRUE(reg.OpenKey("Old_Current\\Inner", false));
    EXPECT_EQ(reg.ReadString(""), "click.wav");

    // Keeping the source copies only.
    ASSERT_TRUE(reg.OpenKey("\\Sounds", false));
    reg.MoveKey("Old_Current", "Copy", false);
    EXPECT_TRUE(reg.KeyExists("Old_Current\\Inner"));
    EXPECT_TRUE(reg.KeyExists("Copy\\Inner"));

    // A missing source, or a target inside the source, changes nothing.
    reg.MoveKey("Nothing", "Else", true);
    EXPECT_FALSE(reg.KeyExists("Else"));
    reg.MoveKey("Copy", "Copy\\Inner\\X", true);
    EXPECT_TRUE(reg.KeyExists("Copy\\Inner"));
    EXPECT_FALSE(reg.KeyExists("Copy\\Inner\\X"));
}

TEST_F(RegistryTest, KeyNamesAreListedAndHivesAreSeparate)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("P\\b", true));
    ASSERT_TRUE(reg.OpenKey("\\P\\A", true));
    ASSERT_TRUE(reg.OpenKey("\\P", false));
    TStringList names;
    reg.GetKeyNames(names);
    EXPECT_EQ(names.CommaText(), "A,b");

    reg.SetRootKey(HKEY_CLASSES_ROOT);
    EXPECT_FALSE(reg.HasCurrentKey());
    EXPECT_FALSE(reg.KeyExists("P"));
    EXPECT_THROW(reg.SetRootKey(7), ERegistryException);
}

TEST_F(RegistryTest, InvalidKeyNamesAreRefused)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Bad\nName", true));
    EXPECT_FALSE(reg.CreateKey("Bad\x01"));
}

TEST_F(RegistryTest, DamagedLinesAreSkipped)
{
    std::filesystem::create_directories(RegistryFolder());
    std::ofstream(RegistryHiveFile(HKEY_CURRENT_USER))
        << "[K]\r\n\"good\"=\"1\"\r\nnonsense\r\n\"open=\"x\r\n@=\"d\"\r\n\"n\"=dword:0000000A\r\n";
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("K", false));
    EXPECT_EQ(reg.ReadString("good"), "1");
    EXPECT_EQ(reg.ReadString(""), "d");
    EXPECT_EQ(reg.ReadInteger("n"), 10);
    TStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names.Count(), 3);
}

TEST_F(RegistryTest, UnwritableFolderRaises)
{
    std::filesystem::create_directories(folder_ + "/konverze");
    std::ofstream(folder_ + "/konverze/registry") << "a file in the way";
    TRegistry reg;
    EXPECT_THROW(reg.OpenKey("K", true), ERegistryException);
}

} // namespace
