#pragma once
// Forms: top-level windows that own the components placed on them.
//
// A form is built in its constructor (its components, their properties and
// the binding of its event handlers); OnCreate runs after that, through
// AfterConstruction, which Application.CreateForm and CreateComponent call.
// OnDestroy runs before anything is freed, through BeforeDestruction, which
// FreeComponent and the freeing owner call. A form frees the components it
// owns (and with them their widgets) before its own widget goes.

#include "platform/ui/kernel/InputEvents.h"
#include "platform/ui/kernel/WinControl.h"

#include <functional>
#include <memory>
#include <utility>

namespace ui {

enum class TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrClose = 8;
inline constexpr TModalResult mrAll = 12;
inline constexpr TModalResult mrNoToAll = 13;
inline constexpr TModalResult mrYesToAll = 14;

using TCloseEvent = std::function<void(core::TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(core::TObject* sender, bool& canClose)>;

// Something whose creation and destruction events run around its
// construction and destruction: forms and data modules.
class TCreationEvents {
public:
    virtual ~TCreationEvents() = default;
    // Runs OnCreate; once, after the constructor built everything.
    virtual void AfterConstruction() = 0;
    // Runs OnDestroy; once, before anything is freed.
    virtual void BeforeDestruction() = 0;
};

class TCustomForm : public TWinControl, public TCreationEvents {
public:
    explicit TCustomForm(core::TComponent* owner);
    ~TCustomForm() override;

    std::string ClassName() const override { return "TCustomForm"; }

    void AfterConstruction() override;
    void BeforeDestruction() override;

    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    // fsStayOnTop keeps the window above the others; the other styles are plain windows.
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    // On: the form sees the key presses of its controls before they do
    // (OnKeyDown); a handler that sets the key to 0 takes it from them.
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool preview);

    void SetVisible(bool visible) override;
    void Show();
    void Hide();
    // Asks OnCloseQuery and OnClose; hides the form, or ends the application
    // when it is the main form. A modal form just gets the result mrCancel.
    void Close();
    bool CloseQuery();
    // Shows the form modally and waits until its ModalResult is set or it is closed.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    bool Modal() const { return modal_; }
    // Frees the form once the events now pending are handled.
    void Release();

    bool Active() const;
    TWinControl* ActiveControl() const;
    void SetActiveControl(TWinControl* control);

    core::TNotifyEvent OnCreate;
    core::TNotifyEvent OnShow;
    core::TNotifyEvent OnHide;
    core::TNotifyEvent OnActivate;
    core::TNotifyEvent OnDeactivate;
    core::TNotifyEvent OnResize;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    core::TNotifyEvent OnDestroy;
    // Keys pressed in the form itself, and with KeyPreview in any of its controls.
    TKeyEvent OnKeyDown;

protected:
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void DoDestroy();
    // Runs OnKeyDown.
    virtual void KeyDown(WORD& key, TShiftState shift);
    bool WidgetEvent(QWidget* source, QEvent* event) override;
    void CaptionChanged() override;

private:
    class KeyPreviewFilter;
    void PlaceOnFirstShow();
    // True when the key press was taken by OnKeyDown.
    bool PreviewKey(QEvent* event);

    TPosition position_ = TPosition::poDesigned;
    TWindowState windowState_ = TWindowState::wsNormal;
    // How often the form's state may still be applied again to a window made anew.
    int stateRestoresLeft_ = 0;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    bool keyPreview_ = false;
    std::unique_ptr<KeyPreviewFilter> keyFilter_;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    bool created_ = false;
    bool destroyed_ = false;
    bool placed_ = false;
};

class TForm : public TCustomForm {
public:
    explicit TForm(core::TComponent* owner) : TCustomForm(owner) {}
    std::string ClassName() const override { return "TForm"; }
};

// Creates a form or data module with its owner and runs its OnCreate.
template <class T, class... Args>
T* CreateComponent(core::TComponent* owner, Args&&... args)
{
    auto* instance = new T(owner, std::forward<Args>(args)...);
    instance->AfterConstruction();
    return instance;
}

// Frees a component, running OnDestroy first where it has one.
void FreeComponent(core::TComponent* component);
// Frees every component that owner owns, the last created first, each with its OnDestroy.
void FreeOwnedComponents(core::TComponent* owner);

} // namespace ui
