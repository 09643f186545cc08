// Dates typed into the register's data-aware pickers and into the export
// form's pickers, key by key as the user types them: stored exactly as typed
// over 15.2.2011, or refused without a date of their own making.

#include "ExportFixture.h"

#include "platform/core/FormatSettings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTimeEdit>
#include <QTest>

#include <cmath>
#include <cstdio>

using namespace apptest;

namespace {

class TypedDates : public ExportFixture {
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        AddUser("JUDr. Jana Nováková", "Petr Novák", "jana@example.cz", "12345");
        AddRow("1/2011", "Plná moc", core::EncodeDateTime(2011, 2, 15, 10, 0, 0, 0), "", true,
               core::EncodeDateTime(2011, 2, 15, 9, 0, 0, 0));
        AddRow("2/2011", "Rozsudek", core::EncodeDateTime(2011, 2, 15, 11, 0, 0, 0));
        Form()->Show();
        QApplication::setActiveWindow(Form()->Widget());
    }
    void TearDown() override
    {
        Form()->Hide();
        Export()->Hide();
        ExportFixture::TearDown();
    }

    // Into the picker, its whole text selected, and the keys typed.
    static void TypeOver(ui::TDateTimePicker* picker, const char* keys)
    {
        auto* edit = static_cast<QDateTimeEdit*>(picker->Widget());
        picker->SetFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, keys);
    }
    // Leaves the pickers for an edit of the register.
    void Leave() { Form()->Cislo_Dokladu_DBEdit->SetFocus(); }
    double StoredDate(const std::string& serial, const std::string& column)
    {
        return std::stod(Stored(serial, column));
    }
    static std::string Number(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", value);
        return text;
    }
    void ClickNavigator(ui::TNavigateBtn button) { Form()->Konverze_DBNavigator->Buttons(button).Widget()->click(); }
};

struct Typed {
    const char* keys;
    int year, month, day;
};

const Typed kDates[] = {{"30.4.2026", 2026, 4, 30}, {"31.1.2012", 2012, 1, 31}, {"1.2.2011", 2011, 2, 1},
                        {"29.2.2024", 2024, 2, 29}, {"05.06.2007", 2007, 6, 5}};

} // namespace

