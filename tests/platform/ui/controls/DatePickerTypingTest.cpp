// Whole dates typed over the date-time picker, driven through its real editor
// with key events: taken exactly as typed whatever the picker showed before,
// refused without becoming another date, and typing field by field and the
// drop-down calendar as they were.

#include "platform/core/FormatSettings.h"
#include "platform/ui/controls/DateTimePicker.h"
#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/TypedDate.h"
#include "tests/platform/ui/FormFixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QTest>

using namespace ui;

namespace {

class TypedDates : public uitest::FormFixture {
protected:
    void SetUp() override
    {
        saved_ = core::FormatSettings;
        core::FormatSettings = core::TFormatSettings::Czech();
        picker = Make<TDateTimePicker>();
        other = Make<TEdit>();
        other->SetTop(40);
        picker->OnChange = [this](core::TObject*) { ++changes; };
        form->Show();
        QApplication::setActiveWindow(form->Widget());
        Reset();
    }
    void TearDown() override { core::FormatSettings = saved_; }

    // The picker shows 15.2.2011 at half past ten, without the focus.
    void Reset()
    {
        other->SetFocus();
        picker->SetFormat("");
        picker->SetDateTime(kBefore);
        changes = 0;
    }
    QDateTimeEdit* Edit() const { return static_cast<QDateTimeEdit*>(picker->Widget()); }
    // The colour behind the field's text.
    QColor FieldBase() const { return Edit()->findChild<QLineEdit*>()->palette().color(QPalette::Base); }
    // Keys as the keyboard gives them: to the open drop-down calendar, else to the focus.
    void Keys(const char* keys)
    {
        for (const char* key = keys; *key != '\0'; ++key)
            QTest::keyClick(form->Widget()->windowHandle(), *key);
    }
    void Enter() { QTest::keyClick(form->Widget()->windowHandle(), Qt::Key_Return); }
    // The drop-down button clicked: the calendar opens, and has the keys.
    void OpenCalendar()
    {
        QTest::mouseClick(Edit(), Qt::LeftButton, {}, QPoint(Edit()->width() - 5, Edit()->height() / 2));
        ASSERT_TRUE(picker->Calendar()->isVisible());
        ASSERT_EQ(QApplication::activePopupWidget(), picker->Calendar()->window());
    }
    // Into the field as Tab brings the user there: the first section selected.
    void TabIn() { Edit()->setFocus(Qt::TabFocusReason); }
    // Into the field, then the whole text selected.
    void SelectAll()
    {
        Edit()->setFocus(Qt::MouseFocusReason);
        Edit()->setCurrentSection(QDateTimeEdit::YearSection);
        QTest::keyClick(Edit(), Qt::Key_A, Qt::ControlModifier);
    }
    void Type(const char* keys) { QTest::keyClicks(Edit(), keys); }
    void Leave() { other->SetFocus(); }
    static core::TDateTime At1030(int year, int month, int day)
    {
        return core::EncodeDateTime(year, month, day, 10, 30, 0, 0);
    }

    const core::TDateTime kBefore = At1030(2011, 2, 15);
    TDateTimePicker* picker = nullptr;
    TEdit* other = nullptr;
    int changes = 0;

private:
    core::TFormatSettings saved_;
};

struct Whole {
    const char* typed;
    int year, month, day;
    const char* shown;
};

const Whole kWholeDates[] = {
    {"30.4.2026", 2026, 4, 30, "30.4.2026"}, {"31.1.2012", 2012, 1, 31, "31.1.2012"},
    {"1.2.2011", 2011, 2, 1, "1.2.2011"},    {"29.2.2024", 2024, 2, 29, "29.2.2024"},
    {"05.06.2007", 2007, 6, 5, "5.6.2007"},
};

} // namespace

