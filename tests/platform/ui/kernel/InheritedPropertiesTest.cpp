// The properties and events every control has from the class library's control
// base: anchors, tab order, the popup menu, hints that follow the parent, and
// dragging a control onto another one with its four events.

#include "tests/platform/ui/FormFixture.h"

#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/ExtCtrls.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/kernel/PopupMenus.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include <algorithm>
#include <string>
#include <vector>

using namespace ui;
using uitest::FormFixture;

namespace {

struct Bounds {
    int left, top, width, height;
    bool operator==(const Bounds&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Bounds& b)
{
    return out << "(" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << ")";
}

Bounds BoundsOf(const TControl* c)
{
    return {c->Left(), c->Top(), c->Width(), c->Height()};
}

Bounds WidgetBounds(const TControl* c)
{
    const QRect r = c->Widget()->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

// --- anchors

struct Anchors : FormFixture {
    TPanel* parent = Make<TPanel>();
    TPanel* Child(int left, int top, int width, int height, TAnchors anchors)
    {
        auto* child = new TPanel(form);
        child->SetParent(parent);
        child->SetBounds(left, top, width, height);
        child->SetAnchors(anchors);
        return child;
    }
    // Grows the parent's client area by dx and dy.
    void Grow(int dx, int dy) { parent->SetBounds(0, 0, parent->Width() + dx, parent->Height() + dy); }
};

TEST_F(Anchors, ControlsKeepTheirDistanceToTheAnchoredEdges)
{
    parent->SetBounds(0, 0, 400, 300);
    TPanel* corner = Child(300, 200, 50, 40, akRight | akBottom);
    TPanel* stretched = Child(10, 10, 380, 20, akLeft | akTop | akRight);
    TPanel* tall = Child(10, 40, 30, 250, akLeft | akTop | akBottom);
    TPanel* still = Child(60, 60, 30, 30, akLeft | akTop);
    TPanel* centred = Child(175, 130, 50, 40, 0);
    EXPECT_EQ(still->Anchors(), akLeft | akTop);

    Grow(100, 50);
    EXPECT_EQ(BoundsOf(corner), (Bounds{400, 250, 50, 40}));
    EXPECT_EQ(BoundsOf(stretched), (Bounds{10, 10, 480, 20}));
    EXPECT_EQ(BoundsOf(tall), (Bounds{10, 40, 30, 300}));
    EXPECT_EQ(BoundsOf(still), (Bounds{60, 60, 30, 30}));
    // Neither edge: the centre keeps its share of the parent (here the middle).
    EXPECT_EQ(BoundsOf(centred), (Bounds{225, 155, 50, 40}));
    // The widgets are where the controls say.
    EXPECT_EQ(WidgetBounds(corner), BoundsOf(corner));
    EXPECT_EQ(WidgetBounds(stretched), BoundsOf(stretched));

    // Back to the first size: back to the first places, nothing drifts.
    Grow(-100, -50);
    EXPECT_EQ(BoundsOf(corner), (Bounds{300, 200, 50, 40}));
    EXPECT_EQ(BoundsOf(stretched), (Bounds{10, 10, 380, 20}));
    EXPECT_EQ(BoundsOf(centred), (Bounds{175, 130, 50, 40}));

    // A parent narrower than the distances leaves a stretched control no width, never less.
    Grow(-395, 0);
    EXPECT_EQ(stretched->Width(), 0);
    Grow(395, 0);
    EXPECT_EQ(BoundsOf(stretched), (Bounds{10, 10, 380, 20}));
}

TEST_F(Anchors, TheDistancesAreThoseOfTheLastPlacing)
{
    parent->SetBounds(0, 0, 400, 300);
    TPanel* corner = Child(300, 200, 50, 40, akRight | akBottom);
    Grow(100, 0);
    EXPECT_EQ(corner->Left(), 400);
    // Placed by the program in the wider parent: 50 from the right edge from now on.
    corner->SetLeft(450);
    Grow(-100, 0);
    EXPECT_EQ(corner->Left(), 350);

    // Anchors set later count from where the control is then.
    TPanel* late = Child(100, 100, 20, 20, akLeft | akTop);
    Grow(40, 0);
    EXPECT_EQ(late->Left(), 100);
    late->SetAnchors(akRight | akTop);
    Grow(-40, 0);
    EXPECT_EQ(late->Left(), 60);
}

TEST_F(Anchors, AnAlignedControlIsPlacedByItsAlignAlone)
{
    parent->SetBounds(0, 0, 400, 300);
    TPanel* top = Child(0, 0, 100, 30, akRight | akBottom);
    top->SetAlign(TAlign::alTop);
    const Bounds before = BoundsOf(top);
    Grow(100, 100);
    EXPECT_EQ(BoundsOf(top), (Bounds{before.left, before.top, before.width + 100, before.height}));
}

TEST_F(Anchors, AControlPlacedBeforeItsParentHadASizeCountsFromTheFirstSize)
{
    auto* empty = Make<TPanel>();
    empty->SetBounds(0, 0, 0, 0);
    auto* child = new TPanel(form);
    child->SetParent(empty);
    child->SetBounds(10, 10, 20, 20);
    child->SetAnchors(akRight | akTop);
    empty->SetBounds(0, 0, 200, 100);
    EXPECT_EQ(child->Left(), 10);
    empty->SetBounds(0, 0, 250, 100);
    EXPECT_EQ(child->Left(), 60);
}

// --- tab order

struct TabOrder : FormFixture {
    TEdit* first = Make<TEdit>();
    TLabel* label = Make<TLabel>();
    TEdit* second = Make<TEdit>();
    TEdit* third = Make<TEdit>();

    void Show()
    {
        form->SetBounds(10, 10, 300, 200);
        first->SetBounds(10, 10, 100, 24);
        second->SetBounds(10, 40, 100, 24);
        third->SetBounds(10, 70, 100, 24);
        form->Show();
        QApplication::setActiveWindow(form->Widget());
    }
    // The edit that Tab moves the focus to from the one that has it.
    static TEdit* AfterTab(TEdit* from, const std::vector<TEdit*>& edits)
    {
        from->SetFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        for (TEdit* edit : edits)
            if (edit->Focused())
                return edit;
        return nullptr;
    }
};

TEST_F(TabOrder, PlacesCountAmongWindowedSiblingsInTheOrderTheyCame)
{
    EXPECT_EQ(first->TabOrder(), 0);
    EXPECT_EQ(second->TabOrder(), 1); // the label takes no place
    EXPECT_EQ(third->TabOrder(), 2);
    third->SetTabOrder(0);
    EXPECT_EQ(third->TabOrder(), 0);
    EXPECT_EQ(first->TabOrder(), 1);
    EXPECT_EQ(second->TabOrder(), 2);
    first->SetTabOrder(7);
    EXPECT_EQ(first->TabOrder(), 2);
    EXPECT_EQ(second->TabOrder(), 1);
    second->SetTabOrder(-1);
    EXPECT_EQ(second->TabOrder(), 2);

    second->SetParent(nullptr);
    EXPECT_EQ(second->TabOrder(), -1);
    EXPECT_EQ(third->TabOrder(), 0);
    EXPECT_EQ(first->TabOrder(), 1);
    second->SetParent(form);
    EXPECT_EQ(second->TabOrder(), 2);
}

TEST_F(TabOrder, TabMovesTheFocusInThatOrder)
{
    Show();
    const std::vector<TEdit*> edits{first, second, third};
    EXPECT_EQ(AfterTab(first, edits), second);
    EXPECT_EQ(AfterTab(second, edits), third);

    third->SetTabOrder(0);
    first->SetTabOrder(2); // third, second, first
    EXPECT_EQ(AfterTab(third, edits), second);
    EXPECT_EQ(AfterTab(second, edits), first);
    EXPECT_EQ(AfterTab(first, edits), third);
}

// --- popup menu

struct PopupMenu : FormFixture {
    TPanel* panel = Make<TPanel>();
    TPopupMenu* menu = new TPopupMenu(form);
    std::vector<std::string> log;
    TPopupMenuHandler previous;

    PopupMenu()
    {
        form->SetBounds(10, 10, 300, 200);
        panel->SetBounds(0, 0, 200, 150);
        menu->Items().push_back(MenuItem(0, "Kopírovat"));
        menu->Items().push_back(MenuSeparator());
        menu->Items().push_back(MenuItem(0, "Vložit"));
        menu->Items()[0].OnClick = [this](core::TObject* sender) {
            log.push_back(std::string("kopírovat") + (sender == menu ? " z menu" : ""));
        };
        menu->Items()[2].OnClick = [this](core::TObject*) { log.push_back("vložit"); };
        menu->OnPopup = [this](core::TObject*) { log.push_back("popup"); };
        // The user picks "Vložit" wherever the menu shows.
        previous = SetPopupMenuHandler([this](const TMenu& shown, TPoint point, HWND) -> UINT {
            log.push_back("shown at " + std::to_string(point.X) + "," + std::to_string(point.Y));
            for (const TMenuItem& item : shown)
                if (item.Caption == "Vložit")
                    return item.Command;
            return 0;
        });
    }
    ~PopupMenu() override { SetPopupMenuHandler(previous); }

    // The context-menu gesture (a right click) at a point of the widget.
    static void Gesture(QWidget* widget, QPoint at)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &event);
    }
};

TEST_F(PopupMenu, TheContextGestureOpensTheControlsMenuAndRunsThePick)
{
    panel->SetPopupMenu(menu);
    EXPECT_EQ(panel->PopupMenu(), menu);
    Gesture(panel->Widget(), QPoint(20, 30));
    const QPoint screen = panel->Widget()->mapToGlobal(QPoint(20, 30));
    EXPECT_EQ(log, (std::vector<std::string>{
                       "popup", "shown at " + std::to_string(screen.x()) + "," + std::to_string(screen.y()), "vložit"}));
    EXPECT_EQ(menu->PopupComponent(), panel);
}

TEST_F(PopupMenu, AChildWithoutAMenuOpensItsParents)
{
    panel->SetPopupMenu(menu);
    auto* inner = new TPanel(form);
    inner->SetParent(panel);
    inner->SetBounds(10, 10, 50, 50);
    Gesture(inner->Widget(), QPoint(5, 5));
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(menu->PopupComponent(), panel);
}

TEST_F(PopupMenu, WithoutAutoPopupOrWithoutAMenuNothingOpens)
{
    Gesture(panel->Widget(), QPoint(5, 5));
    EXPECT_TRUE(log.empty());
    panel->SetPopupMenu(menu);
    menu->SetAutoPopup(false);
    Gesture(panel->Widget(), QPoint(5, 5));
    EXPECT_TRUE(log.empty());
    // Popup itself still shows it.
    menu->Popup(1, 2);
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "shown at 1,2", "vložit"}));
}

