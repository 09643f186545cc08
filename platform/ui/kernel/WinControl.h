#pragma once
// A windowed control: a control that holds other controls, takes the focus
// and has a window procedure.
//
// Screen input that reaches the widget (keys, wheel) goes through WindowProc
// as a message before Qt handles it. WindowProc may be replaced; the new
// procedure keeps the previous one and calls it for what it leaves alone:
//
//     auto previous = grid->WindowProc;
//     grid->WindowProc = [previous](TMessage& m) { if (m.Msg != WM_DROPFILES) previous(m); ... };
//
// A message that reaches the default handling goes on to Qt (changed, if a
// procedure changed it); one that a procedure swallows goes nowhere.

#include "platform/ui/kernel/Control.h"
#include "platform/ui/kernel/Messages.h"

#include <vector>

class QRect;

namespace ui {

class TWinControl : public TControl {
public:
    explicit TWinControl(core::TComponent* owner);
    ~TWinControl() override;

    std::string ClassName() const override { return "TWinControl"; }

    TWndMethod WindowProc;
    // Sends a message straight to the window procedure and returns its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    HWND Handle() const { return Widget(); }
    // The windowed control that a window belongs to (the window itself or its nearest parent).
    static TWinControl* FindControl(HWND window);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;
    bool ContainsControl(const TControl* control) const;
    // Lays out the aligned child controls again.
    void Realign();
    // The widget in which child controls are placed.
    virtual QWidget* ClientWidget() const { return Widget(); }
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientWidth(int width);
    void SetClientHeight(int height);

    bool CanFocus() const;
    bool Focused() const;
    // Gives the control the keyboard focus; a control that cannot take it is left alone.
    virtual void SetFocus();
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);
    // The control's place in the order in which Tab moves the focus among its
    // windowed siblings, from 0; -1 without a parent. A new control comes last.
    int TabOrder() const;
    // Moves it to that place, the others closing up behind it; a place beyond
    // the last (or below 0) puts it last.
    void SetTabOrder(int order);

    core::TNotifyEvent OnEnter;
    core::TNotifyEvent OnExit;

protected:
    virtual void WndProc(TMessage& message);
    // The platform's own handling of a message: one that came from the screen
    // goes on to Qt; one sent by Perform reaches the widget as the Qt event it names.
    void DefaultHandler(TMessage& message);
    virtual void DoEnter();
    virtual void DoExit();
    bool WidgetEvent(QWidget* source, QEvent* event) override;
    virtual void InsertControl(TControl* control);
    virtual void RemoveControl(TControl* control);
    // Places the aligned children inside rect, narrowing it as they take their room.
    virtual void AlignControls(QRect& rect);
    // Hidden widgets hear of their new size only when shown: realign at once.
    void BoundsChanged() override { Realign(); }

    // The child controls, in the order they were placed.
    std::vector<TControl*> controls_;
    // The windowed child controls in their tab order.
    std::vector<TWinControl*> tabList_;

private:
    friend class TControl;
    struct Dispatch;

    bool DispatchScreenMessage(QWidget* source, QEvent* event);
    // Gives Qt's focus chain the order of the tab list.
    void ApplyTabOrder();
    void Redeliver(QWidget* target, const TMessage& message);

    Dispatch* dispatch_ = nullptr;
    bool redelivering_ = false;
    bool tabStop_ = true;
};

} // namespace ui
