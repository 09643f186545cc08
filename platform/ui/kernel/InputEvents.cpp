#include "platform/ui/kernel/InputEvents.h"

#include <Qt>

namespace ui {

TShiftState ShiftStateFromQt(int keyboardModifiers, int mouseButtons)
{
    TShiftState state = 0;
    if ((keyboardModifiers & Qt::ShiftModifier) != 0)
        state |= ssShift;
    if ((keyboardModifiers & Qt::AltModifier) != 0)
        state |= ssAlt;
    if ((keyboardModifiers & Qt::ControlModifier) != 0)
        state |= ssCtrl;
    if ((mouseButtons & Qt::LeftButton) != 0)
        state |= ssLeft;
    if ((mouseButtons & Qt::RightButton) != 0)
        state |= ssRight;
    if ((mouseButtons & Qt::MiddleButton) != 0)
        state |= ssMiddle;
    return state;
}

} // namespace ui
