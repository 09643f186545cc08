// Tool bars, status bars, splitters and painted controls: layout, check
// groups, pictures, panel texts, dragging and the mouse events.
#include "platform/core/Exceptions.h"
#include "platform/ui/controls/ImgList.h"
#include "platform/ui/controls/Splitter.h"
#include "platform/ui/controls/StatusBar.h"
#include "platform/ui/controls/ToolBar.h"
#include "platform/ui/kernel/Forms.h"
#include "platform/ui/kernel/GraphicControl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QToolButton>

using namespace ui;

namespace {

struct Bars : testing::Test {
    TForm* form = CreateComponent<TForm>(nullptr);
    Bars() { form->SetBounds(0, 0, 400, 300); }
    ~Bars() override { FreeComponent(form); }
    template <class T>
    T* Make(TWinControl* parent = nullptr)
    {
        auto* control = new T(form);
        control->SetParent(parent != nullptr ? parent : form);
        return control;
    }
    TToolButton* Button(TToolBar* bar, TToolButtonStyle style, bool grouped = false)
    {
        auto* button = Make<TToolButton>(bar);
        button->SetStyle(style);
        button->SetGrouped(grouped);
        return button;
    }
};

// Paints a cross and records the mouse.
class Pad : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    std::vector<std::string> Seen;

protected:
    void Paint(QPainter& painter) override
    {
        painter.fillRect(0, 0, Width(), Height(), Qt::white);
        painter.fillRect(0, 0, 5, 5, Qt::black);
    }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override
    {
        Seen.push_back("down " + std::to_string(x) + "," + std::to_string(y) +
                       ((shift & ssCtrl) != 0 ? " ctrl" : "") + (button == TMouseButton::mbRight ? " right" : ""));
        TGraphicControl::MouseDown(button, shift, x, y);
    }
};

} // namespace

TEST_F(Bars, ToolBarPlacesButtonsSeparatorsAndOtherControlsInARow)
{
    auto* bar = Make<TToolBar>();
    bar->SetAutoSize(true);
    auto* a = Button(bar, TToolButtonStyle::tbsButton);
    auto* gap = Button(bar, TToolButtonStyle::tbsSeparator);
    auto* b = Button(bar, TToolButtonStyle::tbsButton);
    auto* other = new TGraphicControl(form);
    other->SetBounds(0, 0, 40, 22);
    other->SetParent(bar);
    EXPECT_EQ(a->Left(), 0);
    EXPECT_EQ(a->Width(), 23);
    EXPECT_EQ(gap->Left(), 23);
    EXPECT_EQ(gap->Width(), 8);
    EXPECT_EQ(b->Left(), 31);
    EXPECT_EQ(other->Left(), 54);
    EXPECT_EQ(other->Width(), 40);
    EXPECT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(bar->Buttons(2), b);
    EXPECT_THROW(bar->Buttons(3), core::EListError);
    // Aligned to the top, as tall as its buttons, across the form.
    EXPECT_EQ(bar->Top(), 0);
    EXPECT_EQ(bar->Width(), form->ClientWidth());
    EXPECT_EQ(bar->ClientHeight(), 22);
}

