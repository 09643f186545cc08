#pragma once
// Qt events and window messages, both ways. The application's message loop
// and the window procedures of controls see screen input as messages; a
// message that a handler changed goes back to Qt as the event it now names.

#include "platform/ui/kernel/Messages.h"

#include <memory>
#include <optional>

class QEvent;
class QObject;

namespace ui {

// The virtual key code of a Qt key, 0 when there is none.
WORD VirtualKeyFromQt(int qtKey);
// The Qt key of a virtual key code, 0 when there is none.
int QtKeyFromVirtualKey(WORD key);

// The message that a Qt event delivered to receiver stands for, if any:
// key presses and releases, wheel turns. A wheel message is addressed to the
// window with the keyboard focus, as the platform addresses it.
std::optional<TMsg> MessageFromEvent(QObject* receiver, QEvent* event);

// The Qt event that a message stands for, or null when it names nothing Qt knows.
std::unique_ptr<QEvent> EventFromMessage(const TMsg& message);

// Same message, window and parameters.
bool SameMessage(const TMsg& a, const TMsg& b);

// While one lives, Qt events sent on behalf of a message that was already
// taken (a changed message going to its window, a message a window procedure
// passed on) are not taken as new messages again.
class TRedelivery {
public:
    TRedelivery() { ++depth_; }
    ~TRedelivery() { --depth_; }
    TRedelivery(const TRedelivery&) = delete;
    TRedelivery& operator=(const TRedelivery&) = delete;
    static bool Active() { return depth_ > 0; }

private:
    static inline int depth_ = 0;
};

} // namespace ui
