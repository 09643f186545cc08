#include "RegisterFixture.h"

#include "platform/core/FormatSettings.h"

#include <gtest/gtest.h>

#include <cmath>

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QTest>

using namespace apptest;

namespace {

class Templates : public RegisterFixture {
protected:
    void SetUp() override
    {
        RegisterFixture::SetUp();
        if (HasFatalFailure())
            return;
        AddUser("JUDr. Jana Nováková", "Petr Novák");
        AddRow("1/2010", "", core::EncodeDateTime(2010, 5, 12, 10, 0, 0, 0));
        AddRow("2/2010", "Smlouva", core::EncodeDateTime(2010, 5, 14, 10, 0, 0, 0), "", true,
               core::EncodeDate(2010, 5, 3));
        saved_ = core::FormatSettings;
        core::FormatSettings.ShortDateFormat = "d.M.yyyy";
    }
    void TearDown() override
    {
        core::FormatSettings = saved_;
        RegisterFixture::TearDown();
    }
    std::string Designation() { return Register()->FieldByName("oznaceni_vstupu")->AsString(); }

    core::TFormatSettings saved_;
};

} // namespace

TEST_F(Templates, JudgementThenDistrictCourtWithCaseNumberAndInputDate)
{
    GoTo("1/2010");
    Form()->Datum_vstupu_DB->SetDateTime(core::EncodeDate(2010, 5, 12));
    Form()->Button6->Click();
    EXPECT_EQ(Register()->State(), data::dsEdit);
    EXPECT_EQ(Designation(), "Rozsudek ");
    dialogs_.AnswerInput("v Benešově");
    dialogs_.AnswerInput("12 C 34/2010");
    Form()->Button8->Click();
    EXPECT_EQ(Designation(), "Rozsudek Okresního soudu v Benešově čj. 12 C 34/2010 ze dne 12.5.2010");
    ASSERT_EQ(dialogs_.Questions().size(), 2u);
    EXPECT_EQ(dialogs_.Questions()[0].Caption, "Okresní soud v ...");
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Doplňte: \"Okresního soudu ...\"");
    EXPECT_EQ(dialogs_.Questions()[0].Value, "v Benešově");
    EXPECT_EQ(dialogs_.Questions()[1].Caption, "Číslo jednací");
    EXPECT_EQ(dialogs_.Questions()[1].Text, "Zadejte číslo jednací: ");
    EXPECT_EQ(dialogs_.Questions()[1].Value, "");
    // Saved only by a post.
    EXPECT_EQ(Stored("1/2010", "oznaceni_vstupu"), "");
    Register()->Post();
    EXPECT_EQ(Stored("1/2010", "oznaceni_vstupu"),
              "Rozsudek Okresního soudu v Benešově čj. 12 C 34/2010 ze dne 12.5.2010");
}

TEST_F(Templates, RegionalCourtWithCancelledBoxesTakesTheDefaults)
{
    GoTo("2/2010");
    dialogs_.CancelInput();
    dialogs_.CancelInput();
    Form()->Button7->Click();
    Form()->Button9->Click();
    EXPECT_EQ(Designation(), "SmlouvaUsnesení Krajského soudu v Brně čj.  ze dne 3.5.2010");
    EXPECT_EQ(dialogs_.Questions()[0].Caption, "Krajský soud v ...");
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Doplňte: \"Krajského soudu ...\"");
}

TEST_F(Templates, ContractWithAndWithoutParties)
{
    GoTo("1/2010");
    Form()->Datum_vstupu_DB->SetDateTime(core::EncodeDate(2010, 5, 12));
    dialogs_.AnswerInput("Kupní smlouva");
    dialogs_.AnswerInput("");
    Form()->Button4->Click();
    EXPECT_EQ(Designation(), "Kupní smlouva ze dne 12.5.2010");
    ASSERT_EQ(dialogs_.Questions().size(), 2u);
    EXPECT_EQ(dialogs_.Questions()[0].Caption, "Jaká smlouva");
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Zadejte o jakou smlouvu se jedná:");
    EXPECT_EQ(dialogs_.Questions()[0].Value, "Kupní smlouva o prodeji ... KS 01 ");
    EXPECT_EQ(dialogs_.Questions()[1].Caption, "Účatníci smlouvy ");
    EXPECT_EQ(dialogs_.Questions()[1].Text, "Doplňte: \"Uzavřená mezi \"");

    Register()->Cancel();
    dialogs_.Clear();
    Form()->Datum_vstupu_DB->SetDateTime(core::EncodeDate(2010, 5, 12));
    dialogs_.CancelInput();
    dialogs_.AnswerInput("A a B");
    Form()->Button4->Click();
    EXPECT_EQ(Designation(), "Kupní smlouva o prodeji ... KS 01  ze dne 12.5.2010 uzavřená mezi A a B");
}

