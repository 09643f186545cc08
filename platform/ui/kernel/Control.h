#pragma once
// A visual component: a component with a Qt widget placed in a parent control.
//
// Two trees meet here. The owner (the component tree) decides when a control
// and its widget are freed; the parent only decides where the widget is shown.
// A control holds its widget through a QPointer and deletes it when freed; if
// Qt deleted the widget first (its parent widget went), the pointer is null and
// nothing is deleted twice. A parent control that goes away hands its child
// widgets back (unparented and hidden) instead of letting Qt delete them.

#include "platform/core/Component.h"
#include "platform/ui/kernel/ControlDrag.h"
#include "platform/ui/kernel/Graphics.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <string>

class QEvent;
class QObject;

namespace ui {

class TPopupMenu;
class TWinControl;

// The least size a control takes, whoever sizes it: the program or, for a
// window, the user (0: no limit).
struct TSizeConstraints {
    int MinWidth = 0;
    int MinHeight = 0;
};

class TControl : public core::TComponent {
public:
    explicit TControl(core::TComponent* owner);
    ~TControl() override;

    std::string ClassName() const override { return "TControl"; }
    // The widget carries the same object name.
    void SetName(const std::string& name) override;

    // The widget that shows this control; null once Qt has deleted it.
    QWidget* Widget() const { return widget_.data(); }
    // The control a widget belongs to: the widget's own, or the nearest one up its parents.
    static TControl* FromWidget(const QWidget* widget);

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    virtual void SetBounds(int left, int top, int width, int height);
    virtual int ClientWidth() const { return width_; }
    virtual int ClientHeight() const { return height_; }
    const TSizeConstraints& Constraints() const { return constraints_; }
    // Grows the control to the new least size where it is smaller.
    void SetConstraints(const TSizeConstraints& constraints);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    // The edges of the parent the control keeps its distance to while the parent
    // is resized (a control with an Align is placed by that instead). The distances
    // are those the control had when it was last placed or anchored.
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Shown on screen: visible itself and all its parents.
    bool Showing() const;

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // Text is the same property under the name edit-like controls use.
    virtual std::string Text() const { return caption_; }
    virtual void SetText(const std::string& text) { SetCaption(text); }

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    // True while the control takes its parent's font.
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);

    TColor Color() const { return color_; }
    void SetColor(TColor color);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    // Setting it ends ParentShowHint; a windowed control hands it on to its
    // children that follow it.
    void SetShowHint(bool showHint);
    // True while ShowHint follows the parent's.
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool parentShowHint);

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

    // Brings the widget in front of its siblings.
    void BringToFront();
    void Invalidate();

    // Runs OnClick; controls call it when the user clicks them.
    virtual void Click();
    core::TNotifyEvent OnClick;

    // The menu that the context-menu gesture over the control opens (when its
    // AutoPopup is on); without one the control's own reaction, if any, stays.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

    // Dragging the control onto another one (ControlDrag.h). Automatic: a press
    // with the left button and a move start the drag; manual: BeginDrag does.
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode mode) { dragMode_ = mode; }
    // The pointer over a control that takes the drop.
    TCursor DragCursor() const { return dragCursor_; }
    void SetDragCursor(TCursor cursor) { dragCursor_ = cursor; }
    // Starts a drag of the control at the mouse: at once, or once the mouse has
    // moved threshold pixels (below 0: DragThreshold) with the button held.
    void BeginDrag(bool immediate, int threshold = -1);
    // True while this control is dragged.
    bool Dragging() const;
    TStartDragEvent OnStartDrag;
    // Accept starts true when a handler is assigned; without one nothing is taken.
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

protected:
    // Derived constructors hand over the widget they made; the control owns it from now on.
    void SetWidget(QWidget* widget);
    // The control's own reaction to an event of its widget; true swallows the event.
    virtual bool WidgetEvent(QWidget* source, QEvent* event);
    // Sends the events of an inner widget (a viewport, an inner editor) to WidgetEvent too.
    void WatchWidget(QWidget* inner);
    // Called when the caption changed; the control shows the new text.
    virtual void CaptionChanged() {}
    virtual void ColorChanged();
    virtual void FontChanged();
    // The hint or whether it shows changed; the control shows it as a tooltip.
    virtual void HintChanged();
    // The parent's client area changed or the control was moved; the widget follows.
    void ApplyBounds();
    // The bounds were applied to the widget.
    virtual void BoundsChanged() {}
    // Runs a handler of the program; an exception goes to the application's handler.
    template <class F>
    void Fire(F&& handler);

    void Notification(core::TComponent* component, core::TOperation operation) override;

    // The class library's drag steps; each runs its event.
    virtual void DoStartDrag(TDragObject*& dragObject);
    virtual void DoDragOver(core::TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DoDragDrop(core::TObject* source, int x, int y);
    virtual void DoEndDrag(core::TObject* target, int x, int y);

private:
    friend class TWinControl;
    friend class TControlDrag;
    class Bridge;

    // What every control does with an event of its widget before its own
    // reaction: the popup menu and the automatic drag; true swallows the event.
    bool InheritedEvent(QWidget* source, QEvent* event);
    // Takes the parent's ShowHint, handing it on as SetShowHint does.
    void FollowShowHint(bool showHint);
    // Notes the bounds and the parent's client size that the anchors keep to.
    void KeepAnchorOrigin();
    // Places the control by its anchors in a parent client area of that size.
    void ApplyAnchors(const QSize& parentClient);

    QPointer<QWidget> widget_;
    Bridge* bridge_ = nullptr;
    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    TAlign align_ = TAlign::alNone;
    bool visible_ = true;
    bool enabled_ = true;
    bool parentFont_ = true;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    bool syncingBounds_ = false;
    TAnchors anchors_ = akLeft | akTop;
    TSizeConstraints constraints_;
    QRect anchorBounds_;       // the bounds the anchors keep to
    QSize anchorParentClient_; // the parent's client size then (empty: not yet known)
    TPopupMenu* popupMenu_ = nullptr;
    TDragMode dragMode_ = TDragMode::dmManual;
    TCursor dragCursor_ = TCursor::crDrag;
    std::string caption_;
    std::string hint_;
    TFont font_;
    TColor color_ = clBtnFace;
    TCursor cursor_ = TCursor::crDefault;
};

// Passes the exception being handled to the application's default handler.
void HandleCurrentException(core::TObject* sender);

template <class F>
void TControl::Fire(F&& handler)
{
    if (HasState(core::csDestroying))
        return;
    try {
        handler();
    } catch (...) {
        HandleCurrentException(this);
    }
}

} // namespace ui
