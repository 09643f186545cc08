// The register edited by hand: dates typed into the grid's cells, texts
// longer than their column, and the window closed with a row being typed.

#include "RegisterFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLineEdit>
#include <QTableView>
#include <QtTest/QTest>

#include <filesystem>

using namespace apptest;

namespace {

class Editing : public RegisterFixture {
protected:
    void SetUp() override
    {
        RegisterFixture::SetUp();
        if (HasFatalFailure())
            return;
        AddRow("1/2010", "Smlouva kupní", core::EncodeDateTime(2010, 5, 12, 18, 0, 0, 0), "", true,
               core::EncodeDateTime(2010, 5, 1, 0, 0, 0, 0));
        Form()->Show();
        QApplication::setActiveWindow(Form()->Widget());
    }
    QTableView* Grid() const { return Form()->DBGrid1->View(); }
    // Opens the editor of the first row's cell with F2, as the user does.
    QLineEdit* OpenCell(int column)
    {
        Grid()->setFocus();
        Grid()->setCurrentIndex(Grid()->model()->index(0, column));
        QTest::keyClick(Grid(), Qt::Key_F2);
        return qobject_cast<QLineEdit*>(Grid()->indexWidget(Grid()->currentIndex()));
    }
    // Lets the queued work of a key run: a cell's commit after Enter, and the refusal it meets.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    void Post() { Form()->Konverze_DBNavigator->Buttons(ui::nbPost).Widget()->click(); }
    // Closes the window by its close box; the test's application alone runs on.
    bool CloseWindow()
    {
        bool closed = false;
        const ui::TCloseEvent formClose = Form()->OnClose;
        Form()->OnClose = [&](core::TObject* sender, ui::TCloseAction& action) {
            formClose(sender, action);
            closed = true;
            action = ui::TCloseAction::caNone;
        };
        QCloseEvent event;
        QApplication::sendEvent(Form()->Widget(), &event);
        Form()->OnClose = formClose;
        return closed;
    }
};

} // namespace

TEST_F(Editing, ADateTheGridsCellRefusesIsToldInCzechAndEscapeTwiceGivesUpTheRow)
{
    const struct {
        int column;
        const char* typed;
        const char* label;
        const char* shown;
        bool byPost; // refused by the navigator's post instead of Enter
    } cases[] = {
        {2, "29.2.2023", "Datum konverze", "12.05.2010", false},
        {2, "12.5.", "Datum konverze", "12.05.2010", true},
        {3, "29.2.2023", "Datum sepsání vstupu", "01.05.2010", false},
        {3, "12.5.", "Datum sepsání vstupu", "01.05.2010", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs_.Clear();
        QLineEdit* editor = OpenCell(c.column);
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, c.typed);
        c.byPost ? Post() : QTest::keyClick(editor, Qt::Key_Return);
        Settle();
        EXPECT_EQ(Messages(), std::vector<std::string>{std::string("Text „") + c.typed + "“ v poli „" + c.label +
                                                       "“ není platné datum."});
        // The editor keeps what was typed; the first Escape takes the
        // field's text back and leaves the cell, the second gives up the row.
        ASSERT_EQ(Grid()->indexWidget(Grid()->currentIndex()), editor);
        EXPECT_EQ(editor->text().toStdString(), c.typed);
        QTest::keyClick(editor, Qt::Key_Escape);
        Settle();
        EXPECT_EQ(Grid()->indexWidget(Grid()->currentIndex()), nullptr);
        EXPECT_EQ(Form()->DBGrid1->CellText(0, c.column), c.shown);
        EXPECT_EQ(Register()->State(), data::dsEdit);
        QTest::keyClick(Grid(), Qt::Key_Escape);
        EXPECT_EQ(Register()->State(), data::dsBrowse);
        EXPECT_EQ(Grid()->currentIndex().column(), c.column);
        EXPECT_EQ(Messages().size(), 1u) << dialogs_.Describe();
    }
}

