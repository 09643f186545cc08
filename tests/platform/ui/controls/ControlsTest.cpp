#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/controls/ComCtrls.h"
#include "platform/ui/controls/DateTimePicker.h"
#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/ExtCtrls.h"
#include "platform/ui/controls/ImgList.h"
#include "platform/ui/controls/StdCtrls.h"
#include "tests/platform/ui/FormFixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

using namespace ui;

namespace {

using Controls = uitest::FormFixture;

} // namespace

TEST_F(Controls, EditRunsOnChangeForTheProgramsTextToo)
{
    auto* edit = Make<TEdit>();
    std::vector<std::string> seen;
    edit->OnChange = [&](core::TObject*) { seen.push_back(edit->Text()); };
    edit->SetText("Hledání");
    edit->SetText("Hledání");
    edit->Clear();
    EXPECT_EQ(seen, (std::vector<std::string>{"Hledání", ""}));
    edit->SetMaxLength(3);
    QTest::keyClicks(edit->Widget(), "abcdef");
    EXPECT_EQ(edit->Text(), "abc");
}

TEST_F(Controls, CheckBoxClickFollowsEveryChangeOfState)
{
    auto* box = Make<TCheckBox>();
    box->SetCaption("Uložit do souboru");
    int clicks = 0;
    box->OnClick = [&](core::TObject*) { ++clicks; };
    box->SetChecked(true);
    box->SetChecked(true);
    static_cast<QCheckBox*>(box->Widget())->click();
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(static_cast<QCheckBox*>(box->Widget())->text().toStdString(), "Uložit do souboru");
}

TEST_F(Controls, RadioGroupItemsAndItemIndex)
{
    auto* group = Make<TRadioGroup>();
    group->SetCaption("kde hledat ");
    group->Items().Add("označení vstupu");
    group->Items().Add("pořadové č.");
    group->Items().Add("datum sepsání");
    std::vector<int> clicks;
    group->OnClick = [&](core::TObject*) { clicks.push_back(group->ItemIndex()); };
    EXPECT_EQ(group->ItemIndex(), -1);
    group->SetItemIndex(0);
    auto buttons = group->Widget()->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_TRUE(buttons[0]->isChecked());
    buttons[2]->click();
    EXPECT_EQ(group->ItemIndex(), 2);
    group->SetItemIndex(7);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(clicks, (std::vector<int>{0, 2, -1}));
    EXPECT_EQ(buttons[1]->text().toStdString(), "pořadové č.");
}

TEST_F(Controls, PageControlShowsSheetsAndReportsOnlyTheUsersChoice)
{
    auto* pages = Make<TPageControl>();
    auto* first = new TTabSheet(form);
    first->SetPageControl(pages);
    first->SetCaption("Evidence konverzí   ");
    auto* second = new TTabSheet(form);
    second->SetCaption("Údaje o uživatelích   ");
    second->SetPageControl(pages);
    auto* label = new TLabel(form);
    label->SetParent(second);
    EXPECT_EQ(label->Widget()->parentWidget(), second->Widget());

    int changes = 0;
    pages->OnChange = [&](core::TObject*) { ++changes; };
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->Pages(1), second);
    auto* tabs = static_cast<QTabWidget*>(pages->Widget());
    EXPECT_EQ(tabs->tabText(0).toStdString(), "Evidence konverzí   ");
    EXPECT_EQ(tabs->tabText(1).toStdString(), "Údaje o uživatelích   ");
    pages->SetActivePage(second);
    EXPECT_EQ(pages->ActivePage(), second);
    EXPECT_EQ(changes, 0);
    tabs->setCurrentIndex(0);
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(second->PageIndex(), 1);
}

TEST_F(Controls, MemoLinesAreTheEditorsLines)
{
    auto* memo = Make<TMemo>();
    memo->Lines().Add("Jak použít funkci \"IMPORT XML\"");
    memo->Lines().Add(std::string(32, '='));
    memo->Lines().Add("");
    EXPECT_EQ(memo->Lines().Count(), 3);
    EXPECT_EQ(memo->Lines()[1], std::string(32, '='));
    memo->Lines().Delete(0);
    EXPECT_EQ(memo->Text(), std::string(32, '=') + "\r\n\r\n");
    memo->Lines().Clear();
    EXPECT_EQ(memo->Lines().Count(), 0);
    EXPECT_THROW(memo->Lines().Get(0), core::EListError);
}

