// The hooks the hosted browser control places around the engine: the
// application's message handler, the control's own window procedure, its
// owner's window procedure, and the hidden window answering the shell's DDE.

#include "browser/BrowserModule.h"
#include "browser/BrowserTools.h"
#include "browser/HostedBrowser.h"
#include "browser/ShellDde.h"
#include "platform/ui/kernel/Dde.h"
#include "platform/ui/kernel/MessageTranslation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QResizeEvent>
#include <QWidget>

#include <algorithm>

namespace browser {

// --- the application's message handler, one for the process

// One installation of the hook: the controls taking part and the handler it replaced.
struct TMessageHookState {
    std::vector<THostedBrowser*> controls;
    ui::TMessageEvent replaced;
};

// The handler installed in the application: every control taking part does its work,
// then the handler it replaced runs as before (so that, for instance, the main form's
// own handling of the wheel goes on while a browser lives). An installation that could
// not be taken out (another handler was put in front of it) keeps passing messages on.
class TApplicationMessageHook {
public:
    explicit TApplicationMessageHook(std::shared_ptr<TMessageHookState> state) : state_(std::move(state)) {}

    void operator()(ui::TMsg& msg, bool& handled) const
    {
        const std::shared_ptr<TMessageHookState> state = state_;
        const std::vector<THostedBrowser*> controls = state->controls;
        for (THostedBrowser* control : controls) {
            if (std::find(state->controls.begin(), state->controls.end(), control) == state->controls.end())
                continue; // freed by a handler meanwhile
            control->ApplicationMessageHook(msg, handled);
            if (handled)
                return;
        }
        if (state->replaced)
            state->replaced(msg, handled);
    }

    const std::shared_ptr<TMessageHookState>& State() const { return state_; }

