// Field values: conversions, display texts, and the variant they travel in.

#include "Register.h"

#include "platform/data/DataError.h"
#include "platform/data/Variant.h"

#include <gtest/gtest.h>

using namespace data;

TEST(Variant, ConvertsLikeTheClassLibrary)
{
    EXPECT_TRUE(Variant().IsNull());
    EXPECT_EQ(Variant().AsString(), "");
    EXPECT_EQ(Variant(42).AsString(), "42");
    EXPECT_EQ(Variant(true).AsInteger(), -1);
    EXPECT_EQ(Variant(true).AsString(), "True");
    EXPECT_EQ(Variant(2.5).AsInteger(), 2); // halves to even
    EXPECT_EQ(Variant(3.5).AsInteger(), 4);
    EXPECT_EQ(Variant(" 17 ").AsInteger(), 17);
    EXPECT_DOUBLE_EQ(Variant("2,5").AsFloat(), 2.5);
    EXPECT_EQ(Variant(2.5).AsString(), "2,5");
    EXPECT_TRUE(Variant("true").AsBoolean());
    EXPECT_FALSE(Variant(0).AsBoolean());
    EXPECT_EQ(Variant::FromDateTime(DateTimeOf(2010, 5, 12, 9, 5, 0)).AsString(), "12.5.2010 9:05:00");
    EXPECT_EQ(Variant::FromDateTime(DateTimeOf(2010, 5, 12)).AsString(), "12.5.2010");
    EXPECT_DOUBLE_EQ(Variant("12.5.2010 9:05").AsDateTime(), DateTimeOf(2010, 5, 12, 9, 5, 0));
    EXPECT_EQ(Variant(1), Variant(1));
    EXPECT_FALSE(Variant(1) == Variant(1.0));
    EXPECT_EQ(Variant(), Variant::Null());
    try {
        Variant().AsInteger();
        FAIL();
    } catch (const EVariantError& e) {
        EXPECT_EQ(e.Message(), "Could not convert variant of type (Null) into type (Integer)");
    }
    EXPECT_THROW(Variant("abc").AsFloat(), EVariantError);
    EXPECT_THROW(Variant("3000000000").AsInteger(), EVariantError);
    EXPECT_EQ(Variant("3000000000").AsInt64(), 3000000000LL);
}

class FieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.Exec("INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, datum_sepsani_vstupu, "
                "osvobozeni, cislo_dokladu) VALUES ('12', 40310.75, 'Smlouva', NULL, 1, 'D-7')");
        r.SetLines();
        r.query->Open();
    }
    TestDatabase db;
    Register r{db};
};

TEST_F(FieldTest, ReadsEveryKindOfValue)
{
    EXPECT_EQ(r.ID->DataType(), ftAutoInc);
    EXPECT_TRUE(r.ID->ReadOnly());
    EXPECT_EQ(r.ID->AsInteger(), 1);
    EXPECT_EQ(r.ID->AsVariant().VarType(), varInteger);
    EXPECT_EQ(r.poradove_cislo->AsInteger(), 12); // a text that is a number
    EXPECT_EQ(r.poradove_cislo->AsVariant(), Variant("12"));
    EXPECT_DOUBLE_EQ(r.datum_konverze->AsDateTime(), DateTimeOf(2010, 5, 12, 18, 0, 0));
    EXPECT_EQ(r.datum_konverze->AsVariant().VarType(), varDate);
    EXPECT_EQ(r.datum_konverze->AsString(), "12.5.2010 18:00:00");
    EXPECT_EQ(r.datum_konverze->DisplayText(), "12.05.2010");
    EXPECT_TRUE(r.datum_sepsani_vstupu->IsNull());
    EXPECT_EQ(r.datum_sepsani_vstupu->DisplayText(), "");
    EXPECT_DOUBLE_EQ(r.datum_sepsani_vstupu->AsDateTime(), 0);
    EXPECT_TRUE(r.osvobozeni->AsBoolean());
    EXPECT_EQ(r.osvobozeni->AsString(), "True");
    EXPECT_EQ(r.pocet_rok->AsInteger(), 1);
    EXPECT_THROW(r.oznaceni_vstupu->AsInteger(), core::EConvertError);
    try {
        r.cislo_dokladu->AsFloat();
        FAIL();
    } catch (const core::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'D-7' is not a valid floating point value");
    }
}

