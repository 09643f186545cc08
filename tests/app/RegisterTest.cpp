#include "RegisterFixture.h"

#include "app/ExportForm.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/kernel/Application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QWheelEvent>

using namespace apptest;

namespace {

class Rows : public RegisterFixture {
protected:
    void SetUp() override
    {
        RegisterFixture::SetUp();
        if (HasFatalFailure())
            return;
        AddUser("JUDr. Jana Nováková", "Petr Novák", "jana@example.cz", "12345");
        AddUser("Mgr. Karel Dvořák", "Eva Dvořáková");
        AddRow("1/2010", "Rozsudek Okresního soudu v Benešově", core::EncodeDateTime(2010, 5, 12, 23, 59, 0, 0),
               "Někdo jiný");
        AddRow("2/2010", "Smlouva O'Brien", core::EncodeDateTime(2010, 5, 13, 0, 0, 0, 0));
        AddRow("3/2010", "Usnesení Krajského soudu", core::EncodeDateTime(2010, 5, 11, 14, 0, 0, 0));
        AddRow("4/2010", "Kupní smlouva", core::EncodeDateTime(2010, 6, 1, 9, 0, 0, 0));
    }
};

} // namespace

TEST_F(Rows, InsertFillsTodaysConversionDateAndTheSelectedUsersIssuingPerson)
{
    const double before = core::Now();
    Register()->Insert();
    ASSERT_EQ(Register()->State(), data::dsInsert);
    data::TField* converted = Register()->FieldByName("datum_konverze");
    ASSERT_FALSE(converted->IsNull());
    EXPECT_GE(converted->AsDateTime(), before - 1e-6);
    EXPECT_LE(converted->AsDateTime(), core::Now() + 1e-6);
    EXPECT_EQ(Form()->Vystavujici_DBEdit->Text(), "Petr Novák");
    // The input date is shown by the picker but not put into the row.
    EXPECT_TRUE(Register()->FieldByName("datum_sepsani_vstupu")->IsNull());
    EXPECT_DOUBLE_EQ(Form()->Datum_vstupu_DB->Date(), core::Date());

    Register()->FieldByName("poradove_cislo")->SetAsString("5/2010");
    Form()->Oznaceni_vstupu_DBEdit->SetText("Plná moc");
    Register()->Post();
    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Stored("5/2010", "oznaceni_vstupu"), "Plná moc");
    EXPECT_EQ(Stored("5/2010", "vystavujici_osoba"), "Petr Novák");
    EXPECT_EQ(Stored("5/2010", "overujici_osoba"), "JUDr. Jana Nováková");
    EXPECT_TRUE(StoredIsNull("5/2010", "datum_sepsani_vstupu"));
    EXPECT_FALSE(StoredIsNull("5/2010", "datum_konverze"));
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(Rows, PostWithoutDesignationIsRefusedAndTheRowStaysInInsertState)
{
    Register()->Insert();
    Register()->FieldByName("poradove_cislo")->SetAsString("9/2010");
    EXPECT_THROW(Register()->Post(), core::EAbort);
    ASSERT_EQ(dialogs_.Questions().size(), 1u);
    EXPECT_EQ(dialogs_.Questions()[0].Kind, ui::TDialogKind::MessageBox);
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Chybí označení věci.");
    EXPECT_EQ(dialogs_.Questions()[0].Caption, "Chyba.");
    EXPECT_EQ(dialogs_.Questions()[0].Flags, ui::MB_OK);
    EXPECT_EQ(Register()->State(), data::dsInsert);
    EXPECT_EQ(Register()->FieldByName("poradove_cislo")->AsString(), "9/2010");
    EXPECT_EQ(Stored("9/2010", "poradove_cislo"), "<no row>");
}

TEST_F(Rows, RefusedPostThroughTheNavigatorShowsOnlyTheOneMessage)
{
    Register()->Insert();
    Form()->Konverze_DBNavigator->Buttons(ui::nbPost).Widget()->click();
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Chybí označení věci.");
    EXPECT_EQ(Register()->State(), data::dsInsert);
}