TEST_F(PopupMenu, AFreedMenuIsNoLongerTheControls)
{
    panel->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(panel->PopupMenu(), nullptr);
    Gesture(panel->Widget(), QPoint(5, 5));
    EXPECT_TRUE(log.empty());
    menu = nullptr;
}

// --- hints

struct Hints : FormFixture {};

TEST_F(Hints, ShowHintFollowsTheParentUntilItIsSetItself)
{
    auto* panel = Make<TPanel>();
    auto* edit = new TEdit(form);
    edit->SetHint("Pořadové číslo");
    edit->SetParent(panel);
    EXPECT_TRUE(edit->ParentShowHint());
    EXPECT_FALSE(edit->ShowHint());

    panel->SetShowHint(true);
    EXPECT_TRUE(edit->ShowHint());
    EXPECT_EQ(edit->Widget()->toolTip().toStdString(), "Pořadové číslo");
    EXPECT_TRUE(edit->ParentShowHint());

    edit->SetShowHint(false);
    EXPECT_FALSE(edit->ParentShowHint());
    EXPECT_TRUE(edit->Widget()->toolTip().isEmpty());
    panel->SetShowHint(true);
    EXPECT_FALSE(edit->ShowHint());

    edit->SetParentShowHint(true);
    EXPECT_TRUE(edit->ShowHint());
    // A control placed on a parent that shows hints shows them too, down the tree.
    auto* inner = new TPanel(form);
    auto* deep = new TEdit(form);
    deep->SetParent(inner);
    inner->SetParent(panel);
    EXPECT_TRUE(inner->ShowHint());
    EXPECT_TRUE(deep->ShowHint());
    panel->SetShowHint(false);
    EXPECT_FALSE(deep->ShowHint());
}

