#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/Grids.h"
#include "platform/ui/controls/ScrollBox.h"
#include "platform/ui/controls/StdCtrls.h"
#include "tests/platform/ui/FormFixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

using namespace ui;

namespace {

using Grids = uitest::FormFixture;

} // namespace

TEST_F(Grids, CellsHeadingsAndShape)
{
    auto* grid = Make<TStringGrid>();
    grid->SetColCount(2);
    grid->SetFixedCols(0);
    grid->SetRowCount(1); // headings only
    grid->SetCells(0, 0, "Name");
    grid->SetCells(1, 0, "Expression");
    grid->SetColWidths(0, 123);
    grid->SetColWidths(1, 165);
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->Cells(1, 0), "Expression");
    EXPECT_EQ(grid->ColWidths(0), 123);
    EXPECT_EQ(grid->ColWidths(1), 165);

    grid->SetRowCount(3);
    grid->SetCells(0, 2, "PAGENUMBER");
    EXPECT_EQ(grid->Cells(0, 2), "PAGENUMBER");
    EXPECT_EQ(grid->Cells(0, 1), "");
    // Outside the grid: nothing stored, nothing read.
    grid->SetCells(5, 5, "x");
    EXPECT_EQ(grid->Cells(5, 5), "");
    grid->SetRowCount(2);
    EXPECT_EQ(grid->Cells(0, 2), "");
    EXPECT_EQ(grid->Cells(0, 0), "Name");

    auto* table = static_cast<QTableWidget*>(grid->Widget());
    EXPECT_FALSE(table->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(table->item(1, 0)->flags() & Qt::ItemIsEditable);
    grid->SetOptions(goEditing);
    EXPECT_FALSE(table->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(table->item(1, 0)->flags() & Qt::ItemIsEditable);
}

TEST_F(Grids, UserEditsAreReportedWithTheirCellButTheProgramsAreNot)
{
    auto* grid = Make<TStringGrid>();
    grid->SetColCount(2);
    grid->SetFixedCols(0);
    grid->SetRowCount(3);
    grid->SetOptions(goEditing);
    std::vector<std::string> edits;
    grid->OnSetEditText = [&](core::TObject*, int col, int row, const std::string& value) {
        edits.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + value);
    };
    grid->SetCells(1, 1, "1");
    EXPECT_TRUE(edits.empty());

    form->SetBounds(0, 0, 400, 200);
    grid->SetBounds(0, 0, 380, 180);
    form->Show();
    auto* table = static_cast<QTableWidget*>(grid->Widget());
    grid->SetRow(2);
    grid->SetCol(1);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Col(), 1);
    table->editItem(table->item(2, 1));
    auto* editor = table->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "x*2");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the editor hands its text over once the key is handled
    EXPECT_EQ(grid->Cells(1, 2), "x*2");
    EXPECT_EQ(edits, (std::vector<std::string>{"1,2=x*2"}));
}

TEST_F(Grids, CurrentCellIsNeverAFixedOne)
{
    auto* grid = Make<TStringGrid>();
    grid->SetColCount(2);
    grid->SetFixedCols(0);
    grid->SetRowCount(4);
    EXPECT_EQ(grid->Row(), 1);
    grid->SetRow(0);
    EXPECT_EQ(grid->Row(), 1);
    grid->SetRow(3);
    EXPECT_EQ(grid->Row(), 3);
    int doubles = 0;
    grid->OnDblClick = [&](core::TObject*) { ++doubles; };
    emit static_cast<QTableWidget*>(grid->Widget())->cellDoubleClicked(3, 0);
    EXPECT_EQ(doubles, 1);
}

TEST_F(Grids, ScrollBoxScrollsItsControlsOverTheRange)
{
    auto* box = Make<TScrollBox>();
    box->SetBounds(0, 0, 300, 100);
    form->SetBounds(0, 0, 320, 120);
    form->Show();
    auto* edit = new TEdit(form);
    edit->SetParent(box);
    edit->SetBounds(10, 15 + 40 * 4, box->Width() - 60, 21);
    EXPECT_EQ(edit->Widget()->parentWidget(), box->ClientWidget());
    box->VertScrollBar().SetRange(40 * 5);
    box->VertScrollBar().SetIncrement(40);
    auto* area = static_cast<QScrollArea*>(box->Widget());
    EXPECT_EQ(box->ClientWidget()->height(), 200);
    EXPECT_EQ(area->verticalScrollBar()->singleStep(), 40);
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0);
    box->VertScrollBar().SetPosition(40);
    EXPECT_EQ(box->VertScrollBar().Position(), 40);
    // Without a range the area is as high as the box shows.
    box->VertScrollBar().SetRange(0);
    EXPECT_EQ(area->verticalScrollBar()->maximum(), 0);
    FreeComponent(edit);
    EXPECT_EQ(box->ControlCount(), 0);
}