TEST_F(Rows, EveryPostStampsTheSelectedUserAsCertifyingPerson)
{
    GoTo("1/2010");
    EXPECT_EQ(Register()->FieldByName("overujici_osoba")->AsString(), "Někdo jiný");
    Register()->Edit();
    Register()->FieldByName("cislo_dokladu")->SetAsString("D-99");
    Register()->Post();
    EXPECT_EQ(Stored("1/2010", "overujici_osoba"), "JUDr. Jana Nováková");
    EXPECT_EQ(Stored("1/2010", "cislo_dokladu"), "D-99");
    // The register was read again: the first row of the order is current.
    EXPECT_EQ(Register()->RecNo(), 1);
    EXPECT_EQ(Register()->FieldByName("poradove_cislo")->AsString(), "4/2010");
}

TEST_F(Rows, WithoutUsersTheIssuingAndCertifyingPersonsStayEmpty)
{
    app::DM->ADOConnection->Execute("DELETE FROM uzivatel");
    app::DM->Uzivatel_ADOQuery->Close();
    app::DM->Uzivatel_ADOQuery->Open();
    Register()->Insert();
    EXPECT_EQ(Form()->Vystavujici_DBEdit->Text(), "");
    Register()->FieldByName("poradove_cislo")->SetAsString("6/2010");
    Register()->FieldByName("oznaceni_vstupu")->SetAsString("Listina");
    Register()->Post();
    EXPECT_EQ(Stored("6/2010", "overujici_osoba"), "");
}

TEST_F(Rows, SearchByDesignationSerialNumberAndReceipt)
{
    Search(0, "soud");
    EXPECT_EQ(Register()->SQL()->Get(1), "WHERE oznaceni_vstupu like '%soud%'");
    EXPECT_EQ(Designations(),
              (std::vector<std::string>{"Rozsudek Okresního soudu v Benešově", "Usnesení Krajského soudu"}));
    Search(1, "4/");
    EXPECT_EQ(Register()->SQL()->Get(1), "WHERE poradove_cislo like '%4/%'");
    EXPECT_EQ(Designations(), (std::vector<std::string>{"Kupní smlouva"}));
    Search(4, "D-2");
    EXPECT_EQ(Designations(), (std::vector<std::string>{"Smlouva O'Brien"}));
}

