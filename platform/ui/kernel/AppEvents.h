#pragma once
// A component that hears the application's messages and exceptions. Any
// number of them may exist; each hears every message, the last created first,
// so handlers added later (a browser control's) chain with earlier ones
// instead of replacing them.

#include "platform/ui/kernel/Application.h"

namespace ui {

class TApplicationEvents : public core::TComponent {
public:
    explicit TApplicationEvents(core::TComponent* owner);
    ~TApplicationEvents() override;

    std::string ClassName() const override { return "TApplicationEvents"; }

    // Stops the message now being offered from reaching the handlers after this one.
    void CancelDispatch() { cancelled_ = true; }

    TMessageEvent OnMessage;

private:
    friend class TApplication;
    // Runs OnMessage; true when the handler cancelled the dispatch.
    bool DoMessage(TMsg& msg, bool& handled);

    bool cancelled_ = false;
};

} // namespace ui
