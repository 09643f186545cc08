#include "platform/core/DateTime.h"
#include "platform/data/ADOConnection.h"
#include "platform/data/ADOQuery.h"
#include "platform/ui/data/DBCtrls.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DBNavigator.h"
#include "platform/ui/dialogs/ScriptedDialogs.h"

#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <fstream>

using namespace ui;

namespace {

// A form over a small table in a database file of its own.
class DataForm : public testing::Test {
protected:
    void SetUp() override
    {
        std::ofstream(file_).close();
        form = CreateComponent<TForm>(nullptr);
        connection = new data::TADOConnection(form);
        connection->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file_);
        connection->Open();
        connection->Execute("CREATE TABLE osoby (ID INTEGER PRIMARY KEY AUTOINCREMENT, jmeno VARCHAR(20), "
                            "aktivni BOOLEAN, souhlas VARCHAR(10), den DATETIME)");
        connection->Execute("INSERT INTO osoby (jmeno, aktivni, souhlas, den) VALUES "
                            "('Alena', 1, 'Ano', 40310.5), ('Bohumil', 0, 'Ne', NULL), ('Cyril', NULL, 'Snad', 40311)");
        query = new data::TADOQuery(form);
        query->SetConnection(connection);
        query->SQL()->Add("SELECT * FROM osoby ORDER BY ID");
        query->Open();
        source = new data::TDataSource(form);
        source->SetDataSet(query);
        form->SetBounds(0, 0, 500, 300);
    }
    void TearDown() override { FreeComponent(form); }
    template <class T>
    T* Make()
    {
        auto* control = new T(form);
        control->SetParent(form);
        return control;
    }
    std::string Stored(int id, const std::string& column)
    {
        data::TADOQuery check(nullptr);
        check.SetConnection(connection);
        check.SQL()->Add("SELECT " + column + " FROM osoby WHERE ID = " + std::to_string(id));
        check.Open();
        return check.Fields()->Fields(0)->IsNull() ? "<null>" : check.Fields()->Fields(0)->AsString();
    }

    testsupport::TestFolder folder_{"ui"};
    const std::string file_ = folder_.File("osoby.db");
    TForm* form = nullptr;
    data::TADOConnection* connection = nullptr;
    data::TADOQuery* query = nullptr;
    data::TDataSource* source = nullptr;
    TScriptedDialogs dialogs;
};

} // namespace

TEST_F(DataForm, EditShowsTheFieldAndTypingEditsTheRecord)
{
    auto* edit = Make<TDBEdit>();
    edit->SetDataSource(source);
    edit->SetDataField("jmeno");
    EXPECT_EQ(edit->Text(), "Alena");
    EXPECT_EQ(edit->MaxLength(), 20);
    auto* line = static_cast<QLineEdit*>(edit->Widget());
    EXPECT_FALSE(line->isReadOnly());
    query->Next();
    EXPECT_EQ(edit->Text(), "Bohumil");

    line->setCursorPosition(7);
    QTest::keyClicks(line, "a");
    EXPECT_EQ(query->State(), data::dsEdit);
    EXPECT_EQ(edit->Text(), "Bohumila");
    // Escape forgets the change.
    QTest::keyClick(line, Qt::Key_Escape);
    EXPECT_EQ(edit->Text(), "Bohumil");
    EXPECT_EQ(line->selectedText().toStdString(), "Bohumil");
    line->end(false);
    QTest::keyClicks(line, "X");
    query->Post();
    EXPECT_EQ(Stored(2, "jmeno"), "BohumilX");
}

TEST_F(DataForm, TextFromAnInputMethodAlsoEditsTheRecord)
{
    auto* edit = Make<TDBEdit>();
    edit->SetDataSource(source);
    edit->SetDataField("jmeno");
    auto* line = static_cast<QLineEdit*>(edit->Widget());
    line->setCursorPosition(5);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("ě"));
    QApplication::sendEvent(line, &composed);
    EXPECT_EQ(query->State(), data::dsEdit);
    EXPECT_EQ(edit->Text(), "Alenaě");
    query->Post();
    EXPECT_EQ(Stored(1, "jmeno"), "Alenaě");
}