TEST_F(FieldTest, WritesConvertToTheFieldsKind)
{
    r.query->Edit();
    r.datum_sepsani_vstupu->SetAsString("1.5.2010");
    EXPECT_DOUBLE_EQ(r.datum_sepsani_vstupu->AsDateTime(), DateTimeOf(2010, 5, 1));
    try {
        r.datum_sepsani_vstupu->SetAsString("31.2.2010");
        FAIL();
    } catch (const core::EConvertError& e) {
        EXPECT_EQ(e.Message(), "Text „31.2.2010“ v poli „datum_sepsani_vstupu“ není platné datum.");
    }
    r.datum_konverze->SetAsString("");
    EXPECT_TRUE(r.datum_konverze->IsNull());

    r.osvobozeni->SetDisplayValues("Ano;Ne");
    r.osvobozeni->SetAsString("ne");
    EXPECT_FALSE(r.osvobozeni->AsBoolean());
    EXPECT_EQ(r.osvobozeni->DisplayText(), "Ne");
    r.osvobozeni->SetAsString("A");
    EXPECT_TRUE(r.osvobozeni->AsBoolean());
    try {
        r.osvobozeni->SetAsString("možná");
        FAIL();
    } catch (const core::EConvertError& e) {
        EXPECT_EQ(e.Message(), "Text „možná“ v poli „osvobozeni“ není platná hodnota.");
    }

    r.cislo_dokladu->SetAsInteger(77);
    EXPECT_EQ(r.cislo_dokladu->AsString(), "77");
    r.oznaceni_vstupu->Clear();
    EXPECT_TRUE(r.oznaceni_vstupu->IsNull());
    r.query->Post();

    // What was posted reads back the same after a reopen.
    r.query->Close();
    r.query->Open();
    EXPECT_TRUE(r.datum_konverze->IsNull());
    EXPECT_DOUBLE_EQ(r.datum_sepsani_vstupu->AsDateTime(), DateTimeOf(2010, 5, 1));
    EXPECT_TRUE(r.osvobozeni->AsBoolean());
    EXPECT_EQ(r.cislo_dokladu->AsString(), "77");
    EXPECT_TRUE(r.oznaceni_vstupu->IsNull());
}

TEST_F(FieldTest, IntegerFieldsCheckTheirRange)
{
    TADOQuery query(nullptr);
    query.SetConnection(r.connection);
    query.SQL()->Add("SELECT ID, poradove_cislo FROM konverze");
    auto* id = new TIntegerField(&query);
    id->SetFieldName("ID");
    id->SetDataSet(&query);
    auto* serial = new TIntegerField(&query);
    serial->SetFieldName("poradove_cislo");
    EXPECT_NO_THROW(serial->SetDataSet(&query));
    // A number field over a text column does not fit.
    EXPECT_THROW(query.Open(), EDatabaseError);
    serial->SetDataSet(nullptr);
    query.Open();
    EXPECT_EQ(query.FieldCount(), 1);
    query.Edit();
    EXPECT_THROW(id->SetAsString("12x"), core::EConvertError);
    try {
        id->SetAsLargeInt(3000000000LL);
        FAIL();
    } catch (const core::EConvertError& e) {
        EXPECT_EQ(e.Message(), "Hodnota 3000000000 v poli „ID“ je mimo rozsah -2147483648 až 2147483647.");
    }
    query.Cancel();
    EXPECT_EQ(id->AsInteger(), 1);
}

TEST_F(FieldTest, OnChangeFollowsEveryWrite)
{
    int changes = 0;
    r.poradove_cislo->OnChange = [&](TField* f) {
        ++changes;
        EXPECT_EQ(f, r.poradove_cislo);
    };
    r.query->Edit();
    r.poradove_cislo->SetAsString("13");
    r.poradove_cislo->SetAsString("14");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(r.query->State(), dsEdit);
    EXPECT_TRUE(r.query->Modified());
    r.query->Cancel();
    EXPECT_EQ(r.poradove_cislo->AsString(), "12");
}
