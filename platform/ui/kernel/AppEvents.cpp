#include "platform/ui/kernel/AppEvents.h"

namespace ui {

TApplicationEvents::TApplicationEvents(core::TComponent* owner) : core::TComponent(owner)
{
    if (Application != nullptr)
        Application->AddEvents(this);
}

TApplicationEvents::~TApplicationEvents()
{
    if (Application != nullptr)
        Application->RemoveEvents(this);
}

bool TApplicationEvents::DoMessage(TMsg& msg, bool& handled)
{
    cancelled_ = false;
    if (OnMessage && !HasState(core::csDestroying))
        OnMessage(msg, handled);
    return cancelled_;
}

} // namespace ui
