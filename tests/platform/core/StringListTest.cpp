#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/core/Streams.h"

#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <string>

using namespace core;

TEST(StringList, TextJoinsWithCrLfAndSplitsAnyLineEnd)
{
    TStringList list;
    list.Add("SELECT *");
    list.Add("");
    list.Add("ORDER BY x");
    EXPECT_EQ(list.Text(), "SELECT *\r\n\r\nORDER BY x\r\n");
    list.SetText("a\r\nb\nc\rd");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[3], "d");
    list.Insert(0, "first");
    list.Delete(1);
    EXPECT_EQ(list[0], "first");
    EXPECT_EQ(list[1], "b");
    EXPECT_EQ(list.IndexOf("C"), 2);
    EXPECT_THROW(list.Get(9), EListError);
}

TEST(StringList, ChangeEventFiresOncePerUpdate)
{
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.Add("x");
    EXPECT_EQ(changes, 1);
    list.SetText("a\r\nb\r\nc");
    EXPECT_EQ(changes, 2);
}

TEST(StringList, SortedFindAndDuplicates)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("delta");
    list.Add("Alfa");
    list.Add("charlie");
    list.Add("alfa");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], "Alfa");
    int index = -1;
    EXPECT_FALSE(list.Find("bravo", index));
    EXPECT_EQ(index, 1);
    list.SetDuplicates(TDuplicates::dupError);
    EXPECT_THROW(list.Add("DELTA"), EListError);
}

TEST(StringList, NamesValuesAndCommaText)
{
    TStringList list;
    list.SetValue("email", "a@b.cz");
    EXPECT_EQ(list.Values("EMAIL"), "a@b.cz");
    list.SetCommaText("one,\"two words\", three,\"a \"\"q\"\"\"");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[1], "two words");
    EXPECT_EQ(list[3], "a \"q\"");
    EXPECT_EQ(list.CommaText(), "one,\"two words\",three,\"a \"\"q\"\"\"");
}

TEST(StringList, SaveToFileInWindows1250WithCrLf)
{
    testsupport::TestFolder folder("strings");
    const std::string name = folder.File("vypis.csv");
    TStringList list;
    list.Add("Výpis z evidence konverzí");
    list.Add("Ev. č.: 1");
    list.SaveToFile(name, 1250);
    EXPECT_EQ(ReadFileBytes(name), "V\xFDpis z evidence konverz\xED\r\nEv. \xE8.: 1\r\n");
    TStringList back;
    back.LoadFromFile(name, 1250);
    EXPECT_EQ(back[0], "Výpis z evidence konverzí");
}