TEST_F(Rows, SearchTextWithAnApostropheIsQuoted)
{
    Search(0, "O'Brien");
    EXPECT_EQ(Register()->SQL()->Get(1), "WHERE oznaceni_vstupu like '%O''Brien%'");
    EXPECT_EQ(Designations(), (std::vector<std::string>{"Smlouva O'Brien"}));
    // Text that would close the literal stays inside it.
    Search(0, "x' OR '1'='1");
    EXPECT_TRUE(Designations().empty());
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(Rows, SearchByADateFindsAnyTimeOfThatDayOnly)
{
    Search(3, "12.5.2010");
    EXPECT_EQ(Register()->SQL()->Get(1),
              "WHERE (datum_konverze < #2010/05/13#) and (datum_konverze >= #2010/05/12#)");
    // 23:59 that day yes; midnight of the next day and the afternoon before no.
    EXPECT_EQ(Designations(), (std::vector<std::string>{"Rozsudek Okresního soudu v Benešově"}));
    // The separator of the literals did not leak into the format settings.
    EXPECT_EQ(core::FormatSettings.DateSeparator, ".");
}

TEST_F(Rows, AnIncompleteDateRemovesTheFilter)
{
    Search(0, "soud");
    // While the user is still typing the date, the whole register shows.
    Search(3, "12.");
    EXPECT_EQ(Register()->SQL()->Get(1), "");
    EXPECT_EQ(Designations().size(), 4u);
}

TEST_F(Rows, ClearingTheSearchShowsEverythingAndEmptiesTheEdit)
{
    Search(0, "soud");
    Form()->Button1->Click();
    EXPECT_EQ(Form()->Hledani_Edit->Text(), "");
    EXPECT_EQ(Register()->SQL()->Get(1), "");
    EXPECT_EQ(Designations().size(), 4u);
}

TEST_F(Rows, TheFirstTitleClickSortsAscendingAndEachClickTurnsTheOrder)
{
    EXPECT_EQ(Designations().front(), "Kupní smlouva");
    Form()->DBGrid1TitleClick(Form()->DBGrid1->Columns()[0]);
    EXPECT_EQ(Register()->SQL()->Get(2), "ORDER BY poradove_cislo ASC");
    EXPECT_EQ(Designations(), (std::vector<std::string>{"Rozsudek Okresního soudu v Benešově", "Smlouva O'Brien",
                                                        "Usnesení Krajského soudu", "Kupní smlouva"}));
    Form()->DBGrid1TitleClick(Form()->DBGrid1->Columns()[2]);
    EXPECT_EQ(Register()->SQL()->Get(2), "ORDER BY datum_konverze DESC");
    Form()->DBGrid1TitleClick(Form()->DBGrid1->Columns()[4]);
    EXPECT_EQ(Register()->SQL()->Get(2), "ORDER BY cislo_dokladu ASC");
    // The filter and the order survive a post.
    Search(0, "smlouva");
    GoTo("4/2010");
    Register()->Edit();
    Register()->FieldByName("cislo_dokladu")->SetAsString("A-1");
    Register()->Post();
    EXPECT_EQ(Register()->SQL()->Get(1), "WHERE oznaceni_vstupu like '%smlouva%'");
    EXPECT_EQ(Register()->SQL()->Get(2), "ORDER BY cislo_dokladu ASC");
    EXPECT_EQ(Designations(), (std::vector<std::string>{"Kupní smlouva", "Smlouva O'Brien"}));
}

TEST_F(Rows, TitleClickOnTheGridHeaderSorts)
{
    auto* view = Form()->DBGrid1->View();
    view->horizontalHeader()->sectionClicked(1);
    EXPECT_EQ(Register()->SQL()->Get(2), "ORDER BY oznaceni_vstupu ASC");
}

TEST_F(Rows, NowButtonsEditTheRowAndSetTheDate)
{
    GoTo("2/2010");
    const double before = core::Now();
    Form()->Button2->Click();
    EXPECT_EQ(Register()->State(), data::dsEdit);
    EXPECT_GE(Register()->FieldByName("datum_sepsani_vstupu")->AsDateTime(), before - 1e-6);
    Form()->Button3->Click();
    EXPECT_GE(Register()->FieldByName("datum_konverze")->AsDateTime(), before - 1e-6);
    Register()->Post();
    EXPECT_FALSE(StoredIsNull("2/2010", "datum_sepsani_vstupu"));
    // A new row stays a new row.
    Register()->Insert();
    Form()->Button2->Click();
    EXPECT_EQ(Register()->State(), data::dsInsert);
}

TEST_F(Rows, PickingAUserInBrowseStateAsksAndSavesAtOnce)
{
    GoTo("3/2010");
    app::DM->Uzivatel_ADOQuery->Last();
    dialogs_.AnswerButton(ui::mrYes);
    Form()->DBGrid2CellClick(Form()->DBGrid2->Columns()[0]);
    ASSERT_EQ(dialogs_.Questions().size(), 1u);
    EXPECT_EQ(dialogs_.Questions()[0].Kind, ui::TDialogKind::MessageDlg);
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Chcete změnit údaje o ověřující osobě k označené konverzi?");
    EXPECT_EQ(dialogs_.Questions()[0].Type, ui::TMsgDlgType::mtWarning);
    EXPECT_EQ(dialogs_.Questions()[0].Buttons, ui::mbYes | ui::mbNo);
    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Stored("3/2010", "vystavujici_osoba"), "Eva Dvořáková");
    EXPECT_EQ(Stored("3/2010", "overujici_osoba"), "Mgr. Karel Dvořák");
}

TEST_F(Rows, AnsweringNoLeavesTheRowAlone)
{
    GoTo("3/2010");
    dialogs_.AnswerButton(ui::mrNo);
    Form()->DBGrid2CellClick(Form()->DBGrid2->Columns()[1]);
    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Stored("3/2010", "vystavujici_osoba"), "");
}

