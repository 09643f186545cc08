#include "DialogDriver.h"

#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/Grids.h"
#include "platform/ui/controls/RadioButton.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/controls/StdCtrls.h"
#include "report/editors/RpWordWrapEdit.h"
#include "report/expr/RpEnvironment.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>

using namespace report;
using namespace report::test;

namespace {

void Press(ui::TButton* button)
{
    static_cast<QPushButton*>(button->Widget())->click();
}

bool EditorReady()
{
    TRpEnvironmentEditor* e = Editor();
    return e != nullptr && e->Showing() && e->AddBtn->Visible() && Builders().empty();
}

std::vector<std::string> Rows(const ui::TStringGrid* grid)
{
    std::vector<std::string> rows;
    for (int r = 0; r < grid->RowCount(); ++r)
        rows.push_back(grid->Cells(0, r) + "=" + grid->Cells(1, r));
    return rows;
}

// Types text into a cell of the grid as the user does, ending with Enter.
void EditCell(ui::TStringGrid* grid, int col, int row, const std::string& text)
{
    auto* table = static_cast<QTableWidget*>(grid->Widget());
    QTableWidgetItem* item = table->item(row, col);
    ASSERT_NE(item, nullptr);
    // What the delegate does when the editor closes: the cell gets the text.
    item->setText(QString::fromStdString(text));
}

struct EnvironmentEditor : testing::Test {
    TRpEvEnvironment local;
    EnvironmentEditor()
    {
        local.DefineVariable("PAGENUMBER", "0");
        local.DefineVariable("TOTAL", "1+1");
    }
    ~EnvironmentEditor() override { EXPECT_EQ(Editor(), nullptr) << "an editor was left behind"; }
};

} // namespace

TEST_F(EnvironmentEditor, ShowsTheLocalVariablesAndSwitchesToTheGlobalOnes)
{
    std::string caption;
    std::vector<std::string> localRows, globalRows;
    bool globalEnabled = false;
    int widths[2] = {};
    TDialogDriver driver;
    driver.When(EditorReady, [&] {
        TRpEnvironmentEditor* e = Editor();
        caption = e->Caption();
        localRows = Rows(e->UDFGrid);
        widths[0] = e->UDFGrid->ColWidths(0);
        widths[1] = e->UDFGrid->ColWidths(1);
        globalEnabled = e->GlobalCB->Enabled();
        static_cast<QRadioButton*>(e->GlobalCB->Widget())->click();
        globalRows = Rows(e->UDFGrid);
        Press(e->VariableOKBtn);
    });
    EditEnvironment(&local, true);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(caption, "User Defined Functions Edtor");
    EXPECT_EQ(localRows, (std::vector<std::string>{"Name=Expression", "PAGENUMBER=0", "TOTAL=1+1"}));
    EXPECT_EQ(widths[0], 123);
    EXPECT_EQ(widths[1], 165);
    EXPECT_TRUE(globalEnabled);
    ASSERT_GE(globalRows.size(), 4u);
    EXPECT_EQ(globalRows[0], "Name=Expression");
    EXPECT_EQ(globalRows[3], "APPNAME='Sestavy'");
}

TEST_F(EnvironmentEditor, WithoutALocalEnvironmentOnlyTheGlobalPageIsOffered)
{
    bool localEnabled = true, globalChecked = false, globalEnabled = true;
    std::string firstRow;
    TDialogDriver driver;
    driver.When(EditorReady, [&] {
        TRpEnvironmentEditor* e = Editor();
        localEnabled = e->LocalCB->Enabled();
        globalChecked = e->GlobalCB->Checked();
        globalEnabled = e->GlobalCB->Enabled();
        firstRow = e->UDFGrid->Cells(0, 1);
        e->Widget()->close();
    });
    EditEnvironment(nullptr, true);
    EXPECT_TRUE(driver.Finished());
    EXPECT_FALSE(localEnabled);
    EXPECT_TRUE(globalChecked);
    EXPECT_TRUE(globalEnabled);
    EXPECT_EQ(firstRow, "APPSTARTTIME");

    TDialogDriver second;
    second.When(EditorReady, [&] {
        globalEnabled = Editor()->GlobalCB->Enabled();
        Press(Editor()->VariableOKBtn);
    });
    EditEnvironment(&local, false);
    EXPECT_FALSE(globalEnabled);
}