TEST_F(TypedDates, AWholeDateTypedOverTheSelectedTextIsTakenExactlyWhenTheUserLeaves)
{
    for (const Whole& w : kWholeDates) {
        SCOPED_TRACE(w.typed);
        Reset();
        SelectAll();
        Type(w.typed);
        // Shown as typed, the value untouched until the typing ends.
        EXPECT_EQ(picker->DisplayText(), w.typed);
        EXPECT_DOUBLE_EQ(picker->DateTime(), kBefore);
        Leave();
        EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(w.year, w.month, w.day));
        EXPECT_EQ(picker->DisplayText(), w.shown);
        EXPECT_EQ(changes, 1);
        EXPECT_FALSE(picker->Refused());
    }
}

TEST_F(TypedDates, AWholeDateTypedFromTheFirstSectionIsTakenByTabOrEnter)
{
    for (const Whole& w : kWholeDates) {
        SCOPED_TRACE(w.typed);
        Reset();
        TabIn();
        Type(w.typed);
        QTest::keyClick(Edit(), Qt::Key_Tab);
        EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(w.year, w.month, w.day));
        EXPECT_EQ(changes, 1);
        // Tab after a whole date goes on to the next control.
        EXPECT_FALSE(picker->Focused());

        Reset();
        TabIn();
        Type(w.typed);
        QTest::keyClick(Edit(), Qt::Key_Return);
        EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(w.year, w.month, w.day));
        EXPECT_EQ(picker->DisplayText(), w.shown);
    }
}

TEST_F(TypedDates, ADateThatDoesNotExistOrIsIncompleteLeavesTheValueAndMarksTheField)
{
    const QColor normal = FieldBase();
    for (const char* typed : {"31.2.2020", "29.2.2023", "31.4.2026", "32.1.2020", "0.5.2010", "15.0.2010",
                              "30.4.", "30.4.20", "1.2.202", "30", "30.4", "1.1.0000"}) {
        SCOPED_TRACE(typed);
        Reset();
        SelectAll();
        Type(typed);
        Leave();
        EXPECT_DOUBLE_EQ(picker->DateTime(), kBefore);
        EXPECT_EQ(picker->DisplayText(), "15.2.2011");
        EXPECT_EQ(changes, 0);
        EXPECT_TRUE(picker->Refused());
        EXPECT_NE(FieldBase(), normal);
    }
    // The next date taken ends the mark.
    SelectAll();
    Type("30.4.2026");
    QTest::keyClick(Edit(), Qt::Key_Return);
    EXPECT_FALSE(picker->Refused());
    EXPECT_EQ(FieldBase(), normal);
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2026, 4, 30));
}

TEST_F(TypedDates, ARefusedDateStaysAsTypedUntilTheUserLeavesAndOnlyTheFieldIsMarked)
{
    const QColor normal = FieldBase();
    const QColor calendar = picker->Calendar()->palette().color(QPalette::Base);
    for (const std::string typed : {"29.2.2023", "31.4.2026", "30.4."}) {
        SCOPED_TRACE(typed);
        Reset();
        SelectAll();
        // Each key shows as typed: no day the month lacks is put into its last day.
        for (std::size_t n = 1; n <= typed.size(); ++n) {
            Type(typed.substr(n - 1, 1).c_str());
            ASSERT_EQ(picker->DisplayText(), typed.substr(0, n));
        }
        Enter();
        EXPECT_TRUE(picker->Refused());
        EXPECT_EQ(picker->RefusedText(), typed);
        EXPECT_EQ(picker->DisplayText(), typed);
        EXPECT_DOUBLE_EQ(picker->DateTime(), kBefore);
        EXPECT_NE(FieldBase(), normal);
        EXPECT_EQ(picker->Calendar()->palette().color(QPalette::Base), calendar);
        // Nor while a message about it has the focus.
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(Edit(), &away);
        EXPECT_EQ(picker->DisplayText(), typed);
        // A key that moves has no date to move in.
        QTest::keyClick(Edit(), Qt::Key_Up);
        EXPECT_EQ(picker->DisplayText(), typed);
        Leave();
        EXPECT_EQ(picker->DisplayText(), "15.2.2011");
        EXPECT_TRUE(picker->Refused());
        EXPECT_EQ(changes, 0);
    }

    // Escape takes a refused date back, also in a field left marked.
    picker->SetFocus();
    QTest::keyClick(Edit(), Qt::Key_Escape);
    EXPECT_FALSE(picker->Refused());
    EXPECT_EQ(FieldBase(), normal);
}