TEST_F(TypedDates, EachDateTypedIntoTheRegistersPickersIsStoredAsTyped)
{
    for (const Typed& t : kDates) {
        SCOPED_TRACE(t.keys);
        GoTo("1/2011");
        TypeOver(Form()->Datum_Konverze_DB, t.keys);
        TypeOver(Form()->Datum_vstupu_DB, t.keys);
        Leave();
        EXPECT_EQ(Register()->State(), data::dsEdit);
        ClickNavigator(ui::nbPost);
        ASSERT_EQ(Register()->State(), data::dsBrowse) << dialogs_.Describe();
        // The day typed, the time of day the row had.
        EXPECT_NEAR(StoredDate("1/2011", "datum_konverze"),
                    core::EncodeDateTime(t.year, t.month, t.day, 10, 0, 0, 0), 1e-7);
        EXPECT_NEAR(StoredDate("1/2011", "datum_sepsani_vstupu"),
                    core::EncodeDateTime(t.year, t.month, t.day, 9, 0, 0, 0), 1e-7);
        // Put back for the next date.
        app::DM->ADOConnection->Execute("UPDATE konverze SET datum_konverze = " +
                                        Number(core::EncodeDateTime(2011, 2, 15, 10, 0, 0, 0)) +
                                        ", datum_sepsani_vstupu = " +
                                        Number(core::EncodeDateTime(2011, 2, 15, 9, 0, 0, 0)) +
                                        " WHERE poradove_cislo = '1/2011'");
        Register()->Close();
        Register()->Open();
    }
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(TypedDates, ARefusedDateLeavesTheStoredOneAndAnEmptyFieldEmpty)
{
    GoTo("2/2011");
    ASSERT_TRUE(StoredIsNull("2/2011", "datum_sepsani_vstupu"));
    for (const char* keys : {"31.2.2020", "30.4.", "30.4.20"}) {
        SCOPED_TRACE(keys);
        TypeOver(Form()->Datum_Konverze_DB, keys);
        TypeOver(Form()->Datum_vstupu_DB, keys);
        Leave();
        EXPECT_TRUE(Form()->Datum_Konverze_DB->Refused());
        EXPECT_TRUE(Form()->Datum_vstupu_DB->Refused());
        EXPECT_EQ(Form()->Datum_Konverze_DB->DisplayText(), "15.2.2011");
        EXPECT_EQ(Form()->Datum_vstupu_DB->DisplayText(), "");
    }
    // Saved with what else the user changed, the dates are as they were.
    Form()->Cislo_Dokladu_DBEdit->SetText("D-7");
    ClickNavigator(ui::nbPost);
    ASSERT_EQ(Register()->State(), data::dsBrowse) << dialogs_.Describe();
    EXPECT_EQ(Stored("2/2011", "cislo_dokladu"), "D-7");
    EXPECT_NEAR(StoredDate("2/2011", "datum_konverze"), core::EncodeDateTime(2011, 2, 15, 11, 0, 0, 0), 1e-7);
    EXPECT_TRUE(StoredIsNull("2/2011", "datum_sepsani_vstupu"));
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(TypedDates, ADateStillBeingTypedIsTakenByThePostOfTheNavigator)
{
    // The navigator's buttons take no focus: the picker is still being typed in.
    GoTo("2/2011");
    TypeOver(Form()->Datum_vstupu_DB, "31.1.2012");
    EXPECT_EQ(Register()->State(), data::dsEdit);
    ClickNavigator(ui::nbPost);
    ASSERT_EQ(Register()->State(), data::dsBrowse) << dialogs_.Describe();
    EXPECT_DOUBLE_EQ(std::floor(StoredDate("2/2011", "datum_sepsani_vstupu")), core::EncodeDate(2012, 1, 31));

    // A new row: its input date typed, its conversion date refused and left as the insert rules made it.
    ClickNavigator(ui::nbInsert);
    Form()->Poradove_Cislo_DBEdit->SetText("3/2011");
    Form()->Oznaceni_vstupu_DBEdit->SetText("Usnesení");
    const double converted = Register()->FieldByName("datum_konverze")->AsDateTime();
    TypeOver(Form()->Datum_Konverze_DB, "29.2.2023");
    TypeOver(Form()->Datum_vstupu_DB, "29.2.2024");
    ClickNavigator(ui::nbPost);
    ASSERT_EQ(Register()->State(), data::dsBrowse) << dialogs_.Describe();
    EXPECT_NEAR(StoredDate("3/2011", "datum_konverze"), converted, 1e-7);
    EXPECT_DOUBLE_EQ(std::floor(StoredDate("3/2011", "datum_sepsani_vstupu")), core::EncodeDate(2024, 2, 29));
}

TEST_F(TypedDates, ThePeriodTypedIntoTheExportFormIsThePeriodExported)
{
    Export()->Show();
    QApplication::setActiveWindow(Export()->Widget());
    SetPeriod(core::EncodeDate(2011, 2, 15), core::EncodeDate(2011, 2, 15));
    Export()->CheckBox2->SetChecked(false);
    TypeOver(Export()->Od_DTP, "1.2.2011");
    TypeOver(Export()->Do_DTP, "28.2.2011");
    // The click on the button takes the focus, and with it the date typed last.
    QTest::mouseClick(Export()->Button5->Widget(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(Export()->Od_DTP->Date(), core::EncodeDate(2011, 2, 1));
    EXPECT_DOUBLE_EQ(Export()->Do_DTP->Date(), core::EncodeDate(2011, 2, 28));
    EXPECT_EQ(Export()->Edit1->Text(), temp_ + "evidence_01.02.2011-28.02.2011.csv");
    const std::string csv = FileBytes(Export()->Edit1->Text()).value_or("<no file>");
    EXPECT_NE(csv.find("1/2011;15.02.2011"), std::string::npos) << csv;
    EXPECT_NE(csv.find("2/2011;15.02.2011"), std::string::npos) << csv;
}