TEST_F(EnvironmentEditor, AddAsksForANewEntryAndDefinesIt)
{
    std::vector<std::string> hidden, rows;
    std::string cancelledRows;
    TDialogDriver driver;
    driver.When(EditorReady, [] { Press(Editor()->AddBtn); })
        .When([] { return Editor() != nullptr && !Editor()->AddBtn->Visible(); },
              [&] {
                  TRpEnvironmentEditor* e = Editor();
                  for (ui::TButton* b : {e->AddBtn, e->EditBtn, e->DeleteBtn, e->VariableOKBtn})
                      if (!b->Visible())
                          hidden.push_back(b->Caption());
                  e->Name->SetText("nove");
                  e->Expression->SetText("TOTAL * 3");
                  Press(e->NewOKBtn);
              })
        .When(EditorReady, [] { Press(Editor()->AddBtn); })
        .When([] { return Editor() != nullptr && !Editor()->AddBtn->Visible(); },
              [] {
                  Editor()->Name->SetText("ZRUSENO");
                  Press(Editor()->NewCancelBtn);
              })
        .When(EditorReady, [&] {
            rows = Rows(Editor()->UDFGrid);
            Press(Editor()->VariableOKBtn);
        });
    EditEnvironment(&local, true);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(hidden, (std::vector<std::string>{"&Add", "&Edit", "&Delete", "Close"}));
    EXPECT_EQ(rows, (std::vector<std::string>{"Name=Expression", "PAGENUMBER=0", "TOTAL=1+1", "NOVE=TOTAL * 3"}));
    local.PrepareEnvironment();
    EXPECT_EQ(local.VariableValue("NOVE").IntegerValue, 6);
    local.ReleaseEnvironment();
    EXPECT_EQ(local.Variable("ZRUSENO"), nullptr);
}

TEST_F(EnvironmentEditor, GridEditsRenameAndReplaceButNotWhilePrepared)
{
    std::string kept;
    TDialogDriver driver;
    driver.When(EditorReady, [&] {
        TRpEnvironmentEditor* e = Editor();
        EditCell(e->UDFGrid, 0, 2, "soucet");
        EditCell(e->UDFGrid, 1, 2, "2*21");
        local.PrepareEnvironment();
        EditCell(e->UDFGrid, 1, 1, "99");
        kept = e->UDFGrid->Cells(1, 1);
        local.ReleaseEnvironment();
        Press(e->VariableOKBtn);
    });
    EditEnvironment(&local, true);
    EXPECT_EQ(local.Get(1), "SOUCET");
    ASSERT_NE(local.Variable("SOUCET"), nullptr);
    EXPECT_EQ(local.Variable("SOUCET")->ExpressionText, "2*21");
    EXPECT_EQ(kept, "0");
    EXPECT_EQ(local.Variable("PAGENUMBER")->ExpressionText, "0");
}

TEST_F(EnvironmentEditor, EditOpensTheBuilderInsideTheEditorForTheCurrentRow)
{
    std::string heading, text;
    bool inside = false;
    TDialogDriver driver;
    driver.When(EditorReady, [] {
              Editor()->UDFGrid->SetRow(2);
              Press(Editor()->EditBtn);
          })
        .When([] { return Builder() != nullptr && Builder()->Showing(); },
              [&] {
                  TRpExpressionBuilder* b = Builder();
                  heading = b->Heading->Caption();
                  text = b->ExpressionBox->Text();
                  inside = b->Widget()->parentWidget() == Editor()->Widget();
                  b->ExpressionBox->SetText("TOTAL2 +\r\n5");
                  static_cast<QPushButton*>(b->OK->Widget())->click();
              })
        .When(EditorReady, [] { Press(Editor()->VariableOKBtn); });
    EditEnvironment(&local, true);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(heading, "TOTAL");
    EXPECT_EQ(text, "1+1");
    EXPECT_TRUE(inside);
    EXPECT_EQ(local.Variable("TOTAL")->ExpressionText, "TOTAL2 +5");
}