TEST_F(TypedDates, ADateTypedWhileTheCalendarIsOpenIsTheDateTypedOrRefused)
{
    // The first digit closes the calendar and begins the date over the field.
    for (auto [typed, taken] : {std::pair{"7.7.2025", At1030(2025, 7, 7)}, std::pair{"31.4.2024", kBefore}}) {
        SCOPED_TRACE(typed);
        Reset();
        OpenCalendar();
        Keys(typed);
        EXPECT_FALSE(picker->Calendar()->isVisible());
        Enter();
        EXPECT_DOUBLE_EQ(picker->DateTime(), taken);
        EXPECT_EQ(picker->Refused(), taken == kBefore);
        EXPECT_EQ(picker->DisplayText(), typed);
    }
    // Other printable keys do nothing in the calendar; its arrows and Enter pick as before.
    Reset();
    OpenCalendar();
    Keys("x.");
    EXPECT_TRUE(picker->Calendar()->isVisible());
    QTest::keyClick(form->Widget()->windowHandle(), Qt::Key_Right);
    Enter();
    EXPECT_FALSE(picker->Calendar()->isVisible());
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2011, 2, 16));
    EXPECT_EQ(changes, 1);
}

TEST_F(TypedDates, KeysThatCannotBelongToADateAreNotTaken)
{
    SelectAll();
    // A fifth digit of the year, letters, a fourth number.
    Type("31.1.2012");
    Type("5");
    Type("ab");
    Type(".7");
    EXPECT_EQ(picker->DisplayText(), "31.1.2012.");
    Leave();
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2012, 1, 31));
    // Numbers without separators end at their full width; blanks and other separators do as well.
    for (auto [typed, day, month, year] : {std::tuple{"05062007", 5, 6, 2007}, std::tuple{"30. 4. 2026", 30, 4, 2026},
                                           std::tuple{"1/2/2011", 1, 2, 2011}, std::tuple{"3-5-2010", 3, 5, 2010}}) {
        SCOPED_TRACE(typed);
        Reset();
        SelectAll();
        Type(typed);
        Leave();
        EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(year, month, day));
    }
}

TEST_F(TypedDates, BackspaceCorrectsAndEscapeGivesTheTypingUp)
{
    SelectAll();
    Type("30.4.2027");
    QTest::keyClick(Edit(), Qt::Key_Backspace);
    Type("6");
    Leave();
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2026, 4, 30));

    // Ctrl+A in the middle of a date starts it anew.
    Reset();
    SelectAll();
    Type("31.12.19");
    QTest::keyClick(Edit(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(picker->DisplayText(), "15.2.2011");
    Type("1.2.2011");
    Leave();
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2011, 2, 1));

    Reset();
    SelectAll();
    Type("31.12.1999");
    QTest::keyClick(Edit(), Qt::Key_Escape);
    EXPECT_EQ(picker->DisplayText(), "15.2.2011");
    Leave();
    EXPECT_DOUBLE_EQ(picker->DateTime(), kBefore);
    EXPECT_FALSE(picker->Refused());
    // Everything typed taken back again is nothing to refuse.
    SelectAll();
    Type("3");
    QTest::keyClick(Edit(), Qt::Key_Backspace);
    Leave();
    EXPECT_DOUBLE_EQ(picker->DateTime(), kBefore);
    EXPECT_FALSE(picker->Refused());
    EXPECT_EQ(changes, 0);
}