TEST_F(Templates, TooLongADesignationIsRefusedAtPost)
{
    GoTo("1/2010");
    Register()->Edit();
    Register()->FieldByName("oznaceni_vstupu")->SetAsString(std::string(250, 'x'));
    Form()->Button6->Click();
    EXPECT_ANY_THROW(Register()->Post());
    EXPECT_EQ(Register()->State(), data::dsEdit);
    EXPECT_EQ(Stored("1/2010", "oznaceni_vstupu"), "");
}

using DatePicker = Templates;
using TadpDBDateTimePickerRef = app::TadpDBDateTimePicker*;

TEST_F(DatePicker, ANullFieldShowsTheBlankPictureAndADateShowsTheDate)
{
    GoTo("1/2010");
    EXPECT_EQ(Form()->Datum_vstupu_DB->Format(), "gg");
    EXPECT_EQ(Form()->Datum_vstupu_DB->DisplayText(), "");
    EXPECT_EQ(Form()->Datum_Konverze_DB->DisplayText(), "12.5.2010");
    GoTo("2/2010");
    EXPECT_EQ(Form()->Datum_vstupu_DB->Format(), "");
    EXPECT_EQ(Form()->Datum_vstupu_DB->DisplayText(), "3.5.2010");
}

TEST_F(DatePicker, TheUsersPickEditsTheRowAndIsStoredByThePost)
{
    GoTo("1/2010");
    auto* edit = static_cast<QDateTimeEdit*>(Form()->Datum_Konverze_DB->Widget());
    edit->setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(Register()->State(), data::dsEdit);
    Register()->FieldByName("oznaceni_vstupu")->SetAsString("Listina");
    Register()->Post();
    // The day moved by one; the time of day stayed.
    EXPECT_NEAR(std::stod(Stored("1/2010", "datum_konverze")), core::EncodeDateTime(2010, 5, 13, 10, 0, 0, 0), 1e-7);
}

TEST_F(DatePicker, DatesTypedIntoThePickersOfAStoredRowAreStored)
{
    GoTo("2/2010");
    Form()->Show();
    for (TadpDBDateTimePickerRef picker : {Form()->Datum_Konverze_DB, Form()->Datum_vstupu_DB}) {
        auto* edit = static_cast<QDateTimeEdit*>(picker->Widget());
        edit->activateWindow();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, "12.5.2010");
        EXPECT_EQ(picker->DisplayText(), "12.5.2010");
    }
    EXPECT_EQ(Register()->State(), data::dsEdit);
    Register()->Post();
    // The day is the one typed; the time of day stays.
    EXPECT_NEAR(std::stod(Stored("2/2010", "datum_konverze")), core::EncodeDateTime(2010, 5, 12, 10, 0, 0, 0), 1e-7);
    EXPECT_DOUBLE_EQ(std::floor(std::stod(Stored("2/2010", "datum_sepsani_vstupu"))), core::EncodeDate(2010, 5, 12));
    Form()->Hide();
}

TEST_F(DatePicker, ADateSetByTheProgramIsShownButNotStored)
{
    GoTo("1/2010");
    Register()->Edit();
    Form()->Datum_vstupu_DB->SetDateTime(core::EncodeDate(2011, 1, 2));
    EXPECT_DOUBLE_EQ(Form()->Datum_vstupu_DB->Date(), core::EncodeDate(2011, 1, 2));
    Register()->FieldByName("oznaceni_vstupu")->SetAsString("Listina");
    Register()->Post();
    EXPECT_TRUE(StoredIsNull("1/2010", "datum_sepsani_vstupu"));
}

TEST_F(DatePicker, WeekNumbersAreShownOnlyWhenAsked)
{
    QCalendarWidget* calendar = Form()->Datum_vstupu_DB->Calendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->verticalHeaderFormat(), QCalendarWidget::NoVerticalHeader);
    Form()->Datum_vstupu_DB->SetShowWeekNumbers(true);
    Form()->Datum_vstupu_DB->ApplyWeekNumbers();
    EXPECT_EQ(calendar->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
}
