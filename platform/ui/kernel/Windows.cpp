#include "platform/ui/kernel/Windows.h"

#include "platform/core/Unicode.h"
#include "platform/ui/kernel/WinControl.h"

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QWidget>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <vector>

namespace ui {

namespace {

bool InGuiThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

// Runs f in the GUI thread and gives its result; from another thread the caller waits.
template <class F>
auto InGui(F f) -> decltype(f())
{
    if (InGuiThread() || QCoreApplication::instance() == nullptr)
        return f();
    using R = decltype(f());
    if constexpr (std::is_void_v<R>) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), f, Qt::BlockingQueuedConnection);
    } else {
        std::optional<R> result;
        QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { result = f(); }, Qt::BlockingQueuedConnection);
        return std::move(*result);
    }
}

// A hidden widget that only takes messages.
class TMessageWidget : public QWidget {
public:
    explicit TMessageWidget(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_DontShowOnScreen);
        hide();
    }
};

struct TWindowRecord {
    QPointer<QWidget> widget;
    std::string className;
    std::string text;
    DWORD threadId = 0;
    bool messageWindow = false; // made by CreateWindowEx
    TWndMethod procedure;       // empty: the default procedure
};

// Hooks in front of one window's procedure, the last added first.
struct TSubclassChain {
    HWND window = nullptr;
    TWndMethod original;
    std::vector<std::pair<std::uintptr_t, TSubclassProc>> hooks;
};

// The procedure installed while a window has hooks; recognisable by its type.
struct TSubclassDispatcher {
    std::shared_ptr<TSubclassChain> chain;
    void operator()(TMessage& message) const { Run(chain, 0, message); }

    static void Run(const std::shared_ptr<TSubclassChain>& chain, std::size_t index, TMessage& message)
    {
        // A hook taken out while a message is under way is skipped; its copy stays alive meanwhile.
        if (index >= chain->hooks.size()) {
            if (chain->original)
                chain->original(message);
            else
                DefWindowProc(chain->window, message);
            return;
        }
        const TSubclassProc procedure = chain->hooks[index].second;
        const std::uintptr_t id = chain->hooks[index].first;
        procedure(message, [chain, id](TMessage& m) {
            auto& hooks = chain->hooks;
            auto it = std::find_if(hooks.begin(), hooks.end(), [id](const auto& h) { return h.first == id; });
            Run(chain, it == hooks.end() ? hooks.size() : static_cast<std::size_t>(it - hooks.begin()) + 1, m);
        });
    }
};

struct TWindowTable {
    std::map<const QWidget*, TWindowRecord> records;
    std::map<const QWidget*, std::shared_ptr<TSubclassChain>> chains;
};

// Touched in the GUI thread only.
TWindowTable& Table()
{
    static TWindowTable table;
    return table;
}

TWindowRecord* Record(HWND window)
{
    auto& records = Table().records;
    auto it = records.find(window);
    if (it == records.end() || it->second.widget.isNull())
        return nullptr;
    return &it->second;
}

TWindowRecord& Enter(HWND window)
{
    auto& record = Table().records[window];
    if (record.widget.isNull()) {
        record.widget = window;
        QObject::connect(window, &QObject::destroyed,
                         [key = static_cast<const QWidget*>(window)] { Table().records.erase(key); });
    }
    return record;
}

// The windowed control whose own window this is.
TWinControl* ControlOf(HWND window)
{
    auto* control = dynamic_cast<TWinControl*>(TControl::FromWidget(window));
    return control != nullptr && control->Handle() == window ? control : nullptr;
}

bool IsLiveWidget(HWND window)
{
    if (window == nullptr || QCoreApplication::instance() == nullptr)
        return false;
    if (Record(window) != nullptr)
        return true;
    // Compared as addresses only: a widget that is gone is never touched.
    return QApplication::allWidgets().contains(window);
}

DWORD GuiThreadId()
{
    static const DWORD id = InGui([] { return GetCurrentThreadId(); });
    return id;
}

LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsLiveWidget(window))
        return 0;
    TMessage record{message, wParam, lParam, 0};
    if (TWinControl* control = ControlOf(window)) {
        const TWndMethod procedure = control->WindowProc;
        if (procedure)
            procedure(record);
        return record.Result;
    }
    if (const TWindowRecord* r = Record(window); r != nullptr && r->procedure) {
        const TWndMethod procedure = r->procedure; // the procedure may replace itself
        procedure(record);
        return record.Result;
    }
    DefWindowProc(window, record);
    return record.Result;
}

