// Dates typed into the register's data-aware pickers and into the export
// form's pickers, key by key as the user types them, also while the
// drop-down calendar is open: stored exactly as typed over 15.2.2011, or
// refused without a date of their own making, and a refused date keeps the
// row from being saved.

#include "ExportFixture.h"

#include "platform/core/FormatSettings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTimeEdit>
#include <QTest>
#include <QWindow>

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
    // A mouse click on a navigator button, as the user gives it.
    void MouseOnNavigator(ui::TNavigateBtn button)
    {
        QTest::mouseClick(Form()->Konverze_DBNavigator->Buttons(button).Widget(), Qt::LeftButton);
    }
    // The drop-down button of the picker clicked, and keys as the keyboard
    // gives them: to the open calendar, else to the focus.
    static void TypeIntoOpenCalendar(ui::TDateTimePicker* picker, const char* keys)
    {
        QWidget* edit = picker->Widget();
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 5, edit->height() / 2));
        ASSERT_TRUE(picker->Calendar()->isVisible());
        QWindow* window = edit->window()->windowHandle();
        for (const char* key = keys; *key != '\0'; ++key)
            QTest::keyClick(window, *key);
        QTest::keyClick(window, Qt::Key_Return);
    }
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
    // The row is not saved while they stay refused; given up, the dates are as they were.
    const std::string receipt = Stored("2/2011", "cislo_dokladu");
    Form()->Cislo_Dokladu_DBEdit->SetText("D-7");
    ClickNavigator(ui::nbPost);
    EXPECT_EQ(Register()->State(), data::dsEdit);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Text „30.4.20“ v poli „Datum konverze“ není platné datum."});
    // Nor by a search, which tells it once for the keys typed into it.
    QTest::keyClicks(Form()->Hledani_Edit->Widget(), "ab");
    EXPECT_EQ(Register()->State(), data::dsEdit);
    EXPECT_EQ(Messages().size(), 2u) << dialogs_.Describe();
    ClickNavigator(ui::nbCancel);
    EXPECT_FALSE(Form()->Datum_Konverze_DB->Refused());
    EXPECT_FALSE(Form()->Datum_vstupu_DB->Refused());
    EXPECT_EQ(Stored("2/2011", "cislo_dokladu"), receipt);
    EXPECT_NEAR(StoredDate("2/2011", "datum_konverze"), core::EncodeDateTime(2011, 2, 15, 11, 0, 0, 0), 1e-7);
    EXPECT_TRUE(StoredIsNull("2/2011", "datum_sepsani_vstupu"));
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

    // A new row: its input date typed, its conversion date refused, and the row is not saved until corrected.
    ClickNavigator(ui::nbInsert);
    Form()->Poradove_Cislo_DBEdit->SetText("3/2011");
    Form()->Oznaceni_vstupu_DBEdit->SetText("Usnesení");
    TypeOver(Form()->Datum_vstupu_DB, "29.2.2024");
    TypeOver(Form()->Datum_Konverze_DB, "29.2.2023");
    ClickNavigator(ui::nbPost);
    EXPECT_EQ(Register()->State(), data::dsInsert);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Text „29.2.2023“ v poli „Datum konverze“ není platné datum."});
    TypeOver(Form()->Datum_Konverze_DB, "28.2.2023");
    ClickNavigator(ui::nbPost);
    ASSERT_EQ(Register()->State(), data::dsBrowse) << dialogs_.Describe();
    EXPECT_DOUBLE_EQ(std::floor(StoredDate("3/2011", "datum_konverze")), core::EncodeDate(2023, 2, 28));
    EXPECT_DOUBLE_EQ(std::floor(StoredDate("3/2011", "datum_sepsani_vstupu")), core::EncodeDate(2024, 2, 29));
}

struct RefusalEnd {
    const char* how;
    // A key and a text typed into the field after the refusal, then saved;
    // no key: the edit given up with "Neukládat" instead.
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    int day; // of February, in the stored date; 0: the date stored before
};

const RefusalEnd kRefusalEnds[] = {
    {"corrected", Qt::Key_Backspace, {}, "4", 29},
    {"typed anew", Qt::Key_A, Qt::ControlModifier, "28.2.2023", 28},
    {"taken back", Qt::Key_Escape, {}, "", 0},
    {"edit cancelled", Qt::Key_unknown, {}, "", 0},
};

