#pragma once
// Mouse and key events of controls as the class library hands them to the
// program: the button, the state of the shift keys and mouse buttons, and the
// position in the control's own pixels.

#include "platform/core/Component.h"
#include "platform/ui/kernel/Messages.h"

#include <functional>

namespace ui {

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

using TMouseEvent =
    std::function<void(core::TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(core::TObject* sender, TShiftState shift, int x, int y)>;
// Key is a virtual key code; a handler that sets it to 0 takes the key.
using TKeyEvent = std::function<void(core::TObject* sender, WORD& key, TShiftState shift)>;

// The shift state of Qt's keyboard modifiers and mouse buttons.
TShiftState ShiftStateFromQt(int keyboardModifiers, int mouseButtons);

} // namespace ui