// --- the posted-message queue, filled from any thread

struct TPosted {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct TPostQueue {
    std::mutex mutex;
    std::deque<TPosted> messages;
    bool drainScheduled = false;
};

TPostQueue& Queue()
{
    static TPostQueue queue;
    return queue;
}

void ScheduleDrain()
{
    if (QCoreApplication::instance() != nullptr)
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] { DeliverPostedMessages(); }, Qt::QueuedConnection);
}

// The keyboard state that came with the input being handled.
thread_local std::optional<Qt::KeyboardModifiers> currentModifiers;

} // namespace

// --- processes and threads

DWORD GetCurrentProcessId()
{
    return static_cast<DWORD>(::getpid());
}

DWORD GetCurrentThreadId()
{
    static std::atomic<DWORD> next{1};
    thread_local const DWORD id = next++;
    return id;
}

// --- windows

HWND CreateWindowEx(const std::string& className, const std::string& text, HWND parent, TWndMethod procedure)
{
    const DWORD thread = GetCurrentThreadId();
    return InGui([&]() -> HWND {
        if (parent != nullptr && !IsLiveWidget(parent))
            return nullptr;
        auto* widget = new TMessageWidget(parent);
        widget->setObjectName(QString::fromStdString(className));
        TWindowRecord& record = Enter(widget);
        record.className = className;
        record.text = text;
        record.threadId = thread;
        record.messageWindow = true;
        record.procedure = std::move(procedure);
        return widget;
    });
}

bool DestroyWindow(HWND window)
{
    return InGui([&] {
        const TWindowRecord* record = Record(window);
        if (record == nullptr || !record->messageWindow)
            return false;
        delete window;
        return true;
    });
}

void RegisterWindow(HWND window, const std::string& className, TWndMethod procedure)
{
    InGui([&] {
        if (window == nullptr)
            return;
        TWindowRecord& record = Enter(window);
        record.className = className;
        if (record.threadId == 0)
            record.threadId = GuiThreadId();
        record.procedure = std::move(procedure);
    });
}

bool IsWindow(HWND window)
{
    return InGui([&] { return IsLiveWidget(window); });
}

HWND WindowFromParam(std::uintptr_t value)
{
    HWND window = reinterpret_cast<HWND>(value);
    return IsWindow(window) ? window : nullptr;
}

std::string GetClassName(HWND window, int maxCount)
{
    std::string name = InGui([&]() -> std::string {
        if (!IsLiveWidget(window))
            return {};
        if (const TWindowRecord* record = Record(window); record != nullptr && !record->className.empty())
            return record->className;
        if (TWinControl* control = ControlOf(window))
            return control->ClassName();
        if (qobject_cast<QDialog*>(window) != nullptr)
            return "#32770";
        return window->metaObject()->className();
    });
    const std::size_t limit = maxCount > 0 ? static_cast<std::size_t>(maxCount - 1) : 0;
    return core::Utf8Copy(name, 0, limit);
}

std::string GetWindowText(HWND window)
{
    return InGui([&]() -> std::string {
        if (!IsLiveWidget(window))
            return {};
        if (const TWindowRecord* record = Record(window); record != nullptr && record->messageWindow)
            return record->text;
        if (TWinControl* control = ControlOf(window); control != nullptr && !window->isWindow())
            return control->Caption();
        return window->windowTitle().toStdString();
    });
}

bool SetWindowText(HWND window, const std::string& text)
{
    return InGui([&] {
        if (!IsLiveWidget(window))
            return false;
        if (TWindowRecord* record = Record(window); record != nullptr && record->messageWindow) {
            record->text = text;
            return true;
        }
        if (TWinControl* control = ControlOf(window)) {
            control->SetCaption(text);
            return true;
        }
        window->setWindowTitle(QString::fromStdString(text));
        return true;
    });
}

HWND GetParent(HWND window)
{
    return InGui([&]() -> HWND {
        if (!IsLiveWidget(window) || window->isWindow())
            return nullptr;
        return window->parentWidget();
    });
}

HWND GetOwnerWindow(HWND window)
{
    return InGui([&]() -> HWND {
        if (!IsLiveWidget(window) || !window->isWindow())
            return nullptr;
        return window->parentWidget();
    });
}