TEST_F(DataForm, ReadOnlyEditTakesNoTyping)
{
    auto* edit = Make<TDBEdit>();
    edit->SetDataSource(source);
    edit->SetDataField("ID");
    EXPECT_TRUE(static_cast<QLineEdit*>(edit->Widget())->isReadOnly());
    edit->SetDataField("jmeno");
    edit->SetReadOnly(true);
    QTest::keyClicks(edit->Widget(), "x");
    EXPECT_EQ(edit->Text(), "Alena");
    EXPECT_EQ(query->State(), data::dsBrowse);
}

TEST_F(DataForm, TextSetByTheProgramIsWrittenAtPost)
{
    auto* edit = Make<TDBEdit>();
    edit->SetDataSource(source);
    edit->SetDataField("jmeno");
    query->Insert();
    edit->SetText("Dana");
    EXPECT_TRUE(query->FieldByName("jmeno")->IsNull());
    query->Post();
    EXPECT_EQ(Stored(4, "jmeno"), "Dana");
}

TEST_F(DataForm, EditWithoutAFieldOrOnAClosedDataSetShowsNothing)
{
    auto* edit = Make<TDBEdit>();
    edit->SetDataSource(source);
    EXPECT_EQ(edit->Text(), "");
    edit->SetDataField("jmeno");
    query->Close();
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(edit->Field(), nullptr);
    query->Open();
    EXPECT_EQ(edit->Text(), "Alena");
    // The data source going first leaves the edit without one.
    delete source;
    source = nullptr;
    EXPECT_EQ(edit->DataSource(), nullptr);
}

TEST_F(DataForm, CheckBoxShowsBooleanAndNullAndWritesTheToggle)
{
    auto* box = Make<TDBCheckBox>();
    box->SetDataSource(source);
    box->SetDataField("aktivni");
    using S = TDBCheckBox::TCheckBoxState;
    EXPECT_EQ(box->State(), S::cbChecked);
    query->Next();
    EXPECT_EQ(box->State(), S::cbUnchecked);
    query->Next();
    EXPECT_EQ(box->State(), S::cbGrayed);

    // A grayed box becomes ticked; the row goes into edit state.
    static_cast<QCheckBox*>(box->Widget())->click();
    EXPECT_EQ(box->State(), S::cbChecked);
    EXPECT_EQ(query->State(), data::dsEdit);
    query->Post();
    EXPECT_EQ(Stored(3, "aktivni"), "True");
    query->First();
    static_cast<QCheckBox*>(box->Widget())->click();
    query->Post();
    EXPECT_EQ(Stored(1, "aktivni"), "False");
}

TEST_F(DataForm, CheckBoxOverATextFieldUsesItsValues)
{
    auto* box = Make<TDBCheckBox>();
    box->SetValueChecked("Ano;Jo");
    box->SetValueUnchecked("Ne");
    box->SetDataSource(source);
    box->SetDataField("souhlas");
    using S = TDBCheckBox::TCheckBoxState;
    EXPECT_EQ(box->State(), S::cbChecked);
    query->Next();
    EXPECT_EQ(box->State(), S::cbUnchecked);
    query->Next();
    EXPECT_EQ(box->State(), S::cbGrayed); // "Snad" is neither
    static_cast<QCheckBox*>(box->Widget())->click();
    query->Post();
    EXPECT_EQ(Stored(3, "souhlas"), "Ano");
}

TEST_F(DataForm, ReadOnlyCheckBoxDoesNotToggle)
{
    auto* box = Make<TDBCheckBox>();
    box->SetDataSource(source);
    box->SetDataField("aktivni");
    box->SetReadOnly(true);
    static_cast<QCheckBox*>(box->Widget())->click();
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(query->State(), data::dsBrowse);
}

