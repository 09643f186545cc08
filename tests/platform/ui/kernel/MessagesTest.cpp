#include "platform/ui/controls/Edits.h"
#include "platform/ui/kernel/AppEvents.h"
#include "platform/ui/kernel/MessageTranslation.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

using namespace ui;

namespace {

// A shown form with one edit that has the focus.
struct EditOnForm {
    TForm* form = CreateComponent<TForm>(nullptr);
    TEdit* edit = new TEdit(form);

    EditOnForm()
    {
        form->SetBounds(10, 10, 200, 100);
        edit->SetParent(form);
        form->Show();
        QApplication::setActiveWindow(form->Widget());
        edit->SetFocus();
    }
    ~EditOnForm() { FreeComponent(form); }
    QLineEdit* line() const { return static_cast<QLineEdit*>(edit->Widget()); }
};

void Wheel(QWidget* target, int delta)
{
    QPointF at(5, 5);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST(MessageTranslation, KeysMapBothWays)
{
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Up), VK_UP);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Down), VK_DOWN);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Return), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Enter), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_A), 'A');
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F5), VK_F1 + 4);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_unknown), 0);
    EXPECT_EQ(QtKeyFromVirtualKey(VK_UP), Qt::Key_Up);
    EXPECT_EQ(QtKeyFromVirtualKey(VK_RETURN), Qt::Key_Return);
    EXPECT_EQ(QtKeyFromVirtualKey('7'), Qt::Key_7);
    EXPECT_EQ(QtKeyFromVirtualKey(0xFF), 0);
}

TEST(MessageTranslation, WheelCarriesSignedDistanceInTheUpperWord)
{
    EditOnForm f;
    QPointF at(5, 5);
    QWheelEvent down(at, at, QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
    auto msg = MessageFromEvent(f.edit->Widget(), &down);
    ASSERT_TRUE(msg.has_value());
    EXPECT_EQ(msg->message, WM_MOUSEWHEEL);
    EXPECT_EQ(WheelDelta(msg->wParam), -120);
    EXPECT_EQ(LoWord(msg->wParam), MK_SHIFT);
    // Addressed to the window with the focus.
    EXPECT_EQ(msg->hwnd, f.edit->Widget());

    auto event = EventFromMessage(*msg);
    ASSERT_NE(event, nullptr);
    ASSERT_EQ(event->type(), QEvent::Wheel);
    EXPECT_EQ(static_cast<QWheelEvent*>(event.get())->angleDelta().y(), -120);
}

TEST(WindowProc, ReplacedProcedureSeesKeysAndMaySwallowThem)
{
    EditOnForm f;
    std::vector<UINT> seen;
    TWndMethod previous = f.edit->WindowProc;
    f.edit->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_KEYDOWN && m.WParam == 'X')
            return; // swallowed: the edit never gets it
        previous(m);
    };
    QTest::keyClick(f.edit->Widget(), Qt::Key_X);
    QTest::keyClick(f.edit->Widget(), Qt::Key_Y);
    EXPECT_EQ(f.edit->Text(), "y");
    EXPECT_EQ(seen, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN, WM_KEYUP}));
}

TEST(WindowProc, MessageChangedOnTheWayReachesQtChanged)
{
    EditOnForm f;
    f.edit->SetText("abc");
    f.line()->setCursorPosition(1);
    TWndMethod previous = f.edit->WindowProc;
    f.edit->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_KEYDOWN && m.WParam == VK_RIGHT)
            m.WParam = VK_LEFT;
        previous(m);
    };
    QTest::keyClick(f.edit->Widget(), Qt::Key_Right);
    EXPECT_EQ(f.line()->cursorPosition(), 0);
}

TEST(WindowProc, PerformDeliversToTheWidget)
{
    EditOnForm f;
    f.edit->SetText("abc");
    f.line()->setCursorPosition(0);
    f.edit->Perform(WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(f.line()->cursorPosition(), 3);
    // A message the platform has no meaning for is simply answered.
    EXPECT_EQ(f.edit->Perform(WM_USER + 7, 1, 2), 0);
}

TEST(ApplicationMessages, HandlersSeeWheelAndKeysOnceAsMessages)
{
    EditOnForm f;
    std::vector<TMsg> seen;
    TApplicationEvents events(nullptr);
    events.OnMessage = [&](TMsg& msg, bool&) { seen.push_back(msg); };
    QTest::keyClick(f.edit->Widget(), Qt::Key_Q);
    Wheel(f.edit->Widget(), 120);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].message, WM_KEYDOWN);
    EXPECT_EQ(seen[0].wParam, WPARAM('Q'));
    EXPECT_EQ(seen[0].hwnd, f.edit->Widget());
    EXPECT_EQ(seen[1].message, WM_KEYUP);
    EXPECT_EQ(seen[2].message, WM_MOUSEWHEEL);
    EXPECT_EQ(WheelDelta(seen[2].wParam), 120);
    EXPECT_EQ(f.edit->Text(), "q");
}

TEST(ApplicationMessages, ChangedMessageGoesToItsWindowAsTheNewMessage)
{
    EditOnForm f;
    f.edit->SetText("abc");
    f.line()->setCursorPosition(3);
    TApplicationEvents events(nullptr);
    events.OnMessage = [](TMsg& msg, bool&) {
        if (msg.message == WM_MOUSEWHEEL) {
            msg.message = WM_KEYDOWN;
            msg.wParam = WheelDelta(msg.wParam) > 0 ? VK_HOME : VK_END;
            msg.lParam = 0;
        }
    };
    // The edit's own window procedure sees the changed message, once.
    std::vector<WPARAM> keys;
    TWndMethod previous = f.edit->WindowProc;
    f.edit->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_KEYDOWN)
            keys.push_back(m.WParam);
        previous(m);
    };
    Wheel(f.edit->Widget(), 120);
    EXPECT_EQ(f.line()->cursorPosition(), 0);
    EXPECT_EQ(keys, (std::vector<WPARAM>{VK_HOME}));
}

TEST(ApplicationMessages, HandledMessageGoesNowhereAndEveryHandlerHearsIt)
{
    EditOnForm f;
    int first = 0;
    int second = 0;
    auto saved = Application->OnMessage;
    Application->OnMessage = [&](TMsg& msg, bool& handled) {
        ++first;
        handled = msg.message == WM_KEYDOWN;
    };
    TApplicationEvents events(nullptr);
    events.OnMessage = [&](TMsg&, bool&) { ++second; };
    QTest::keyClick(f.edit->Widget(), Qt::Key_Z);
    Application->OnMessage = saved;
    EXPECT_EQ(f.edit->Text(), "");
    // Down and up: the application's own handler does not replace the components'.
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 2);
}