TEST_F(Controls, LabelTakesTheSizeOfItsTextAndReportsClicks)
{
    auto* label = Make<TLabel>();
    label->SetCaption("Pořadové číslo");
    QSize hint = static_cast<QLabel*>(label->Widget())->sizeHint();
    EXPECT_EQ(label->Width(), hint.width());
    int clicks = 0;
    label->OnClick = [&](core::TObject*) { ++clicks; };
    QTest::mouseClick(label->Widget(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

TEST_F(Controls, ImageListScalesToItsSizeAndChecksIndexes)
{
    TImageList images(form);
    images.SetSize(22, 22);
    QPixmap big(44, 30);
    big.fill(Qt::red);
    EXPECT_EQ(images.Add(big), 0);
    EXPECT_EQ(images.Bitmap(0).size(), QSize(22, 22));
    EXPECT_THROW(images.Bitmap(1), core::EListError);
}

TEST(DateTimeConversion, QtAndDaysSince1899AgreeToTheMillisecond)
{
    EXPECT_EQ(DateTimeToQDateTime(0), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    EXPECT_EQ(DateTimeToQDateTime(40310.75), QDateTime(QDate(2010, 5, 12), QTime(18, 0)));
    EXPECT_EQ(DateTimeToQDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_DOUBLE_EQ(QDateTimeToDateTime(QDateTime(QDate(2010, 5, 12), QTime(18, 0))), 40310.75);
    EXPECT_DOUBLE_EQ(QDateTimeToDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    // 23:59:59.9999 rounds to the next midnight.
    EXPECT_EQ(DateTimeToQDateTime(40310.0 + 0.99999999999), QDateTime(QDate(2010, 5, 13), QTime(0, 0)));
}

TEST(DateTimeConversion, ClassLibraryFormatsBecomeQtFormats)
{
    EXPECT_EQ(QtDateTimeFormat("d.m.yyyy"), "d.M.yyyy");
    EXPECT_EQ(QtDateTimeFormat("dd.mm.yyyy hh:nn:ss"), "dd.MM.yyyy HH:mm:ss");
    EXPECT_EQ(QtDateTimeFormat("h:mm"), "H:mm");
    EXPECT_EQ(QtDateTimeFormat("'den' d"), "'den' d");
}

TEST_F(Controls, PickerRunsOnChangeOnlyForTheUsersChange)
{
    auto saved = core::FormatSettings;
    core::FormatSettings = core::TFormatSettings::Czech();
    auto* picker = Make<TDateTimePicker>();
    int changes = 0;
    picker->OnChange = [&](core::TObject*) { ++changes; };
    const core::TDateTime noonOfDay = core::EncodeDateTime(2010, 5, 12, 12, 30, 0, 0);
    picker->SetDateTime(noonOfDay);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(picker->DisplayText(), "12.5.2010");

    // The user steps the day; the time of day stays.
    auto* edit = static_cast<QDateTimeEdit*>(picker->Widget());
    edit->setFocus();
    edit->setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(changes, 1);
    EXPECT_DOUBLE_EQ(picker->DateTime(), noonOfDay + 1);

    picker->SetFormat("gg");
    EXPECT_TRUE(picker->Blank());
    EXPECT_EQ(picker->DisplayText(), "");
    EXPECT_DOUBLE_EQ(picker->DateTime(), noonOfDay + 1);
    picker->SetFormat("");
    EXPECT_EQ(picker->DisplayText(), "13.5.2010");
    core::FormatSettings = saved;
}

TEST_F(Controls, PickerTakesADateTypedAsTheUserWritesIt)
{
    auto saved = core::FormatSettings;
    core::FormatSettings = core::TFormatSettings::Czech();
    auto* picker = Make<TDateTimePicker>();
    auto* other = Make<TEdit>();
    // A bound picker shows the value it keeps again whenever it hears of a change.
    picker->OnChange = [&](core::TObject*) { picker->SetDateTime(picker->DateTime()); };
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    auto* edit = static_cast<QDateTimeEdit*>(picker->Widget());
    struct Case {
        const char* typed;
        core::TDateTime value;
    };
    for (const Case& c : {Case{"12.5.2010", core::EncodeDate(2010, 5, 12)},
                          Case{"3.5.2010", core::EncodeDate(2010, 5, 3)},
                          Case{"12.05.2010", core::EncodeDate(2010, 5, 12)},
                          Case{"1.12.2011", core::EncodeDate(2011, 12, 1)},
                          Case{"12 5 2010", core::EncodeDate(2010, 5, 12)}}) {
        SCOPED_TRACE(c.typed);
        const std::string shown = core::FormatDateTime("d.m.yyyy", c.value);
        // Into the first section, as the field stands when the user comes to it; Enter takes it.
        picker->SetDateTime(core::EncodeDate(2026, 12, 3));
        edit->clearFocus();
        edit->setFocus();
        edit->setCurrentSection(QDateTimeEdit::DaySection);
        edit->setSelectedSection(QDateTimeEdit::DaySection);
        QTest::keyClicks(edit, c.typed);
        EXPECT_EQ(picker->DisplayText(), c.typed);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(picker->DisplayText(), shown);
        EXPECT_DOUBLE_EQ(picker->DateTime(), c.value);

        // Selecting the whole field first, from wherever the cursor stands; leaving the field takes it.
        picker->SetDateTime(core::EncodeDate(2026, 12, 8));
        edit->setCurrentSection(QDateTimeEdit::YearSection);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, c.typed);
        other->SetFocus();
        EXPECT_EQ(picker->DisplayText(), shown);
        EXPECT_DOUBLE_EQ(picker->DateTime(), c.value);
        picker->SetFocus();
    }
    core::FormatSettings = saved;
}

TEST(Forms, AMaximisedFormStaysMaximisedWhenItsWindowIsMadeAnew)
{
    auto* form = CreateComponent<TForm>(nullptr);
    form->SetClientWidth(800);
    form->SetClientHeight(600);
    form->SetWindowState(TWindowState::wsMaximized);
    form->Show();
    QWidget* w = form->Widget();
    ASSERT_TRUE(w->windowState() & Qt::WindowMaximized);
    // A web page's drawing surface makes Qt create the shown window anew; the
    // desktop then reports the new window in its normal state.
    struct Recreate : QWidget {
        static void Again(QWidget* window)
        {
            (window->*(&Recreate::destroy))(true, true);
            (window->*(&Recreate::create))(0, true, true);
            window->show();
        }
    };
    Recreate::Again(w);
    w->setWindowState(Qt::WindowNoState);
    QTest::qWait(50);
    EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
    FreeComponent(form);
}