bool IsChild(HWND parent, HWND window)
{
    return InGui([&] {
        if (!IsLiveWidget(parent) || !IsLiveWidget(window))
            return false;
        for (QWidget* w = window; w != nullptr && !w->isWindow(); w = w->parentWidget())
            if (w->parentWidget() == parent)
                return true;
        return false;
    });
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* processId)
{
    const DWORD thread = InGui([&]() -> DWORD {
        if (!IsLiveWidget(window))
            return 0;
        if (const TWindowRecord* record = Record(window); record != nullptr && record->threadId != 0)
            return record->threadId;
        return GetCurrentThreadId(); // every other widget lives in the GUI thread
    });
    if (processId != nullptr)
        *processId = thread != 0 ? GetCurrentProcessId() : 0;
    return thread;
}

TWndMethod GetWindowProc(HWND window)
{
    return InGui([&]() -> TWndMethod {
        if (!IsLiveWidget(window))
            return {};
        if (TWinControl* control = ControlOf(window))
            return control->WindowProc;
        if (const TWindowRecord* record = Record(window); record != nullptr && record->procedure)
            return record->procedure;
        return [window](TMessage& message) { DefWindowProc(window, message); };
    });
}

TWndMethod SetWindowProc(HWND window, TWndMethod procedure)
{
    return InGui([&]() -> TWndMethod {
        if (!IsLiveWidget(window))
            return {};
        TWndMethod previous = GetWindowProc(window);
        if (TWinControl* control = ControlOf(window)) {
            control->WindowProc = std::move(procedure);
        } else {
            TWindowRecord& record = Enter(window);
            if (record.threadId == 0)
                record.threadId = GuiThreadId();
            record.procedure = std::move(procedure);
        }
        return previous;
    });
}

void DefWindowProc(HWND window, TMessage& message)
{
    message.Result = 0;
    if (!IsLiveWidget(window))
        return;
    switch (message.Msg) {
    case WM_CLOSE:
        if (const TWindowRecord* record = Record(window); record != nullptr && record->messageWindow)
            DestroyWindow(window);
        else
            window->close();
        break;
    case WM_SETICON:
        message.Result = 0;
        window->setWindowIcon(IconFromHandle(static_cast<HICON>(message.LParam)));
        break;
    default:
        break;
    }
}

// --- hooks in any order

bool SetWindowSubclass(HWND window, std::uintptr_t id, TSubclassProc procedure)
{
    return InGui([&] {
        if (!IsLiveWidget(window) || !procedure)
            return false;
        auto& chains = Table().chains;
        std::shared_ptr<TSubclassChain>& chain = chains[window];
        if (chain == nullptr) {
            chain = std::make_shared<TSubclassChain>();
            chain->window = window;
            chain->original = SetWindowProc(window, TSubclassDispatcher{chain});
            QObject::connect(window, &QObject::destroyed, [key = static_cast<const QWidget*>(window)] {
                Table().chains.erase(key);
            });
        }
        auto& hooks = chain->hooks;
        hooks.erase(std::remove_if(hooks.begin(), hooks.end(), [id](const auto& h) { return h.first == id; }),
                    hooks.end());
        hooks.insert(hooks.begin(), {id, std::move(procedure)});
        return true;
    });
}

bool RemoveWindowSubclass(HWND window, std::uintptr_t id)
{
    return InGui([&] {
        auto& chains = Table().chains;
        auto found = chains.find(window);
        if (found == chains.end())
            return false;
        std::shared_ptr<TSubclassChain> chain = found->second;
        auto& hooks = chain->hooks;
        auto it = std::find_if(hooks.begin(), hooks.end(), [id](const auto& h) { return h.first == id; });
        if (it == hooks.end())
            return false;
        hooks.erase(it);
        if (!hooks.empty())
            return true;
        // The last hook went: the window's own procedure comes back, unless someone put a
        // procedure of theirs in front meanwhile (then the empty chain keeps passing through).
        const TWndMethod current = GetWindowProc(window);
        const auto* dispatcher = current.target<TSubclassDispatcher>();
        if (dispatcher != nullptr && dispatcher->chain == chain) {
            SetWindowProc(window, chain->original);
            chains.erase(window);
        }
        return true;
    });
}