// --- dragging

struct Dragging : FormFixture {
    TPanel* source = Make<TPanel>();
    TPanel* target = Make<TPanel>();
    TPanel* refusing = Make<TPanel>();
    std::vector<std::string> log;
    bool refuseLeave = false;

    Dragging()
    {
        form->SetBounds(50, 50, 400, 200);
        source->SetBounds(10, 10, 100, 100);
        target->SetBounds(150, 10, 100, 100);
        refusing->SetBounds(280, 10, 100, 100);
        source->SetDragMode(TDragMode::dmAutomatic);
        source->OnStartDrag = [this](core::TObject* sender, TDragObject*& object) {
            log.push_back(std::string("start") + (sender == source ? "" : "?") + (object == nullptr ? "" : "!"));
        };
        source->OnEndDrag = [this](core::TObject* sender, core::TObject* to, int x, int y) {
            log.push_back(std::string("end") + (sender == source ? "" : "?") + (to == target ? " target" : "")
                          + (to == nullptr ? " none" : "") + " " + std::to_string(x) + "," + std::to_string(y));
        };
        target->OnDragOver = [this](core::TObject* sender, core::TObject* from, int x, int y, TDragState state,
                                    bool& accept) {
            static const char* const names[] = {"enter", "leave", "move"};
            log.push_back(std::string("over ") + names[static_cast<int>(state)] + (sender == target ? "" : "?")
                          + " " + std::to_string(x) + "," + std::to_string(y));
            accept = from == source && !(refuseLeave && state == TDragState::dsDragLeave);
        };
        target->OnDragDrop = [this](core::TObject* sender, core::TObject* from, int x, int y) {
            log.push_back(std::string("drop") + (sender == target && from == source ? "" : "?") + " "
                          + std::to_string(x) + "," + std::to_string(y));
        };
        form->Show();
        QApplication::setActiveWindow(form->Widget());
    }
    ~Dragging() override
    {
        if (TControlDrag::Source() != nullptr)
            TControlDrag::End(false);
    }