TEST_F(Editing, ATextPastItsColumnIsCutWithTheWordsOfTheDatabase)
{
    const auto tooLong = [](int length) {
        return "Text v poli „Označení vstupu“ je dlouhý " + std::to_string(length) +
               " znaků, pole pojme nejvýše 255 znaků.";
    };
    // Characters count, not bytes nor UTF-16 units: 242 fill the column after "Smlouva kupní".
    const QString clef = QString::fromUtf8("𝄞");
    const struct {
        bool inGrid;
        QString pasted;
        QString kept;
    } cases[] = {
        {false, clef + QString(241, u'a'), clef + QString(241, u'a')},
        {false, QString(251, u'ř'), QString(242, u'ř')},
        {true, QString(250, u'ž') + clef, QString(242, u'ž')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.inGrid ? "grid" : "edit");
        dialogs_.Clear();
        auto* edit = c.inGrid ? OpenCell(1) : static_cast<QLineEdit*>(Form()->Oznaceni_vstupu_DBEdit->Widget());
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        edit->end(false);
        QGuiApplication::clipboard()->setText(c.pasted);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_X); // a key typed at the limit
        std::vector<std::string> told{tooLong(256)};
        if (c.pasted.size() != c.kept.size())
            told.insert(told.begin(), tooLong(264));
        EXPECT_EQ(Messages(), told);
        EXPECT_EQ(edit->text(), "Smlouva kupní" + c.kept);
        QTest::keyClick(edit, Qt::Key_Return);
        Settle();
        Post();
        EXPECT_EQ(QString::fromStdString(Stored("1/2010", "oznaceni_vstupu")), "Smlouva kupní" + c.kept);
        app::DM->ADOConnection->Execute("UPDATE konverze SET oznaceni_vstupu = 'Smlouva kupní'");
        Register()->Close();
        Register()->Open();
    }
}

TEST_F(Editing, ClosingTheWindowSavesTheRowBeingTypedOrAsksWhetherToCloseWithoutIt)
{
    const struct {
        const char* designation; // empty: the post rules refuse the row
        int answer;              // 0: nothing asked
        bool closed;
    } cases[] = {{"Plna moc", 0, true}, {"", ui::mrNo, false}, {"", ui::mrYes, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        dialogs_.Clear();
        std::filesystem::remove(folder_ + "nastaveni.ini");
        Form()->Konverze_DBNavigator->Buttons(ui::nbInsert).Widget()->click();
        QTest::keyClicks(Form()->Poradove_Cislo_DBEdit->Widget(), "9/2010");
        QTest::keyClicks(Form()->Cislo_Dokladu_DBEdit->Widget(), "D-77");
        QTest::keyClicks(Form()->Oznaceni_vstupu_DBEdit->Widget(), c.designation);
        if (c.answer != 0) {
            dialogs_.AnswerButton(ui::mrOk); // the refusal
            dialogs_.AnswerButton(c.answer);
        }
        EXPECT_EQ(CloseWindow(), c.closed);
        const auto asked = c.answer == 0 ? std::vector<std::string>{}
                                         : std::vector<std::string>{"Chybí označení věci.",
                                                                    "Rozepsaný řádek nelze uložit. Zavřít program "
                                                                    "bez něj?"};
        EXPECT_EQ(Messages(), asked);
        EXPECT_EQ(Stored("9/2010", "cislo_dokladu"), c.answer == 0 ? "D-77" : "<no row>");
        // The start-up check's setting is written by every close, and only then.
        EXPECT_EQ(std::filesystem::exists(folder_ + "nastaveni.ini"), c.closed);
        EXPECT_EQ(Register()->State(), c.closed ? data::dsBrowse : data::dsInsert);
        if (!c.closed) {
            EXPECT_EQ(Form()->Cislo_Dokladu_DBEdit->Text(), "D-77");
        }
        Register()->Cancel();
        app::DM->ADOConnection->Execute("DELETE FROM konverze WHERE poradove_cislo = '9/2010'");
    }
}

TEST_F(Editing, ClosingTheWindowSavesAUserBeingTypedAndDropsAnUntouchedOne)
{
    AddUser("JUDr. Jana Nováková", "Petr Novák");
    app::DM->Uzivatel_ADOQuery->Close();
    app::DM->Uzivatel_ADOQuery->Open();
    for (const char* typed : {"", "Mgr. Eva Mala"}) {
        SCOPED_TRACE(typed);
        dialogs_.Clear();
        Form()->DBNavigator2->Buttons(ui::nbInsert).Widget()->click();
        QTest::keyClicks(Form()->DBEdit1->Widget(), typed);
        EXPECT_TRUE(CloseWindow());
        EXPECT_EQ(Messages(), std::vector<std::string>{});
        EXPECT_EQ(app::DM->Uzivatel_ADOQuery->State(), data::dsBrowse);
        EXPECT_EQ(StoredUserNames(), *typed ? "JUDr. Jana Nováková|Mgr. Eva Mala" : "JUDr. Jana Nováková");
    }
}
