#include "platform/ui/kernel/MessageTranslation.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

#include <array>
#include <utility>

namespace ui {
namespace {

// Keys whose codes differ between the two worlds; letters and digits share theirs.
constexpr std::array<std::pair<int, WORD>, 23> kKeys{{
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},        {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},     {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},         {Qt::Key_Home, VK_HOME},       {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},   {Qt::Key_Delete, VK_DELETE},   {Qt::Key_Print, 0x2C},
    {Qt::Key_Pause, 0x13},         {Qt::Key_CapsLock, 0x14},
}};

WORD MouseKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    WORD state = 0;
    if (buttons & Qt::LeftButton)
        state |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        state |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        state |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        state |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        state |= MK_CONTROL;
    return state;
}

Qt::KeyboardModifiers ModifiersFromKeyState(WORD state)
{
    Qt::KeyboardModifiers modifiers;
    if (state & MK_SHIFT)
        modifiers |= Qt::ShiftModifier;
    if (state & MK_CONTROL)
        modifiers |= Qt::ControlModifier;
    return modifiers;
}

Qt::MouseButtons ButtonsFromKeyState(WORD state)
{
    Qt::MouseButtons buttons;
    if (state & MK_LBUTTON)
        buttons |= Qt::LeftButton;
    if (state & MK_RBUTTON)
        buttons |= Qt::RightButton;
    if (state & MK_MBUTTON)
        buttons |= Qt::MiddleButton;
    return buttons;
}

} // namespace

WORD VirtualKeyFromQt(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<WORD>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<WORD>(VK_F1 + (qtKey - Qt::Key_F1));
    for (const auto& [qt, vk] : kKeys)
        if (qt == qtKey)
            return vk;
    return 0;
}

int QtKeyFromVirtualKey(WORD key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return key;
    if (key >= VK_F1 && key < VK_F1 + 24)
        return Qt::Key_F1 + (key - VK_F1);
    for (const auto& [qt, vk] : kKeys)
        if (vk == key)
            return qt; // the first Qt key listed for a code is its usual one
    return 0;
}

std::optional<TMsg> MessageFromEvent(QObject* receiver, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (widget == nullptr)
        return std::nullopt;
    TMsg msg;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        WORD vk = VirtualKeyFromQt(key->key());
        if (vk == 0)
            return std::nullopt;
        bool press = event->type() == QEvent::KeyPress;
        msg.hwnd = widget;
        msg.message = press ? WM_KEYDOWN : WM_KEYUP;
        msg.wParam = vk;
        // Repeat count 1; bit 30 the previous key state, bit 31 the transition.
        DWORD flags = 1;
        if (key->isAutoRepeat() || !press)
            flags |= 1u << 30;
        if (!press)
            flags |= 1u << 31;
        msg.lParam = static_cast<LPARAM>(static_cast<std::int32_t>(flags));
        msg.time = static_cast<DWORD>(key->timestamp());
        QPoint cursor = QCursor::pos();
        msg.pt = {cursor.x(), cursor.y()};
        return msg;
    }
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        int delta = wheel->angleDelta().y();
        if (delta == 0)
            return std::nullopt;
        QWidget* focus = QApplication::focusWidget();
        msg.hwnd = focus != nullptr ? focus : widget;
        msg.message = WM_MOUSEWHEEL;
        QPoint global = wheel->globalPosition().toPoint();
        msg.wParam = MakeWParam(MouseKeyState(wheel->buttons(), wheel->modifiers()),
                                static_cast<WORD>(static_cast<std::int16_t>(delta)));
        msg.lParam = MakeLParam(static_cast<WORD>(global.x()), static_cast<WORD>(global.y()));
        msg.time = static_cast<DWORD>(wheel->timestamp());
        msg.pt = {global.x(), global.y()};
        return msg;
    }
    default:
        return std::nullopt;
    }
}

std::unique_ptr<QEvent> EventFromMessage(const TMsg& message)
{
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
        int key = QtKeyFromVirtualKey(static_cast<WORD>(message.wParam));
        if (key == 0)
            return nullptr;
        bool autoRepeat = message.message == WM_KEYDOWN && (message.lParam & (1 << 30)) != 0;
        return std::make_unique<QKeyEvent>(
            message.message == WM_KEYDOWN ? QEvent::KeyPress : QEvent::KeyRelease, key,
            QGuiApplication::keyboardModifiers(), QString(), autoRepeat);
    }
    case WM_CHAR: {
        QString text(QChar(static_cast<char16_t>(message.wParam)));
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_unknown,
                                           QGuiApplication::keyboardModifiers(), text);
    }
    case WM_MOUSEWHEEL: {
        QPointF global(static_cast<std::int16_t>(LoWord(static_cast<std::uintptr_t>(message.lParam))),
                       static_cast<std::int16_t>(HiWord(static_cast<std::uintptr_t>(message.lParam))));
        QPointF local = global;
        if (message.hwnd != nullptr)
            local = message.hwnd->mapFromGlobal(global);
        WORD state = LoWord(message.wParam);
        return std::make_unique<QWheelEvent>(local, global, QPoint(), QPoint(0, WheelDelta(message.wParam)),
                                             ButtonsFromKeyState(state), ModifiersFromKeyState(state),
                                             Qt::NoScrollPhase, false);
    }
    default:
        return nullptr;
    }
}

bool SameMessage(const TMsg& a, const TMsg& b)
{
    return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam;
}

} // namespace ui