    // The mouse as the user moves it: the widget pressed on keeps the mouse until the release.
    QPoint Screen(TControl* control, QPoint at) const { return control->Widget()->mapToGlobal(at); }
    void Send(QEvent::Type type, QPoint screen, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QWidget* receiver = source->Widget();
        const QPoint local = receiver->mapFromGlobal(screen);
        QMouseEvent event(type, local, screen, button, held, Qt::NoModifier);
        QApplication::sendEvent(receiver, &event);
    }
    void Press(TControl* on, QPoint at) { Send(QEvent::MouseButtonPress, Screen(on, at), Qt::LeftButton, Qt::LeftButton); }
    void Move(TControl* on, QPoint at) { Send(QEvent::MouseMove, Screen(on, at), Qt::NoButton, Qt::LeftButton); }
    void Release(TControl* on, QPoint at) { Send(QEvent::MouseButtonRelease, Screen(on, at), Qt::LeftButton, Qt::NoButton); }
    static Qt::CursorShape Pointer()
    {
        return QApplication::overrideCursor() != nullptr ? QApplication::overrideCursor()->shape() : Qt::BitmapCursor;
    }
};

TEST_F(Dragging, AnAutomaticDragRunsItsFourEventsInTheLibrarysOrder)
{
    EXPECT_EQ(source->DragCursor(), TCursor::crDrag);
    Press(source, {20, 20});
    Move(source, {23, 22}); // within the threshold: no drag yet
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(source->Dragging());

    Move(target, {30, 40});
    EXPECT_TRUE(source->Dragging());
    EXPECT_EQ(Pointer(), Qt::DragMoveCursor);
    Move(target, {31, 41});
    Move(refusing, {5, 5});
    EXPECT_EQ(Pointer(), Qt::ForbiddenCursor);
    Move(target, {60, 70});
    Release(target, {60, 70});
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Leaving for the control beside it, the target hears where the mouse went, in its own pixels.
    EXPECT_EQ(log, (std::vector<std::string>{"start", "over enter 30,40", "over move 30,40", "over move 31,41",
                                             "over leave 135,5", "over enter 60,70", "over move 60,70",
                                             "over move 60,70", "over leave 60,70", "drop 60,70",
                                             "end target 60,70"}));
}

TEST_F(Dragging, ADropThatIsNotTakenEndsWithoutATarget)
{
    Press(source, {20, 20});
    Move(refusing, {10, 10});
    Release(refusing, {10, 10});
    EXPECT_EQ(log, (std::vector<std::string>{"start", "end none 0,0"}));

    // The target says no at the last question: no drop.
    log.clear();
    refuseLeave = true;
    Press(source, {20, 20});
    Move(target, {10, 10});
    Release(target, {10, 10});
    EXPECT_EQ(log, (std::vector<std::string>{"start", "over enter 10,10", "over move 10,10", "over move 10,10",
                                             "over leave 10,10", "end none 0,0"}));
}

TEST_F(Dragging, EscEndsTheDragWithoutADrop)
{
    Press(source, {20, 20});
    Move(target, {10, 10});
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(source->Widget(), &escape);
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(log.back(), "end none 0,0");
    EXPECT_EQ(std::count(log.begin(), log.end(), std::string("drop 10,10")), 0);
    // The mouse's release afterwards is an ordinary one.
    Release(target, {10, 10});
    EXPECT_EQ(log.back(), "end none 0,0");
}

TEST_F(Dragging, APressWithoutAMoveIsNoDragAndAManualControlNeedsBeginDrag)
{
    Press(source, {20, 20});
    Release(source, {20, 20});
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(TControlDrag::Source(), nullptr);

    source->SetDragMode(TDragMode::dmManual);
    Press(source, {20, 20});
    Move(target, {10, 10});
    Release(target, {10, 10});
    EXPECT_TRUE(log.empty());

    source->BeginDrag(true);
    EXPECT_TRUE(source->Dragging());
    EXPECT_EQ(log.front(), "start");
    Move(target, {15, 15});
    Release(target, {15, 15});
    EXPECT_EQ(log.back(), "end target 15,15");
}

TEST_F(Dragging, AControlFreedDuringTheDragLeavesIt)
{
    Press(source, {20, 20});
    Move(target, {10, 10});
    delete target;
    target = nullptr;
    Move(refusing, {10, 10});
    delete source;
    source = nullptr;
    EXPECT_EQ(TControlDrag::Source(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