TEST_F(Rows, PickingAUserWhileInsertingFillsWithoutAsking)
{
    Register()->Insert();
    app::DM->Uzivatel_ADOQuery->Last();
    Form()->DBGrid2CellClick(Form()->DBGrid2->Columns()[0]);
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
    EXPECT_EQ(Register()->State(), data::dsInsert);
    EXPECT_EQ(Register()->FieldByName("vystavujici_osoba")->AsString(), "Eva Dvořáková");
    EXPECT_EQ(Form()->Vystavujici_DBEdit->Text(), "Eva Dvořáková");
}

TEST_F(Rows, AClickInTheUsersGridSelectsTheUser)
{
    auto* view = Form()->DBGrid2->View();
    view->setCurrentIndex(view->model()->index(1, 0));
    EXPECT_EQ(app::DM->Uzivatel_ADOQuery->RecNo(), 2);
    EXPECT_EQ(app::DM->SelectedUserValue("jmeno_prijmeni"), "Mgr. Karel Dvořák");
}

TEST_F(Rows, WheelOverTheMainFormMovesThroughTheRowsLikeTheArrowKeys)
{
    Form()->Show();
    QApplication::setActiveWindow(Form()->Widget());
    Form()->DBGrid1->SetFocus();
    ASSERT_TRUE(Form()->DBGrid1->Focused());
    ASSERT_EQ(Register()->RecNo(), 1);
    auto wheel = [&](int delta) {
        QPointF at(20, 20);
        QWidget* viewport = Form()->DBGrid1->View()->viewport();
        QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    };
    wheel(-120);
    EXPECT_EQ(Register()->RecNo(), 2);
    wheel(-120);
    EXPECT_EQ(Register()->RecNo(), 3);
    wheel(120);
    EXPECT_EQ(Register()->RecNo(), 2);
    Form()->Hide();
}

TEST_F(Rows, TheWheelStaysAWheelInOtherWindows)
{
    ui::TMsg msg;
    msg.message = ui::WM_MOUSEWHEEL;
    msg.wParam = ui::MakeWParam(0, static_cast<ui::WORD>(-120));
    msg.lParam = 77;
    msg.hwnd = app::Export_Form->Widget();
    bool handled = false;
    Form()->ApplicationEvents1Message(msg, handled);
    EXPECT_EQ(msg.message, ui::WM_MOUSEWHEEL);
    EXPECT_EQ(msg.lParam, 77);

    msg.hwnd = Form()->DBGrid1->View();
    Form()->ApplicationEvents1Message(msg, handled);
    EXPECT_EQ(msg.message, ui::WM_KEYDOWN);
    EXPECT_EQ(msg.wParam, ui::VK_DOWN);
    EXPECT_EQ(msg.lParam, 0);
    EXPECT_FALSE(handled);

    msg.message = ui::WM_MOUSEWHEEL;
    msg.wParam = ui::MakeWParam(0, 240);
    Form()->ApplicationEvents1Message(msg, handled);
    EXPECT_EQ(msg.wParam, ui::VK_UP);

    // Other messages pass unchanged.
    msg.message = ui::WM_KEYUP;
    msg.wParam = 'A';
    Form()->ApplicationEvents1Message(msg, handled);
    EXPECT_EQ(msg.message, ui::WM_KEYUP);
    EXPECT_EQ(msg.wParam, ui::WPARAM('A'));
}

TEST_F(Rows, MovingInTheGridWhileARowIsNewPostsItOrKeepsIt)
{
    Form()->Show();
    Register()->Insert();
    QTableView* view = Form()->DBGrid1->View();
    // No designation: the move is refused with the one message, the new row stays.
    view->setCurrentIndex(view->model()->index(3, 1));
    EXPECT_EQ(Register()->State(), data::dsInsert);
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Chybí označení věci.");
    Form()->Oznaceni_vstupu_DBEdit->SetText("Doplněno");
    Form()->Poradove_Cislo_DBEdit->SetText("8/2010");
    view->setCurrentIndex(view->model()->index(2, 1));
    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Stored("8/2010", "oznaceni_vstupu"), "Doplněno");
    Form()->Hide();
}