TEST_F(Bars, GroupedCheckButtonsKeepOneDownAndSeparatorsEndTheGroup)
{
    auto* bar = Make<TToolBar>();
    auto* fit = Button(bar, TToolButtonStyle::tbsCheck, true);
    auto* width = Button(bar, TToolButtonStyle::tbsCheck, true);
    auto* full = Button(bar, TToolButtonStyle::tbsCheck, true);
    Button(bar, TToolButtonStyle::tbsSeparator);
    auto* apart = Button(bar, TToolButtonStyle::tbsCheck, true);
    int clicks = 0;
    width->OnClick = [&](core::TObject*) { ++clicks; };

    fit->SetDown(true);
    apart->SetDown(true);
    QTest::mouseClick(width->Widget(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(fit->Down());
    EXPECT_TRUE(width->Down());
    EXPECT_FALSE(full->Down());
    EXPECT_TRUE(apart->Down());
    // Clicking the button that is down leaves it down.
    QTest::mouseClick(width->Widget(), Qt::LeftButton);
    EXPECT_TRUE(width->Down());
    EXPECT_TRUE(static_cast<QToolButton*>(width->Widget())->isChecked());
    EXPECT_EQ(clicks, 2);

    // A lone check button goes up and down; a disabled one does nothing.
    auto* lone = Button(bar, TToolButtonStyle::tbsCheck);
    lone->Click();
    EXPECT_TRUE(lone->Down());
    lone->Click();
    EXPECT_FALSE(lone->Down());
    lone->SetEnabled(false);
    lone->Click();
    EXPECT_FALSE(lone->Down());
}

TEST_F(Bars, ToolButtonsShowThePicturesOfTheBarsImageList)
{
    auto* images = new TImageList(form);
    QPixmap red(16, 16);
    red.fill(Qt::red);
    images->Add(red);
    auto* bar = Make<TToolBar>();
    auto* button = Button(bar, TToolButtonStyle::tbsButton);
    button->SetCaption("Tisk");
    button->SetImageIndex(0);
    auto* qt = static_cast<QToolButton*>(button->Widget());
    EXPECT_TRUE(qt->icon().isNull());
    EXPECT_EQ(qt->toolButtonStyle(), Qt::ToolButtonTextOnly);
    bar->SetImages(images);
    EXPECT_FALSE(qt->icon().isNull());
    EXPECT_EQ(qt->toolButtonStyle(), Qt::ToolButtonIconOnly);
    // The bar hears when its image list goes.
    delete images;
    EXPECT_EQ(bar->Images(), nullptr);
    EXPECT_TRUE(qt->icon().isNull());
    button->SetHint("Tisk sestavy");
    EXPECT_EQ(qt->toolTip().toStdString(), "Tisk sestavy");
}

TEST_F(Bars, StatusBarPanelsSitSideBySideAtTheBottom)
{
    auto* bar = Make<TStatusBar>();
    TStatusPanel& progress = bar->Panels().Add();
    progress.SetWidth(40);
    progress.SetAlignment(TAlignment::taRightJustify);
    TStatusPanel& page = bar->Panels().Add();
    page.SetWidth(120);
    bar->Panels().Add().SetText("Přehled");
    page.SetText("Strana 1 z 2");
    EXPECT_EQ(bar->Panels().Count(), 3);
    EXPECT_EQ(bar->Panels()[1].Text(), "Strana 1 z 2");
    EXPECT_EQ(bar->Panels()[0].Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(bar->PanelLeft(0), 0);
    EXPECT_EQ(bar->PanelLeft(2), 160);
    EXPECT_THROW(bar->Panels()[3], core::EListError);
    EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());
    EXPECT_EQ(bar->Height(), 19);
    // It paints without a fault, texts and all.
    QImage image(bar->Width(), bar->Height(), QImage::Format_ARGB32);
    bar->Widget()->render(&image);
    bar->Panels().Clear();
    EXPECT_EQ(bar->Panels().Count(), 0);
}

TEST_F(Bars, SplitterResizesTheControlBeforeItWithinTheMinimum)
{
    auto* left = Make<TGraphicControl>();
    left->SetWidth(193);
    left->SetAlign(TAlign::alLeft);
    auto* splitter = Make<TSplitter>();
    splitter->SetLeft(200);
    auto* rest = Make<TGraphicControl>();
    rest->SetAlign(TAlign::alClient);
    EXPECT_EQ(splitter->Left(), 193);
    EXPECT_EQ(splitter->ResizedControl(), left);
    splitter->MoveBy(20);
    EXPECT_EQ(left->Width(), 213);
    EXPECT_EQ(splitter->Left(), 213);
    EXPECT_EQ(rest->Left(), 216);
    splitter->MoveBy(-500);
    EXPECT_EQ(left->Width(), 30);
    // A drag with the mouse does the same.
    QTest::mousePress(splitter->Widget(), Qt::LeftButton, {}, QPoint(1, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(11, 10), QPointF(), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(splitter->Widget(), &move);
    QTest::mouseRelease(splitter->Widget(), Qt::LeftButton, {}, QPoint(11, 10));
    EXPECT_EQ(left->Width(), 40);
    EXPECT_EQ(splitter->Widget()->cursor().shape(), Qt::SplitHCursor);
}

TEST_F(Bars, GraphicControlPaintsAndHearsTheMouse)
{
    auto* pad = Make<Pad>();
    pad->SetBounds(10, 10, 50, 40);
    int clicks = 0;
    int doubles = 0;
    std::vector<std::string> moves;
    pad->OnClick = [&](core::TObject*) { ++clicks; };
    pad->OnDblClick = [&](core::TObject*) { ++doubles; };
    pad->OnMouseMove = [&](core::TObject*, TShiftState, int x, int y) {
        moves.push_back(std::to_string(x) + "," + std::to_string(y));
    };
    QTest::mouseClick(pad->Widget(), Qt::LeftButton, Qt::ControlModifier, QPoint(7, 8));
    QTest::mouseClick(pad->Widget(), Qt::RightButton, {}, QPoint(3, 4));
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 21), QPointF(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pad->Widget(), &move);
    // A double click as the screen sends it: a click, then the second press.
    QTest::mouseClick(pad->Widget(), Qt::LeftButton, {}, QPoint(1, 1));
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(1, 1), QPointF(), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(pad->Widget(), &second);
    QTest::mouseRelease(pad->Widget(), Qt::LeftButton, {}, QPoint(1, 1));
    // The right button is no click, nor is the second press of a double click.
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(pad->Seen, (std::vector<std::string>{"down 7,8 ctrl", "down 3,4 right", "down 1,1", "down 1,1"}));
    EXPECT_EQ(moves, (std::vector<std::string>{"20,21"}));

    QImage image(50, 40, QImage::Format_RGB32);
    pad->Widget()->render(&image);
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(30, 30), QColor(Qt::white));
}