TEST_F(TypedDates, TypingFieldByFieldWithTheArrowKeysWorksAsBefore)
{
    // The arrows step the section, Tab and Shift+Tab go from section to section.
    TabIn();
    QTest::keyClick(Edit(), Qt::Key_Up);
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2011, 2, 16));
    QTest::keyClick(Edit(), Qt::Key_Tab);
    // A month that can take no second digit moves on to the year by itself.
    Type("4");
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2011, 4, 16));
    QTest::keyClick(Edit(), Qt::Key_Down);
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2010, 4, 16));
    EXPECT_EQ(changes, 3);
    // A day typed over the first section goes into it when Tab moves on, or an arrow steps it.
    QTest::keyClick(Edit(), Qt::Key_Backtab);
    QTest::keyClick(Edit(), Qt::Key_Backtab);
    Type("3");
    QTest::keyClick(Edit(), Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2010, 4, 3));
    EXPECT_TRUE(picker->Focused());
    Type("5");
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2010, 5, 3));
    QTest::keyClick(Edit(), Qt::Key_Backtab);
    QTest::keyClick(Edit(), Qt::Key_Backtab);
    Type("2");
    QTest::keyClick(Edit(), Qt::Key_Down);
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2010, 5, 1));
    // And when the user leaves with it.
    Reset();
    TabIn();
    Type("20");
    Leave();
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2011, 2, 20));
    EXPECT_FALSE(picker->Refused());
}

TEST_F(TypedDates, TheDropDownCalendarPicksAndADateBeingTypedIsTakenFirst)
{
    QCalendarWidget* calendar = picker->Calendar();
    ASSERT_NE(calendar, nullptr);
    emit calendar->clicked(QDate(2026, 4, 30));
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2026, 4, 30));
    EXPECT_EQ(changes, 1);

    Reset();
    SelectAll();
    Type("31.1.2012");
    // A click in the field, as on its drop-down button.
    QTest::mouseClick(Edit(), Qt::LeftButton, {}, QPoint(Edit()->width() - 5, Edit()->height() / 2));
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2012, 1, 31));
}

TEST_F(TypedDates, ABlankFieldTakesTheDateTypedEvenWhenItKeepsThatDateUnseen)
{
    picker->SetDateTime(At1030(2026, 4, 30));
    picker->SetFormat("gg");
    EXPECT_EQ(picker->DisplayText(), "");
    SelectAll();
    Type("30.4.2026");
    Leave();
    // The user chose a date for an empty field: that is a change.
    EXPECT_EQ(changes, 1);
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2026, 4, 30));

    // Refused, the field stays blank.
    picker->SetFormat("gg");
    changes = 0;
    SelectAll();
    Type("31.2.2020");
    Leave();
    EXPECT_EQ(picker->DisplayText(), "");
    EXPECT_TRUE(picker->Refused());
    EXPECT_EQ(changes, 0);
}

TEST_F(TypedDates, AValueSetByTheProgramWhileTheUserTypesIsShownAndTheTypingDropped)
{
    SelectAll();
    Type("30.4.20");
    picker->SetDateTime(At1030(2012, 1, 31));
    EXPECT_EQ(picker->DisplayText(), "31.1.2012");
    Leave();
    EXPECT_DOUBLE_EQ(picker->DateTime(), At1030(2012, 1, 31));
    EXPECT_FALSE(picker->Refused());
    EXPECT_EQ(changes, 0);
}