TEST_F(Rows, SearchingSortingOrClearingSavesTheRowBeingTypedFirst)
{
    // A new row typed in full, then a search: the row is saved, not thrown away.
    Register()->Insert();
    Form()->Poradove_Cislo_DBEdit->SetText("5/2010");
    Form()->Oznaceni_vstupu_DBEdit->SetText("Plná moc");
    Search(0, "moc");
    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Stored("5/2010", "oznaceni_vstupu"), "Plná moc");
    EXPECT_EQ(Designations(), (std::vector<std::string>{"Plná moc"}));

    // A change of an old row, then a title click or clearing the search.
    Register()->Edit();
    Form()->Cislo_Dokladu_DBEdit->SetText("D-77");
    Form()->DBGrid1TitleClick(Form()->DBGrid1->Columns()[0]);
    EXPECT_EQ(Stored("5/2010", "cislo_dokladu"), "D-77");
    Register()->Edit();
    Form()->Cislo_Dokladu_DBEdit->SetText("D-78");
    Form()->Button1->Click();
    EXPECT_EQ(Stored("5/2010", "cislo_dokladu"), "D-78");
    EXPECT_EQ(Designations().size(), 5u);
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(Rows, ARowThatCannotBeSavedKeepsTheSearchFromRunning)
{
    Search(0, "soud");
    Register()->Insert();
    Form()->Poradove_Cislo_DBEdit->SetText("9/2010");
    // No designation: the post rules refuse it with their one message, and the row stays for the user.
    Search(0, "smlouva");
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Chybí označení věci.");
    EXPECT_EQ(Register()->State(), data::dsInsert);
    EXPECT_EQ(Register()->FieldByName("poradove_cislo")->AsString(), "9/2010");
    EXPECT_EQ(Register()->SQL()->Get(1), "WHERE oznaceni_vstupu like '%soud%'");
    dialogs_.Clear();
    Form()->DBGrid1->View()->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(Register()->State(), data::dsInsert);
    EXPECT_EQ(Register()->SQL()->Get(2), "ORDER BY datum_konverze DESC");
    EXPECT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    // The refused click did not turn the direction: the first click that sorts still sorts ascending.
    Register()->Cancel();
    Form()->DBGrid1->View()->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(Register()->SQL()->Get(2), "ORDER BY poradove_cislo ASC");
}

TEST_F(Rows, SortingByATextFollowsTheCzechAlphabetWhateverTheLetterCase)
{
    AddRow("5/2010", "abc listina", core::EncodeDate(2010, 7, 1));
    AddRow("6/2010", "Čestné prohlášení", core::EncodeDate(2010, 7, 2));
    AddRow("7/2010", "chata", core::EncodeDate(2010, 7, 3));
    AddRow("8/2010", "Cena", core::EncodeDate(2010, 7, 4));
    AddRow("9/2010", "Hrad", core::EncodeDate(2010, 7, 5));
    AddRow("10/2010", "Žádost", core::EncodeDate(2010, 7, 6));
    auto* header = Form()->DBGrid1->View()->horizontalHeader();
    header->sectionClicked(1);
    EXPECT_EQ(Register()->SQL()->Get(2), "ORDER BY oznaceni_vstupu ASC");
    EXPECT_EQ(Designations(),
              (std::vector<std::string>{"abc listina", "Cena", "Čestné prohlášení", "Hrad", "chata", "Kupní smlouva",
                                        "Rozsudek Okresního soudu v Benešově", "Smlouva O'Brien",
                                        "Usnesení Krajského soudu", "Žádost"}));
    header->sectionClicked(1);
    EXPECT_EQ(Designations().front(), "Žádost");
    EXPECT_EQ(Designations().back(), "abc listina");
    // Dates still sort as dates.
    header->sectionClicked(2);
    EXPECT_EQ(Register()->SQL()->Get(2), "ORDER BY datum_konverze ASC");
    EXPECT_EQ(Designations().front(), "Usnesení Krajského soudu");
    EXPECT_EQ(Designations().back(), "Žádost");
}
