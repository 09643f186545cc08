// A register opened with only its first rows read: what it answers is the
// whole result all the same (count, last record, moves, changes), the rest
// comes in steps or at once, and a result read only in part is never kept
// as if it were whole.

#include "Register.h"

#include "platform/data/DataError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace data;

namespace {

constexpr int kRows = 50;

class FirstRows : public testing::Test {
protected:
    void SetUp() override
    {
        db.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(kRows) +
                ") INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, osvobozeni) "
                "SELECT i || '/2010', 40300 + i, 'Listina ' || i, 0 FROM n");
        r.SetLines();
    }

    // Every serial number as the whole result gives them, newest first.
    static std::vector<std::string> Whole()
    {
        std::vector<std::string> serials;
        for (int i = kRows; i >= 1; --i)
            serials.push_back(std::to_string(i) + "/2010");
        return serials;
    }

    TestDatabase db;
    Register r{db};
};

} // namespace

TEST_F(FirstRows, OnlyTheFirstRowsAreReadAtOpenAndTheCountReadsTheRest)
{
    r.query->OpenFirst(10);
    EXPECT_EQ(r.query->RecordsRead(), 10);
    EXPECT_FALSE(r.query->AllRecordsRead());
    EXPECT_EQ(r.poradove_cislo->AsString(), "50/2010");
    EXPECT_EQ(r.pocet_rok->AsInteger(), kRows);
    EXPECT_EQ(r.query->RecordCount(), kRows);
    EXPECT_TRUE(r.query->AllRecordsRead());
    EXPECT_EQ(Serials(r), Whole());
}

TEST_F(FirstRows, StepsReadOnUntilTheEnd)
{
    r.query->OpenFirst(10);
    EXPECT_TRUE(r.query->ReadMoreRecords(15));
    EXPECT_EQ(r.query->RecordsRead(), 25);
    EXPECT_TRUE(r.query->ReadMoreRecords(24));
    EXPECT_EQ(r.query->RecordsRead(), 49);
    EXPECT_FALSE(r.query->ReadMoreRecords(1000));
    EXPECT_EQ(r.query->RecordsRead(), kRows);
    EXPECT_FALSE(r.query->ReadMoreRecords(1));
    EXPECT_EQ(Serials(r), Whole());
}

TEST_F(FirstRows, MovesPastTheRowsReadReachTheWholeResult)
{
    r.query->OpenFirst(5);
    r.query->MoveBy(4);
    EXPECT_EQ(r.query->RecordsRead(), 5) << "a move inside the rows read reads nothing";
    EXPECT_EQ(r.query->MoveBy(10), 10);
    EXPECT_EQ(r.poradove_cislo->AsString(), "36/2010");
    EXPECT_FALSE(r.query->Eof());

    // Each statement below is another one: nothing kept serves it.
    r.query->Close();
    r.SetLines("WHERE ID > 0");
    r.query->OpenFirst(5);
    r.query->Last();
    EXPECT_EQ(r.query->RecNo(), kRows);
    EXPECT_TRUE(r.query->Eof());
    EXPECT_EQ(r.poradove_cislo->AsString(), "1/2010");

    r.query->Close();
    r.SetLines("WHERE ID > 1");
    r.query->OpenFirst(5);
    r.query->SetRecNo(40);
    EXPECT_EQ(r.poradove_cislo->AsString(), "11/2010");
    EXPECT_EQ(r.query->RecordsRead(), kRows - 1);
}

TEST_F(FirstRows, AResultReadInPartIsReadWholeBeforeAChange)
{
    r.query->OpenFirst(3);
    r.query->Edit();
    EXPECT_TRUE(r.query->AllRecordsRead());
    r.oznaceni_vstupu->SetAsString("Opraveno");
    r.query->Post();
    r.query->Close();
    r.query->OpenFirst(3);
    EXPECT_EQ(r.oznaceni_vstupu->AsString(), "Opraveno");

    r.query->Close();
    r.query->OpenFirst(3);
    r.query->Delete();
    EXPECT_EQ(r.query->RecordCount(), kRows - 1);
    EXPECT_EQ(r.poradove_cislo->AsString(), "49/2010");

    r.query->Close();
    r.query->OpenFirst(3);
    r.query->Append();
    EXPECT_EQ(r.query->RecordCount(), kRows);
    EXPECT_EQ(r.query->RecNo(), kRows) << "the new row comes after the last row of the whole result";
    r.poradove_cislo->SetAsString("51/2010");
    r.query->Post();
    EXPECT_EQ(r.query->RecordCount(), kRows);
}

TEST_F(FirstRows, AResultClosedBeforeItsEndIsReadAgainWhole)
{
    r.query->OpenFirst(7);
    r.query->Close();
    r.query->Open();
    EXPECT_EQ(r.query->RecordsRead(), kRows);
    EXPECT_EQ(Serials(r), Whole());

    // Read to its end in steps, it is whole and serves a later opening as any result does.
    r.query->Close();
    r.query->OpenFirst(7);
    while (r.query->ReadMoreRecords(7)) {
    }
    r.query->Close();
    r.SetLines("", "ORDER BY datum_konverze");
    r.query->Open();
    std::vector<std::string> ascending = Whole();
    std::reverse(ascending.begin(), ascending.end());
    EXPECT_EQ(Serials(r), ascending);
}

TEST_F(FirstRows, ASmallResultIsWholeAtOnce)
{
    r.query->OpenFirst(kRows);
    EXPECT_TRUE(r.query->AllRecordsRead());
    r.query->Close();
    r.query->OpenFirst(1000);
    EXPECT_TRUE(r.query->AllRecordsRead());
    EXPECT_EQ(r.query->RecordsRead(), kRows);
}

TEST_F(FirstRows, AGridWindowReadsOnlyAsFarAsItReaches)
{
    TDataLink window;
    r.query->OpenFirst(20);
    window.SetDataSource(r.source);
    window.SetBufferCount(15);
    EXPECT_EQ(window.RecordCount(), 15);
    EXPECT_EQ(r.query->RecordsRead(), 20);
    window.SetBufferCount(30);
    EXPECT_EQ(window.RecordCount(), 30);
    EXPECT_TRUE(r.query->AllRecordsRead());
    window.SetDataSource(nullptr);
}