TEST(TypedDate, ReadsTheNumbersInTheOrderOfTheFormat)
{
    core::TFormatSettings saved = core::FormatSettings;
    core::FormatSettings = core::TFormatSettings::Czech();
    const TTypedDate czech("d.m.yyyy");
    ASSERT_TRUE(czech.Readable());
    EXPECT_EQ(czech.Date("30.4.2026"), core::EncodeDate(2026, 4, 30));
    EXPECT_EQ(czech.Date("3042026"), std::nullopt); // "30", "42": no such month
    EXPECT_EQ(czech.Date("30042026"), core::EncodeDate(2026, 4, 30));
    EXPECT_EQ(czech.Date(" 1 . 2 . 2011 "), core::EncodeDate(2011, 2, 1));
    EXPECT_EQ(czech.Date("31.2.2020"), std::nullopt);
    EXPECT_EQ(czech.Date("1.2.11"), std::nullopt);
    EXPECT_TRUE(czech.Takes("30.4.202"));
    EXPECT_FALSE(czech.Takes("30.4.20261"));
    EXPECT_FALSE(czech.Takes("30.4.2026.1"));
    EXPECT_FALSE(czech.Takes("3O.4.2026"));
    EXPECT_FALSE(czech.Takes("30.4.2026ž"));

    const TTypedDate american("mm/dd/yyyy");
    EXPECT_EQ(american.Date("4/30/2026"), core::EncodeDate(2026, 4, 30));
    EXPECT_EQ(american.Date("30/4/2026"), std::nullopt);
    const TTypedDate iso("yyyy-mm-dd");
    EXPECT_EQ(iso.Date("2026-04-30"), core::EncodeDate(2026, 4, 30));
    EXPECT_EQ(iso.Date("20260430"), core::EncodeDate(2026, 4, 30));
    EXPECT_EQ(iso.Date("26-04-30"), std::nullopt);
    // A two-digit year lands where the class library's conversion puts it; four digits are too many.
    const TTypedDate short_("dd.mm.yy");
    EXPECT_EQ(short_.Date("30.4.26"), core::StrToDate("30.4.26"));
    EXPECT_EQ(short_.Date("30.4.2026"), std::nullopt);
    // Names of days and months, and times, cannot be typed as numbers.
    for (const char* format : {"dddd d.m.yyyy", "d. mmmm yyyy", "hh:nn", "d.m.", "d.d.yyyy", ""})
        EXPECT_FALSE(TTypedDate(format).Readable()) << format;
    EXPECT_TRUE(TTypedDate("'den' d.m.yyyy gg").Readable());
    core::FormatSettings = saved;
}

namespace {

// A picker that counts the openings of its drop-down.
class CountingPicker : public TDateTimePicker {
public:
    using TDateTimePicker::TDateTimePicker;
    int dropDowns = 0;

protected:
    void DropDown() override { ++dropDowns; }
};

using DropDownCalendar = uitest::FormFixture;

} // namespace

TEST_F(DropDownCalendar, IsMadeOnlyWhenItMayOpenAndThenOpensAsBefore)
{
    auto* picker = Make<CountingPicker>();
    form->Show();
    auto* edit = static_cast<QDateTimeEdit*>(picker->Widget());
    EXPECT_EQ(edit->findChild<QCalendarWidget*>(), nullptr) << "no calendar before it is needed";

    // The drop-down button opens it, and the picker hears of the opening.
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 5, edit->height() / 2));
    QCalendarWidget* calendar = picker->Calendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_TRUE(calendar->isVisible());
    EXPECT_EQ(picker->dropDowns, 1);
    EXPECT_EQ(calendar->verticalHeaderFormat(), QCalendarWidget::NoVerticalHeader);
    calendar->window()->hide();

    // A calendar asked for by the program is the one the drop-down shows.
    auto* second = Make<CountingPicker>();
    auto* secondEdit = static_cast<QDateTimeEdit*>(second->Widget());
    QCalendarWidget* asked = second->Calendar();
    ASSERT_NE(asked, nullptr);
    QTest::mouseClick(secondEdit, Qt::LeftButton, {}, QPoint(secondEdit->width() - 5, secondEdit->height() / 2));
    EXPECT_EQ(second->dropDowns, 1);
    EXPECT_EQ(secondEdit->calendarWidget(), asked);
    asked->window()->hide();

    // The same calendar serves every opening.
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 5, edit->height() / 2));
    EXPECT_EQ(picker->Calendar(), calendar);
    EXPECT_EQ(picker->dropDowns, 2);
}
