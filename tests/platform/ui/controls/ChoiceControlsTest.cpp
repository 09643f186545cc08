#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/controls/RadioButton.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/controls/StdCtrls.h"
#include "tests/platform/ui/FormFixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using namespace ui;

namespace {

using ChoiceControls = uitest::FormFixture;

} // namespace

TEST_F(ChoiceControls, ListBoxKeepsItemsWithObjectsAndReportsOnlyTheUsersChoice)
{
    auto* list = Make<TListBox>();
    core::TObject first, second;
    list->Items().AddObject("Datum", &first);
    list->Items().AddObject("Čísla", &second);
    auto* widget = static_cast<QListWidget*>(list->Widget());
    ASSERT_EQ(widget->count(), 2);
    EXPECT_EQ(widget->item(1)->text().toStdString(), "Čísla");
    EXPECT_EQ(list->ItemIndex(), -1);

    int clicks = 0;
    list->OnClick = [&](core::TObject*) { ++clicks; };
    list->SetItemIndex(1);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(widget->currentRow(), 1);
    EXPECT_EQ(clicks, 0);
    list->SetItemIndex(7);
    EXPECT_EQ(list->ItemIndex(), -1);

    widget->setCurrentRow(0); // as a click or an arrow key does
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list->Items().Objects(list->ItemIndex()), &first);

    // A shorter list drops a selection past its end.
    list->SetItemIndex(1);
    list->Items().Delete(1);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->Clear();
    EXPECT_EQ(widget->count(), 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ChoiceControls, ListBoxDoubleClickRunsOnDblClick)
{
    auto* list = Make<TListBox>();
    list->Items().Add("SUM");
    int doubles = 0;
    list->OnDblClick = [&](core::TObject*) { ++doubles; };
    auto* widget = static_cast<QListWidget*>(list->Widget());
    emit widget->itemDoubleClicked(widget->item(0));
    EXPECT_EQ(doubles, 1);
}

TEST_F(ChoiceControls, RadioButtonsOfOneParentExcludeEachOther)
{
    auto* local = Make<TRadioButton>();
    auto* global = Make<TRadioButton>();
    local->SetCaption("&Local defines");
    EXPECT_EQ(static_cast<QRadioButton*>(local->Widget())->text().toStdString(), "&Local defines");
    std::vector<std::string> clicks;
    local->OnClick = [&](core::TObject*) { clicks.push_back("local"); };
    global->OnClick = [&](core::TObject*) { clicks.push_back("global"); };
    local->SetChecked(true);
    global->SetChecked(true);
    EXPECT_FALSE(local->Checked());
    EXPECT_TRUE(global->Checked());
    global->SetChecked(false);
    EXPECT_FALSE(global->Checked());
    EXPECT_FALSE(local->Checked());
    EXPECT_EQ(clicks, (std::vector<std::string>{"local", "global"}));
}

TEST_F(ChoiceControls, SpeedButtonClicksWithoutTakingTheFocus)
{
    auto* edit = Make<TEdit>();
    auto* button = Make<TSpeedButton>();
    button->SetCaption("...");
    button->SetTag(3);
    std::intptr_t tag = -1;
    button->OnClick = [&](core::TObject* sender) { tag = static_cast<TSpeedButton*>(sender)->Tag(); };
    form->Show();
    edit->SetFocus();
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    EXPECT_EQ(tag, 3);
    EXPECT_EQ(static_cast<QToolButton*>(button->Widget())->text().toStdString(), "...");
    EXPECT_EQ(static_cast<QToolButton*>(button->Widget())->focusPolicy(), Qt::NoFocus);
}

TEST_F(ChoiceControls, EscapeClicksTheCancelButtonOnlyWhileItCanBeUsed)
{
    auto* edit = Make<TEdit>();
    auto* cancel = Make<TButton>();
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    int clicks = 0;
    cancel->OnClick = [&](core::TObject*) { ++clicks; };
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    edit->SetFocus();
    QTest::keyClick(edit->Widget(), Qt::Key_Escape);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    cancel->SetEnabled(false);
    QTest::keyClick(edit->Widget(), Qt::Key_Escape);
    EXPECT_EQ(clicks, 1);
    cancel->SetEnabled(true);
    cancel->SetCancel(false);
    QTest::keyClick(edit->Widget(), Qt::Key_Escape);
    EXPECT_EQ(clicks, 1);
}