TEST_F(TypedDates, WhileATypedDateIsRefusedTheRowIsNotSavedAndTheFieldShowsWhatWasTyped)
{
    for (ui::TDateTimePicker* picker : {static_cast<ui::TDateTimePicker*>(Form()->Datum_Konverze_DB),
                                        static_cast<ui::TDateTimePicker*>(Form()->Datum_vstupu_DB)}) {
        const bool conversion = picker == Form()->Datum_Konverze_DB;
        const std::string column = conversion ? "datum_konverze" : "datum_sepsani_vstupu";
        const std::string label = conversion ? "Datum konverze" : "Datum sepsání vstupu";
        for (const RefusalEnd& end : kRefusalEnds) {
            SCOPED_TRACE(label + ", " + end.how);
            dialogs_.Clear();
            GoTo("1/2011");
            const double before = StoredDate("1/2011", column);
            TypeOver(picker, "29.2.2023");
            EXPECT_EQ(picker->DisplayText(), "29.2.2023");
            // Straight from the typing to a click on "Ulož".
            MouseOnNavigator(ui::nbPost);
            EXPECT_EQ(Messages(),
                      std::vector<std::string>{"Text „29.2.2023“ v poli „" + label + "“ není platné datum."});
            EXPECT_EQ(Register()->State(), data::dsEdit);
            EXPECT_EQ(picker->DisplayText(), "29.2.2023");
            EXPECT_TRUE(picker->Refused());
            EXPECT_DOUBLE_EQ(StoredDate("1/2011", column), before);

            if (end.key == Qt::Key_unknown) {
                MouseOnNavigator(ui::nbCancel);
            } else {
                QTest::keyClick(picker->Widget(), end.key, end.modifiers);
                QTest::keyClicks(picker->Widget(), end.text);
                MouseOnNavigator(ui::nbPost);
            }
            EXPECT_EQ(Register()->State(), data::dsBrowse) << dialogs_.Describe();
            EXPECT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
            EXPECT_FALSE(picker->Refused());
            const double stored = StoredDate("1/2011", column);
            const double expected = end.day == 0 ? before : core::EncodeDate(2023 + (end.day == 29), 2, end.day);
            EXPECT_DOUBLE_EQ(end.day == 0 ? stored : std::floor(stored), expected);
            app::DM->ADOConnection->Execute("UPDATE konverze SET " + column + " = " + Number(before) +
                                            " WHERE poradove_cislo = '1/2011'");
            Register()->Close();
            Register()->Open();
        }
    }
}

struct IntoTheCalendar {
    const char* typed;
    int year, month, day; // 0: refused
};

const IntoTheCalendar kIntoTheOpenCalendar[] = {
    {"7.7.2025", 2025, 7, 7}, {"1.1.2000", 2000, 1, 1}, {"3.11.2026", 2026, 11, 3},
    {"31.4.2024", 0, 0, 0},   {"12.5.", 0, 0, 0},
};

TEST_F(TypedDates, ADateTypedWhileTheCalendarIsOpenIsTheDateTypedInEveryPicker)
{
    Export()->Show();
    for (ui::TDateTimePicker* picker : {static_cast<ui::TDateTimePicker*>(Form()->Datum_Konverze_DB),
                                        static_cast<ui::TDateTimePicker*>(Form()->Datum_vstupu_DB),
                                        Export()->Od_DTP, Export()->Do_DTP}) {
        QApplication::setActiveWindow(picker->Widget()->window());
        for (const IntoTheCalendar& t : kIntoTheOpenCalendar) {
            SCOPED_TRACE(picker->Name() + " " + t.typed);
            GoTo("1/2011");
            SetPeriod(core::EncodeDate(2011, 2, 15), core::EncodeDate(2011, 2, 15));
            const double before = core::DateOf(picker->DateTime());
            TypeIntoOpenCalendar(picker, t.typed);
            const double expected = t.year != 0 ? core::EncodeDate(t.year, t.month, t.day) : before;
            EXPECT_DOUBLE_EQ(core::DateOf(picker->DateTime()), expected);
            EXPECT_EQ(picker->Refused(), t.year == 0);
            if (t.year == 0) {
                EXPECT_EQ(picker->DisplayText(), t.typed);
            }
            if (picker->Owner() == Form())
                ClickNavigator(t.year != 0 ? ui::nbPost : ui::nbCancel);
        }
    }
    // What the register's pickers took was stored, as typed.
    EXPECT_DOUBLE_EQ(std::floor(StoredDate("1/2011", "datum_konverze")), core::EncodeDate(2026, 11, 3));
    EXPECT_DOUBLE_EQ(std::floor(StoredDate("1/2011", "datum_sepsani_vstupu")), core::EncodeDate(2026, 11, 3));
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
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

TEST_F(TypedDates, WhileADateOfThePeriodIsRefusedNothingIsExported)
{
    Export()->Show();
    QApplication::setActiveWindow(Export()->Widget());
    Export()->CheckBox2->SetChecked(false);
    for (ui::TDateTimePicker* picker : {Export()->Od_DTP, Export()->Do_DTP}) {
        for (ui::TButton* button : {Export()->Button2, Export()->Button5}) {
            SCOPED_TRACE(picker->Name() + " " + button->Caption());
            dialogs_.Clear();
            SetPeriod(core::EncodeDate(2011, 2, 1), core::EncodeDate(2011, 2, 28));
            Export()->Edit1->SetText("");
            TypeOver(picker, "31.4.2024");
            QTest::mouseClick(button->Widget(), Qt::LeftButton);
            const std::string label = picker == Export()->Od_DTP ? "Od" : "Do";
            EXPECT_EQ(Messages(), std::vector<std::string>{"Text „31.4.2024“ v poli „" + label + "“ není platné datum."});
            EXPECT_EQ(Export()->Edit1->Text(), "");
            EXPECT_FALSE(FileBytes(temp_ + "evidence_01.02.2011-28.02.2011.csv").has_value());
            EXPECT_FALSE(FileBytes(temp_ + "evidence_01.02.2011-28.02.2011.xls").has_value());
            // Corrected, the date is taken again.
            TypeOver(picker, picker == Export()->Od_DTP ? "1.2.2011" : "28.2.2011");
            Export()->Button1->SetFocus();
            EXPECT_FALSE(picker->Refused());
        }
    }
}
