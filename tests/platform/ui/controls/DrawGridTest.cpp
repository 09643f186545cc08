// Draw grids: cells painted by the program, selection asked of OnSelectCell,
// rows brought into view, keys and the mouse.
#include "platform/ui/controls/DrawGrid.h"
#include "platform/ui/kernel/Forms.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

using namespace ui;

namespace {

struct DrawGrid : testing::Test {
    TForm* form = CreateComponent<TForm>(nullptr);
    TDrawGrid* grid = new TDrawGrid(form);
    std::vector<std::string> asked;
    bool refuse = false;

    DrawGrid()
    {
        form->SetBounds(0, 0, 300, 300);
        grid->SetBounds(0, 0, 120, 104);
        grid->SetParent(form);
        grid->SetColCount(1);
        grid->SetFixedCols(0);
        grid->SetFixedRows(0);
        grid->SetRowCount(10);
        grid->SetDefaultRowHeight(25);
        grid->SetOptions(goRowSelect);
        grid->OnSelectCell = [this](core::TObject*, int col, int row, bool& canSelect) {
            asked.push_back(std::to_string(col) + "," + std::to_string(row));
            canSelect = !refuse;
        };
    }
    ~DrawGrid() override { FreeComponent(form); }
    void SetUp() override { form->Show(); }
    QWidget* Viewport() const { return static_cast<QAbstractScrollArea*>(grid->Widget())->viewport(); }
};

} // namespace

TEST_F(DrawGrid, SelectionIsAskedForAndMayBeRefused)
{
    EXPECT_EQ(grid->Row(), 0);
    grid->SetRow(3);
    EXPECT_EQ(grid->Row(), 3);
    refuse = true;
    grid->SetRow(5);
    EXPECT_EQ(grid->Row(), 3);
    refuse = false;
    grid->SetRow(10); // beyond the rows: not even asked
    grid->SetRow(-1);
    EXPECT_EQ(asked, (std::vector<std::string>{"0,3", "0,5"}));
    // Fewer rows take the current row with them.
    grid->SetRowCount(2);
    EXPECT_EQ(grid->Row(), 1);
    grid->SetRowCount(0);
    grid->SetRow(0);
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(DrawGrid, RowsComeIntoViewAndTheScrollBarFollows)
{
    // 25 + 1 pixels a row: three whole rows and part of a fourth are shown.
    int viewport = Viewport()->height();
    int visible = grid->VisibleRowCount();
    EXPECT_EQ(visible, viewport / 26);
    grid->SetRow(9);
    EXPECT_EQ(grid->TopRow(), 10 - visible);
    QRect last = grid->CellRect(0, 9);
    EXPECT_FALSE(last.isEmpty());
    EXPECT_LE(last.bottom(), viewport);
    EXPECT_TRUE(grid->CellRect(0, 0).isEmpty()) << "scrolled away";
    grid->SetRow(1);
    EXPECT_EQ(grid->TopRow(), 1);
    auto* bar = static_cast<QAbstractScrollArea*>(grid->Widget())->verticalScrollBar();
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(bar->maximum(), 10 - visible);
    bar->setValue(4);
    EXPECT_EQ(grid->TopRow(), 4);
    EXPECT_EQ(grid->CellRect(0, 4).top(), 0);
}

TEST_F(DrawGrid, CellsArePaintedByTheProgramWithTheirState)
{
    grid->SetRow(1);
    std::vector<std::string> drawn;
    grid->OnDrawCell = [&](core::TObject*, int col, int row, const QRect& rect, TGridDrawState state) {
        ASSERT_NE(grid->Painter(), nullptr);
        drawn.push_back(std::to_string(col) + "," + std::to_string(row) + ((state & gdSelected) != 0 ? "*" : ""));
        if (row == 2)
            grid->Painter()->fillRect(rect, Qt::red);
    };
    QImage image(Viewport()->size(), QImage::Format_RGB32);
    Viewport()->render(&image);
    EXPECT_EQ(grid->Painter(), nullptr);
    ASSERT_GE(drawn.size(), 3u);
    EXPECT_EQ(drawn[0], "0,0");
    EXPECT_EQ(drawn[1], "0,1*");
    EXPECT_EQ(drawn[2], "0,2");
    QRect red = grid->CellRect(0, 2);
    EXPECT_EQ(image.pixelColor(red.center()), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(grid->CellRect(0, 1).center()), ColorToQColor(clHighlight));
    // Only the rows on screen are drawn.
    EXPECT_LE(drawn.size(), static_cast<std::size_t>(grid->VisibleRowCount() + 1));
}

TEST_F(DrawGrid, MouseAndKeysChooseRows)
{
    QRect cell = grid->CellRect(0, 2);
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(grid->Row(), 2);
    QTest::keyClick(grid->Widget(), Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 3);
    QTest::keyClick(grid->Widget(), Qt::Key_End);
    EXPECT_EQ(grid->Row(), 9);
    QTest::keyClick(grid->Widget(), Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 9);
    QTest::keyClick(grid->Widget(), Qt::Key_Home);
    EXPECT_EQ(grid->Row(), 0);
    QTest::keyClick(grid->Widget(), Qt::Key_Up);
    EXPECT_EQ(grid->Row(), 0);
    int col = -1;
    int row = -1;
    EXPECT_FALSE(grid->MouseToCell(200, 5, col, row));
}

TEST_F(DrawGrid, ResizingTellsTheProgram)
{
    std::vector<int> widths;
    grid->OnResize = [&](core::TObject*) { widths.push_back(grid->Width()); };
    grid->SetWidth(150);
    grid->SetWidth(150);
    grid->SetAlign(TAlign::alClient);
    EXPECT_EQ(widths, (std::vector<int>{150, form->ClientWidth()}));
    grid->SetColWidths(0, 90);
    EXPECT_EQ(grid->ColWidths(0), 90);
    EXPECT_EQ(grid->CellRect(0, 0).width(), 90);
    grid->SetDefaultRowHeight(40);
    EXPECT_EQ(grid->RowHeights(5), 40);
}