// --- messages

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return InGui([&] { return Dispatch(window, message, wParam, lParam); });
}

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(window))
        return false;
    TPostQueue& queue = Queue();
    bool schedule = false;
    {
        std::lock_guard lock(queue.mutex);
        queue.messages.push_back({window, message, wParam, lParam});
        if (!queue.drainScheduled) {
            queue.drainScheduled = true;
            schedule = true;
        }
    }
    if (schedule)
        ScheduleDrain();
    return true;
}

void DeliverPostedMessages()
{
    if (!InGuiThread())
        return;
    TPostQueue& queue = Queue();
    std::deque<TPosted> batch;
    {
        std::lock_guard lock(queue.mutex);
        batch.swap(queue.messages);
        queue.drainScheduled = false;
    }
    // Messages posted while this batch is delivered wait for the next turn of the loop.
    for (const TPosted& posted : batch)
        Dispatch(posted.window, posted.message, posted.wParam, posted.lParam);
}

void BroadcastMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    InGui([&] {
        std::vector<QPointer<QWidget>> targets;
        for (const auto& [widget, record] : Table().records)
            if (record.messageWindow && !record.widget.isNull() && record.widget->parentWidget() == nullptr)
                targets.push_back(record.widget);
        for (const QPointer<QWidget>& target : targets)
            if (!target.isNull())
                Dispatch(target, message, wParam, lParam);
    });
}

// --- the keyboard

SHORT GetKeyState(int virtualKey)
{
    const Qt::KeyboardModifiers modifiers =
        currentModifiers ? *currentModifiers : QGuiApplication::keyboardModifiers();
    Qt::KeyboardModifier modifier;
    switch (virtualKey) {
    case VK_SHIFT:
    case 0xA0: // left Shift
    case 0xA1: modifier = Qt::ShiftModifier; break;
    case VK_CONTROL:
    case 0xA2: // left Ctrl
    case 0xA3: modifier = Qt::ControlModifier; break;
    case VK_MENU:
    case 0xA4: // left Alt
    case 0xA5: modifier = Qt::AltModifier; break;
    default: return 0;
    }
    return modifiers.testFlag(modifier) ? static_cast<SHORT>(0x8000) : SHORT{0};
}

TKeyboardState::TKeyboardState(Qt::KeyboardModifiers modifiers)
    : saved_(currentModifiers.value_or(Qt::NoModifier)), hadSaved_(currentModifiers.has_value())
{
    currentModifiers = modifiers;
}

TKeyboardState::~TKeyboardState()
{
    if (hadSaved_)
        currentModifiers = saved_;
    else
        currentModifiers.reset();
}

// --- icons

namespace {

std::mutex iconMutex;
std::vector<QIcon>& Icons()
{
    static std::vector<QIcon> icons;
    return icons;
}

} // namespace

HICON IconHandle(const QIcon& icon)
{
    std::lock_guard lock(iconMutex);
    auto& icons = Icons();
    for (std::size_t i = 0; i < icons.size(); ++i)
        if (icons[i].cacheKey() == icon.cacheKey())
            return i + 1;
    icons.push_back(icon);
    return icons.size();
}

QIcon IconFromHandle(HICON icon)
{
    std::lock_guard lock(iconMutex);
    const auto& icons = Icons();
    return icon >= 1 && icon <= icons.size() ? icons[icon - 1] : QIcon();
}

HICON ApplicationIconHandle()
{
    return IconHandle(QApplication::windowIcon());
}

// --- dialog boxes

namespace {

class TDialogActivationWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show || !watched->isWidgetType())
            return false;
        auto* dialog = static_cast<QWidget*>(watched);
        if (!dialog->isWindow() || qobject_cast<QDialog*>(dialog) == nullptr)
            return false;
        QWidget* owner = dialog->parentWidget() != nullptr ? dialog->parentWidget()->window()
                                                            : QApplication::activeWindow();
        // Posted: the dialog box is up and running when its owner hears of it.
        if (owner != nullptr && owner != dialog)
            PostMessage(owner, WM_ACTIVATE, MakeWParam(WA_INACTIVE, 0),
                        static_cast<LPARAM>(ParamFromWindow(dialog)));
        return false;
    }
};

} // namespace

void EnableDialogActivationMessages()
{
    InGui([] {
        static QPointer<TDialogActivationWatch> watch;
        if (watch.isNull() && QCoreApplication::instance() != nullptr) {
            watch = new TDialogActivationWatch;
            watch->setParent(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(watch);
        }
    });
}

} // namespace ui