TEST_F(EnvironmentEditor, TheBuilderFillsTheNewEntrysExpression)
{
    std::string heading;
    TDialogDriver driver;
    driver.When(EditorReady, [] { Press(Editor()->AddBtn); })
        .When([] { return Editor() != nullptr && !Editor()->AddBtn->Visible() && Builders().empty(); },
              [] {
                  Editor()->Name->SetText("Dvakrat");
                  Editor()->Expression->SetText("1");
                  static_cast<QToolButton*>(Editor()->SpeedButton1->Widget())->click();
              })
        .When([] { return Builder() != nullptr && Builder()->Showing(); },
              [&] {
                  heading = Builder()->Heading->Caption();
                  Builder()->ExpressionBox->SetText("TOTAL * 2");
                  static_cast<QPushButton*>(Builder()->OK->Widget())->click();
              })
        .When([] { return Builders().empty() && Editor()->Expression->Text() == "TOTAL * 2"; },
              [] { Press(Editor()->NewOKBtn); })
        .When(EditorReady, [] { Press(Editor()->VariableOKBtn); });
    EditEnvironment(&local, true);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(heading, "Dvakrat");
    ASSERT_NE(local.Variable("DVAKRAT"), nullptr);
    EXPECT_EQ(local.Variable("DVAKRAT")->ExpressionText, "TOTAL * 2");
}

TEST_F(EnvironmentEditor, DeleteRemovesTheCurrentEntryUnlessARunUsesThem)
{
    std::vector<std::string> rows;
    TDialogDriver driver;
    driver.When(EditorReady, [&] {
        TRpEnvironmentEditor* e = Editor();
        e->UDFGrid->SetRow(1);
        local.PrepareEnvironment();
        Press(e->DeleteBtn);
        local.ReleaseEnvironment();
        e->UDFGrid->SetRow(2);
        Press(e->DeleteBtn);
        rows = Rows(e->UDFGrid);
        Press(e->VariableOKBtn);
    });
    EditEnvironment(&local, true);
    EXPECT_EQ(rows, (std::vector<std::string>{"Name=Expression", "PAGENUMBER=0"}));
    EXPECT_EQ(local.Count(), 1);
}

TEST_F(EnvironmentEditor, AnEmptyEnvironmentShowsOnlyTheHeadings)
{
    TRpEvEnvironment empty;
    std::vector<std::string> rows;
    int builders = -1;
    TDialogDriver driver;
    driver.When(EditorReady, [&] {
        TRpEnvironmentEditor* e = Editor();
        rows = Rows(e->UDFGrid);
        // Nothing to edit: no builder opens, no edit lands anywhere.
        Press(e->EditBtn);
        builders = static_cast<int>(Builders().size());
        e->UDFGridSetEditText(e->UDFGrid, 1, 1, "x");
        e->UDFGridSetEditText(e->UDFGrid, 1, 0, "x");
        Press(e->VariableOKBtn);
    });
    EditEnvironment(&empty, true);
    EXPECT_EQ(rows, (std::vector<std::string>{"Name=Expression"}));
    EXPECT_EQ(builders, 0);
    EXPECT_EQ(empty.Count(), 0);
}

TEST_F(EnvironmentEditor, ModifyVariablesInTheBuilderOpensTheEditor)
{
    std::vector<std::string> rows;
    TDialogDriver driver;
    driver.When([] { return Builder() != nullptr && Builder()->Showing() && Builder()->MainPage->Enabled(); },
                [] { static_cast<QPushButton*>(Builder()->InsertVariableBtn->Widget())->click(); })
        .When([] { return Builder() != nullptr && Builder()->VariablePage->Enabled(); },
              [] { static_cast<QPushButton*>(Builder()->ModifyVariables->Widget())->click(); })
        .When([] { return Editor() != nullptr && Editor()->Showing(); },
              [&] {
                  rows = Rows(Editor()->UDFGrid);
                  Press(Editor()->VariableOKBtn);
              })
        .When([] { return Editor() == nullptr && Builder() != nullptr && Builder()->VariablePage->Enabled(); },
              [] { static_cast<QPushButton*>(Builder()->VariableCancelBtn->Widget())->click(); })
        .When([] { return Builder() != nullptr && Builder()->MainPage->Enabled(); },
              [] { static_cast<QPushButton*>(Builder()->Cancel->Widget())->click(); });
    std::string expression = "1";
    EXPECT_FALSE(RunExpressionBuilder("", expression, nullptr, &local, nullptr));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(rows, (std::vector<std::string>{"Name=Expression", "PAGENUMBER=0", "TOTAL=1+1"}));
}