    // The installation new controls join.
    static std::shared_ptr<TMessageHookState>& Current()
    {
        static std::shared_ptr<TMessageHookState> current;
        return current;
    }

private:
    std::shared_ptr<TMessageHookState> state_;
};

void THostedBrowser::InstallMessageHook()
{
    if (ui::Application == nullptr)
        return;
    std::shared_ptr<TMessageHookState>& current = TApplicationMessageHook::Current();
    if (current == nullptr) {
        current = std::make_shared<TMessageHookState>();
        current->replaced = ui::Application->OnMessage;
        ui::Application->OnMessage = TApplicationMessageHook(current);
        SetMessageHookInstalled(true);
    }
    current->controls.push_back(this);
    messageHook_ = current;
}

void THostedBrowser::RemoveMessageHook()
{
    if (messageHook_ == nullptr)
        return;
    const std::shared_ptr<TMessageHookState> state = std::move(messageHook_);
    state->controls.erase(std::remove(state->controls.begin(), state->controls.end(), this), state->controls.end());
    if (!state->controls.empty())
        return;
    // The last control went: the application gets its handler back, unless someone put a
    // handler of theirs in front meanwhile (then ours stays in their chain, passing through).
    if (TApplicationMessageHook::Current() == state)
        TApplicationMessageHook::Current() = nullptr;
    SetMessageHookInstalled(false);
    if (ui::Application == nullptr)
        return;
    const auto* installed = ui::Application->OnMessage.target<TApplicationMessageHook>();
    if (installed != nullptr && installed->State() == state)
        ui::Application->OnMessage = state->replaced;
}

void THostedBrowser::ApplicationMessageHook(ui::TMsg& msg, bool& handled)
{
    if (HasState(core::csDesigning))
        return;
    handled = false;
    if (msg.message < ui::WM_KEYDOWN || msg.message > ui::WM_KEYLAST || msg.wParam != ui::VK_RETURN)
        return;
    if (Widget() == nullptr || !ui::IsChild(Handle(), msg.hwnd))
        return;
    // Enter inside the page goes to the engine, past whatever the forms would make of it.
    try {
        web::TKeyMessage key;
        key.Message = msg.message;
        key.VirtualKey = ui::VK_RETURN;
        key.Shift = ui::GetKeyState(ui::VK_SHIFT) < 0;
        key.Ctrl = ui::GetKeyState(ui::VK_CONTROL) < 0;
        key.Alt = ui::GetKeyState(ui::VK_MENU) < 0;
        handled = true;
        if (Browser().TranslateAccelerator(key) == S_OK)
            return;
        if (ui::Application != nullptr && ui::Application->DispatchOfferedInput())
            return;
        // A message that came from no screen input: it is delivered as the key it stands for.
        if (std::unique_ptr<QEvent> event = ui::EventFromMessage(msg)) {
            ui::TRedelivery redelivery;
            QApplication::sendEvent(msg.hwnd, event.get());
        }
    } catch (...) {
        // A failure here must not stop the application's message loop.
    }
}

// --- the control's own window procedure

void THostedBrowser::CallSavedWindowProc(ui::TMessage& message)
{
    if (savedControlWindowProc_)
        savedControlWindowProc_(message);
}

bool THostedBrowser::ContainsFocus() const
{
    QWidget* focus = QApplication::focusWidget();
    return Widget() != nullptr && focus != nullptr && (focus == Widget() || Widget()->isAncestorOf(focus));
}

void THostedBrowser::ControlWindowProc(ui::TMessage& message)
{
    switch (message.Msg) {
    case ui::WM_SIZE:
        windowPositionFilter_ = false;
        CallSavedWindowProc(message);
        windowPositionFilter_ = !xpsp2_;
        break;
    case ui::WM_WINDOWPOSCHANGING: {
        // Never passed on. Only the change this control is making is read: a number in
        // LParam that is not its address is no window position to follow.
        ui::TWindowPos* pos = pendingWindowPos_ != nullptr
                && message.LParam == static_cast<ui::LPARAM>(reinterpret_cast<std::uintptr_t>(pendingWindowPos_))
            ? pendingWindowPos_
            : nullptr;
        if (pos == nullptr || !windowPositionFilter_)
            break;
        const bool noSize = (pos->flags & ui::SWP_NOSIZE) != 0;
        const bool noMove = (pos->flags & ui::SWP_NOMOVE) != 0;
        if (noSize == noMove)
            break;
        if (!noMove) {
            pos->flags |= ui::SWP_NOMOVE;
            if (OnMove)
                Fire([&] { OnMove(this, pos->x, pos->y); });
        } else {
            pos->flags |= ui::SWP_NOSIZE;
            if (OnResize)
                Fire([&] { OnResize(this, pos->cx, pos->cy); });
        }
        break;
    }
    case ui::WM_CLOSE: {
        bool canClose = true;
        if (OnCloseQuery)
            Fire([&] { OnCloseQuery(this, canClose); });
        if (canClose)
            CallSavedWindowProc(message);
        break;
    }
    case ui::WM_DDE_TERMINATE:
        if (ui::HWND partner = ui::WindowFromParam(message.WParam))
            ui::PostMessage(partner, ui::WM_DDE_TERMINATE, ui::ParamFromWindow(Handle()), 0);
        break;
    case ui::WM_DDE_EXECUTE:
        DdeExecute(message);
        break;
    case ui::CM_DIALOGKEY:
        if (ContainsFocus())
            CallSavedWindowProc(message);
        break;
    default:
        CallSavedWindowProc(message);
        break;
    }
}

void THostedBrowser::WndProc(ui::TMessage& message)
{
    // WM_CLOSE reaching the control's own handling: a close of its window goes ahead.
    if (message.Msg == ui::WM_CLOSE)
        closePassedOn_ = true;
    TBrowserWrapper::WndProc(message);
}

bool THostedBrowser::WidgetEvent(QWidget* source, QEvent* event)
{
    if (source == Widget() && loaded_ && !HasState(core::csDestroying)) {
        if (event->type() == QEvent::Close) {
            // The window being closed asks the control's procedure, as WM_CLOSE.
            closePassedOn_ = false;
            Perform(ui::WM_CLOSE);
            if (!closePassedOn_) {
                event->ignore();
                return true;
            }
        } else if (event->type() == QEvent::Resize) {
            const QSize size = static_cast<QResizeEvent*>(event)->size();
            Perform(ui::WM_SIZE, ui::SIZE_RESTORED,
                    ui::MakeLParam(static_cast<ui::WORD>(size.width()), static_cast<ui::WORD>(size.height())));
        }
    }
    return TBrowserWrapper::WidgetEvent(source, event);
}

void THostedBrowser::SetBounds(int left, int top, int width, int height)
{
    if (!loaded_ || HasState(core::csDestroying) || Widget() == nullptr) {
        TBrowserWrapper::SetBounds(left, top, width, height);
        return;
    }
    // The window hears of the change first and may keep its place or its size.
    ui::TWindowPos pos{Handle(), nullptr, left, top, width, height, ui::SWP_NOZORDER};
    if (left == Left() && top == Top())
        pos.flags |= ui::SWP_NOMOVE;
    if (width == Width() && height == Height())
        pos.flags |= ui::SWP_NOSIZE;
    pendingWindowPos_ = &pos;
    Perform(ui::WM_WINDOWPOSCHANGING, 0, static_cast<ui::LPARAM>(reinterpret_cast<std::uintptr_t>(&pos)));
    pendingWindowPos_ = nullptr;
    if (pos.flags & ui::SWP_NOMOVE) {
        left = Left();
        top = Top();
    } else {
        left = pos.x;
        top = pos.y;
    }
    if (pos.flags & ui::SWP_NOSIZE) {
        width = Width();
        height = Height();
    } else {
        width = pos.cx;
        height = pos.cy;
    }
    TBrowserWrapper::SetBounds(left, top, width, height);
}

// --- the owner's window procedure

void THostedBrowser::HookOwnerWindow()
{
    hookedOwner_ = Owner();
    auto* owner = dynamic_cast<ui::TWinControl*>(Owner());
    if (owner == nullptr || owner->Widget() == nullptr)
        return;
    hookedOwnerWindow_ = owner->Handle();
    ui::EnableDialogActivationMessages();
    ui::SetWindowSubclass(hookedOwnerWindow_, reinterpret_cast<std::uintptr_t>(this),
                          [this](ui::TMessage& message, const ui::TWndMethod& next) { OwnerWindowProc(message, next); });
}

void THostedBrowser::UnhookOwnerWindow()
{
    // Taken out wherever it stands among the hooks of other controls.
    if (hookedOwnerWindow_ != nullptr)
        ui::RemoveWindowSubclass(hookedOwnerWindow_, reinterpret_cast<std::uintptr_t>(this));
    hookedOwnerWindow_ = nullptr;
    hookedOwner_ = nullptr;
}

void THostedBrowser::OwnerWindowProc(ui::TMessage& message, const ui::TWndMethod& next)
{
    try {
        TreatOwnerMessage(message);
    } catch (...) {
        ui::HandleCurrentException(this);
    }
    if (next)
        next(message);
}

bool THostedBrowser::OpenedByPage(ui::HWND dialog) const
{
    // The page's dialog boxes belong to the engine's window, inside this control; the
    // application's own message boxes belong to its forms.
    const ui::HWND owner = ui::GetOwnerWindow(dialog);
    return owner != nullptr && Widget() != nullptr && (owner == Handle() || ui::IsChild(Handle(), owner));
}

void THostedBrowser::TreatOwnerMessage(const ui::TMessage& message)
{
    if (message.Msg != ui::WM_ACTIVATE || ui::LoWord(message.WParam) != ui::WA_INACTIVE)
        return;
    const ui::HWND activated = ui::WindowFromParam(static_cast<std::uintptr_t>(message.LParam));
    if (activated == nullptr)
        return;
    if (ui::GetClassName(activated, 80) == "#32770" && OpenedByPage(activated)) {
        TMessagesBoxes& boxes = *messagesBoxes_;
        if (boxes.DisableAll())
            ui::SendMessage(activated, ui::WM_CLOSE);
        if (boxes.ReplaceIcon() && ui::IsWindow(activated))
            ui::SendMessage(activated, ui::WM_SETICON, ui::ICON_SMALL,
                            static_cast<ui::LPARAM>(ui::ApplicationIconHandle()));
        if (boxes.ReplaceCaption() && ui::IsWindow(activated)) {
            const std::string caption = boxes.NewCaption().empty() ? "Web Browser" : boxes.NewCaption();
            std::string text = ui::GetWindowText(activated);
            if (const auto at = text.find("Microsoft "); at != std::string::npos)
                text.erase(at, std::string("Microsoft ").size());
            if (const auto at = text.find("Internet Explorer"); at != std::string::npos)
                text.replace(at, std::string("Internet Explorer").size(), caption);
            if (text.find(caption) == std::string::npos)
                text = caption + ":  " + text;
            if (disableErrors_->ScriptError() && text.find("Error") != std::string::npos)
                ui::PostMessage(activated, ui::WM_CLOSE);
            ui::SetWindowText(activated, text);
        }
    }
    if (OnShowDialog && ui::IsWindow(activated))
        Fire([&] { OnShowDialog(this, activated); });
}

// --- the hidden DDE window

void THostedBrowser::DdeWindowProc(ui::TMessage& message)
{
    if (message.Msg == ui::WM_DDE_INITIATE && disableErrors_->EnableDDE()) {
        DdeInitiate(message);
        return;
    }
    ui::DefWindowProc(ddeWindow_, message);
}

void THostedBrowser::DdeInitiate(const ui::TMessage& message)
{
    if (DdeBusy())
        return;
    // Only a window of this process and of the thread answering takes part.
    const ui::HWND client = ui::WindowFromParam(message.WParam);
    if (client == nullptr)
        return;
    ui::DWORD process = 0;
    if (ui::GetWindowThreadProcessId(client, &process) != ui::GetCurrentThreadId()
        || process != ui::GetCurrentProcessId())
        return;
    const auto application = static_cast<ui::ATOM>(ui::LoWord(static_cast<std::uintptr_t>(message.LParam)));
    const auto topic = static_cast<ui::ATOM>(ui::HiWord(static_cast<std::uintptr_t>(message.LParam)));
    const std::string applicationName = ui::GlobalGetAtomName(application, 256);
    const std::string topicName = ui::GlobalGetAtomName(topic, 256);
    (void)topicName; // the topic is compared by its atom

    const TShellDdeNames& names = ShellDdeNames();
    const bool web = applicationName == names.WebApplication;
    DdeWebDocumentConversation() = web;
    const ui::ATOM ours = ui::GlobalAddAtom(web ? names.WebApplication : names.FolderApplication);
    const ui::ATOM ourTopic = ui::GlobalAddAtom(web ? names.WebTopic : names.FolderTopic);
    if (ours != 0 && ourTopic != 0 && ours == application && ourTopic == topic && Widget() != nullptr)
        ui::SendMessage(client, ui::WM_DDE_ACK, ui::ParamFromWindow(Handle()), ui::MakeLParam(ours, ourTopic));
    if (ours != 0)
        ui::GlobalDeleteAtom(ours);
    if (ourTopic != 0)
        ui::GlobalDeleteAtom(ourTopic);
}

void THostedBrowser::DdeExecute(const ui::TMessage& message)
{
    ui::UINT_PTR low = 0;
    ui::UINT_PTR commands = 0;
    if (!ui::UnpackDDElParam(ui::WM_DDE_EXECUTE, message.LParam, &low, &commands))
        return;
    const auto block = ui::GlobalLock(commands);
    if (block.data() == nullptr)
        return;
    bool positive = false;
    try {
        positive = RunDdeCommand(std::string(DdeCommandText(block)));
    } catch (...) {
        positive = false; // a command that fails is answered, never thrown at the partner
    }
    ui::GlobalUnlock(commands);
    const ui::LPARAM answer =
        ui::ReuseDDElParam(message.LParam, ui::WM_DDE_EXECUTE, ui::WM_DDE_ACK, positive ? ui::DDE_FACK : 0, commands);
    const ui::HWND client = ui::WindowFromParam(message.WParam);
    if (client == nullptr || !ui::PostMessage(client, ui::WM_DDE_ACK, ui::ParamFromWindow(Handle()), answer))
        ui::FreeDDElParam(ui::WM_DDE_ACK, answer);
}

bool THostedBrowser::RunDdeCommand(const std::string& text)
{
    if (DdeWebDocumentConversation()) {
        const auto address = ParseWebDocumentCommand(text);
        return address && NavigateUrlText(*address);
    }
    const TDdeFolderCommand command = ParseDdeCommand(text, ShellDdeNames());
    switch (command.Kind) {
    case TDdeCommandKind::Open:
        return !command.Path.empty() ? NavigateUrlText(command.Path) : NavigatePidl(*command.ItemIDList);
    case TDdeCommandKind::Explore:
    case TDdeCommandKind::Find: {
        TShellExecuteInfo info;
        const bool explore = command.Kind == TDdeCommandKind::Explore;
        info.Verb = explore ? "explore" : "find";
        info.Class = explore ? "folder" : "";
        info.Show = command.ShowCommand;
        if (!command.Path.empty()) {
            info.Mask = explore ? SEE_MASK_CLASSNAME : 0;
            info.File = command.Path;
        } else {
            info.Mask = (explore ? SEE_MASK_CLASSNAME : 0) | SEE_MASK_IDLIST;
            info.IDList = *command.ItemIDList;
        }
        // The shell's execution may start a conversation of its own: it is not taken meanwhile.
        struct Busy {
            Busy() { DdeBusy() = true; }
            ~Busy() { DdeBusy() = false; }
        } busy;
        return ShellExecuteEx(info);
    }
    case TDdeCommandKind::None: break;
    }
    return false;
}

bool THostedBrowser::NavigateUrlText(const std::string& text)
{
    const std::string_view address = TrimText(text);
    if (address.empty())
        return false;
    Navigate2(std::string(address), 0, {}, {}, {});
    return true;
}

bool THostedBrowser::NavigatePidl(const ui::TItemIDList& list)
{
    const auto copy = ui::CopyItemIDList(list);
    if (!copy || !ui::PathFromItemIDList(*copy))
        return false;
    Navigate2(*copy);
    return true;
}

} // namespace browser