TEST_F(DataForm, NavigatorButtonsFollowTheStateAndDoTheirWork)
{
    auto* navigator = Make<TDBNavigator>();
    navigator->SetBounds(0, 0, 300, 30);
    navigator->SetDataSource(source);
    auto enabled = [&](TNavigateBtn b) { return navigator->Buttons(b).Enabled(); };
    EXPECT_FALSE(enabled(nbFirst));
    EXPECT_TRUE(enabled(nbNext));
    EXPECT_TRUE(enabled(nbEdit));
    EXPECT_FALSE(enabled(nbPost));
    navigator->Buttons(nbLast).Widget()->click();
    EXPECT_EQ(query->RecNo(), 3);
    EXPECT_FALSE(enabled(nbNext));
    navigator->Buttons(nbEdit).Widget()->click();
    EXPECT_EQ(query->State(), data::dsEdit);
    EXPECT_TRUE(enabled(nbPost));
    EXPECT_TRUE(enabled(nbCancel));
    EXPECT_FALSE(enabled(nbEdit));
    navigator->Buttons(nbCancel).Widget()->click();
    EXPECT_EQ(query->State(), data::dsBrowse);

    // Deleting asks first; Cancel keeps the record.
    dialogs.AnswerButton(mrCancel);
    navigator->BtnClick(nbDelete);
    EXPECT_EQ(query->RecordCount(), 3);
    ASSERT_EQ(dialogs.Questions().size(), 1u);
    EXPECT_EQ(dialogs.Questions()[0].Text, "Smazat záznam?");
    dialogs.AnswerButton(mrOk);
    navigator->BtnClick(nbDelete);
    EXPECT_EQ(query->RecordCount(), 2);

    std::vector<TNavigateBtn> clicked;
    navigator->OnNavClick = [&](core::TObject*, TNavigateBtn b) { clicked.push_back(b); };
    navigator->Buttons(nbInsert).Widget()->click();
    EXPECT_EQ(query->State(), data::dsInsert);
    EXPECT_EQ(clicked, std::vector<TNavigateBtn>{nbInsert});
}

TEST_F(DataForm, NavigatorSharesItsWidthAmongTheVisibleButtons)
{
    auto* navigator = Make<TDBNavigator>();
    navigator->SetVisibleButtons(NavButton(nbInsert) | NavButton(nbDelete) | NavButton(nbPost) | NavButton(nbCancel));
    navigator->SetBounds(0, 0, 202, 40);
    EXPECT_FALSE(navigator->Buttons(nbFirst).Visible());
    EXPECT_EQ(navigator->Buttons(nbInsert).Widget()->geometry(), QRect(0, 0, 51, 40));
    EXPECT_EQ(navigator->Buttons(nbDelete).Widget()->geometry(), QRect(51, 0, 51, 40));
    EXPECT_EQ(navigator->Buttons(nbPost).Widget()->geometry(), QRect(102, 0, 50, 40));
    EXPECT_EQ(navigator->Buttons(nbCancel).Widget()->geometry(), QRect(152, 0, 50, 40));
    // Hints show only with ShowHint.
    EXPECT_EQ(navigator->Buttons(nbPost).Widget()->toolTip(), "");
    navigator->SetShowHint(true);
    EXPECT_EQ(navigator->Buttons(nbPost).Widget()->toolTip().toStdString(), "Uložit");
    navigator->Hints().Add("Na začátek");
    EXPECT_EQ(navigator->Buttons(nbFirst).Widget()->toolTip().toStdString(), "Na začátek");
}

TEST_F(DataForm, GridShowsRowsAndFollowsTheCurrentRecordBothWays)
{
    auto* grid = Make<TDBGrid>();
    grid->SetDataSource(source);
    // Without columns of its own: every field.
    ASSERT_EQ(grid->Columns().Count(), 5);
    EXPECT_TRUE(grid->Columns().DefaultColumns());
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->CellText(0, 1), "Alena");
    EXPECT_EQ(grid->CellText(2, 2), "");

    QTableView* view = grid->View();
    query->Last();
    EXPECT_EQ(view->currentIndex().row(), 2);
    view->setCurrentIndex(view->model()->index(1, 1));
    EXPECT_EQ(query->RecNo(), 2);
    EXPECT_EQ(grid->SelectedField()->FieldName(), "jmeno");
}

TEST_F(DataForm, GridColumnsTitlesWidthsAndClicks)
{
    auto* grid = Make<TDBGrid>();
    TColumn* name = grid->Columns().Add();
    name->SetFieldName("jmeno");
    name->SetTitleCaption("Jméno");
    name->SetWidth(120);
    TColumn* day = grid->Columns().Add();
    day->SetFieldName("den");
    grid->SetDataSource(source);
    QTableView* view = grid->View();
    EXPECT_EQ(view->model()->columnCount(), 2);
    EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal).toString().toStdString(), "Jméno");
    EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString().toStdString(), "den");
    EXPECT_EQ(view->columnWidth(0), 120);

    std::vector<int> titles;
    std::vector<int> cells;
    grid->OnTitleClick = [&](TColumn* c) { titles.push_back(c->Index()); };
    grid->OnCellClick = [&](TColumn* c) { cells.push_back(c->Index()); };
    view->horizontalHeader()->sectionClicked(1);
    view->clicked(view->model()->index(2, 0));
    EXPECT_EQ(titles, std::vector<int>{1});
    EXPECT_EQ(cells, std::vector<int>{0});
    EXPECT_TRUE(view->horizontalHeader()->isVisibleTo(view));

    grid->SetOptions(dgIndicator | dgRowSelect);
    EXPECT_FALSE(view->horizontalHeader()->isVisibleTo(view));
}

TEST_F(DataForm, EditableGridWritesACellIntoItsField)
{
    auto* grid = Make<TDBGrid>();
    grid->SetDataSource(source);
    QAbstractItemModel* model = grid->View()->model();
    QModelIndex cell = model->index(0, 1);
    EXPECT_TRUE(model->flags(cell) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable); // the key
    EXPECT_TRUE(model->setData(cell, QStringLiteral("Alžběta"), Qt::EditRole));
    EXPECT_EQ(query->State(), data::dsEdit);
    EXPECT_EQ(grid->CellText(0, 1), "Alžběta");
    EXPECT_EQ(model->headerData(0, Qt::Vertical).toString().toStdString(), "I");
    query->Post();
    EXPECT_EQ(Stored(1, "jmeno"), "Alžběta");

    grid->SetReadOnly(true);
    EXPECT_FALSE(model->flags(cell) & Qt::ItemIsEditable);
}

// A large result opened with its first rows: the grid shows those at once,
// reads the rest from the event loop, and reads all of it at once when the
// user scrolls to the last row read or the program asks for the count.
class LargeResultForm : public DataForm {
protected:
    void SetUp() override
    {
        DataForm::SetUp();
        connection->Execute("WITH RECURSIVE n(i) AS (SELECT 4 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
                            "INSERT INTO osoby (jmeno) SELECT 'Osoba ' || i FROM n");
        query->Close();
        query->OpenFirst(40);
        grid = Make<TDBGrid>();
        grid->SetDataSource(source);
        form->Show();
    }
    TDBGrid* grid = nullptr;
};

TEST_F(LargeResultForm, TheGridShowsTheFirstRowsAndTheRestComesFromTheEventLoop)
{
    QAbstractItemModel* model = grid->View()->model();
    EXPECT_EQ(model->rowCount(), 40);
    EXPECT_EQ(grid->CellText(39, 1), "Osoba 40");
    EXPECT_FALSE(query->AllRecordsRead());
    for (int i = 0; i < 100 && !query->AllRecordsRead(); ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(query->AllRecordsRead());
    EXPECT_EQ(model->rowCount(), 5000);
    EXPECT_EQ(grid->CellText(4999, 1), "Osoba 5000");
}

TEST_F(LargeResultForm, ScrollingToTheLastRowReadBringsEveryRow)
{
    QTableView* view = grid->View();
    view->scrollToBottom();
    EXPECT_TRUE(query->AllRecordsRead());
    EXPECT_EQ(view->model()->rowCount(), 5000);
}

TEST_F(LargeResultForm, TheCountAndTheLastRecordAreTheWholeResults)
{
    EXPECT_EQ(grid->RowCount(), 5000);
    EXPECT_EQ(grid->View()->model()->rowCount(), 5000);

    query->Close();
    query->OpenFirst(40);
    query->Last();
    QTableView* view = grid->View();
    EXPECT_EQ(view->model()->rowCount(), 5000);
    EXPECT_EQ(view->currentIndex().row(), 4999);
    EXPECT_EQ(grid->CellText(4999, 1), "Osoba 5000");
}
