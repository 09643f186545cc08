#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/Dde.h"
#include "platform/ui/kernel/Forms.h"
#include "platform/ui/kernel/PopupMenus.h"
#include "platform/ui/kernel/ShellItems.h"
#include "platform/ui/kernel/Windows.h"
#include "tests/support/EventLoop.h"

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace ui;

namespace {

// A message window that writes down what it receives.
struct Recorder {
    std::vector<TMessage> messages;
    HWND window = nullptr;
    explicit Recorder(const std::string& className = "Zapisovatel", HWND parent = nullptr)
    {
        window = CreateWindowEx(className, "záznam", parent, [this](TMessage& m) {
            messages.push_back(m);
            m.Result = 7;
        });
    }
    ~Recorder() { DestroyWindow(window); }
    std::vector<UINT> Ids() const
    {
        std::vector<UINT> ids;
        for (const auto& m : messages)
            ids.push_back(m.Msg);
        return ids;
    }
};

TEST(WindowsTest, MessageWindowsKnowTheirClassTextParentAndThread)
{
    Recorder top("Horni");
    Recorder child("Spodni", top.window);
    EXPECT_TRUE(IsWindow(top.window));
    EXPECT_EQ(GetClassName(top.window), "Horni");
    EXPECT_EQ(GetClassName(top.window, 4), "Hor"); // a buffer of 4 holds 3 characters
    EXPECT_EQ(GetWindowText(top.window), "záznam");
    EXPECT_TRUE(SetWindowText(top.window, "jiný"));
    EXPECT_EQ(GetWindowText(top.window), "jiný");
    EXPECT_EQ(GetParent(child.window), top.window);
    EXPECT_EQ(GetParent(top.window), nullptr);
    EXPECT_TRUE(IsChild(top.window, child.window));
    EXPECT_FALSE(IsChild(child.window, top.window));
    DWORD process = 0;
    EXPECT_EQ(GetWindowThreadProcessId(top.window, &process), GetCurrentThreadId());
    EXPECT_EQ(process, GetCurrentProcessId());
    EXPECT_NE(GetCurrentThreadId(), 0u);

    EXPECT_EQ(SendMessage(top.window, WM_USER + 3, 4, 5), 7);
    ASSERT_EQ(top.messages.size(), 1u);
    EXPECT_EQ(top.messages[0].WParam, 4u);
    EXPECT_EQ(top.messages[0].LParam, 5);
}

TEST(WindowsTest, NumbersThatNameNoWindowAreRefused)
{
    EXPECT_EQ(WindowFromParam(0), nullptr);
    EXPECT_EQ(WindowFromParam(0x12345678), nullptr);
    EXPECT_FALSE(IsWindow(nullptr));
    EXPECT_EQ(GetClassName(WindowFromParam(0x1000)), "");
    EXPECT_EQ(SendMessage(nullptr, WM_USER), 0);
    EXPECT_FALSE(PostMessage(nullptr, WM_USER));
    HWND gone = CreateWindowEx("Kratky", "", nullptr, {});
    EXPECT_TRUE(DestroyWindow(gone));
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_FALSE(DestroyWindow(gone));
    EXPECT_EQ(GetWindowThreadProcessId(gone), 0u);
}

TEST(WindowsTest, ReplacedProceduresKeepThePreviousOne)
{
    Recorder window;
    std::vector<UINT> seen;
    TWndMethod previous;
    previous = SetWindowProc(window.window, [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg != WM_USER + 1)
            previous(m);
    });
    ASSERT_TRUE(previous);
    SendMessage(window.window, WM_USER + 1);
    SendMessage(window.window, WM_USER + 2);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_EQ(window.Ids(), std::vector<UINT>{WM_USER + 2});
    SetWindowProc(window.window, previous);
    SendMessage(window.window, WM_USER + 4);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(window.Ids().back(), WM_USER + 4);
}

TEST(WindowsTest, PostedMessagesWaitForTheLoopAndKeepTheirOrder)
{
    Recorder window;
    EXPECT_TRUE(PostMessage(window.window, WM_USER + 1, 1));
    EXPECT_TRUE(PostMessage(window.window, WM_USER + 2, 2));
    EXPECT_TRUE(window.messages.empty());
    Application->ProcessMessages();
    EXPECT_EQ(window.Ids(), (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));

    // A window that goes before its messages are delivered gets none.
    int delivered = 0;
    HWND late = CreateWindowEx("Pozdni", "", nullptr, [&](TMessage&) { ++delivered; });
    EXPECT_TRUE(PostMessage(late, WM_USER));
    DestroyWindow(late);
    Application->ProcessMessages();
    EXPECT_EQ(delivered, 0);
    EXPECT_FALSE(PostMessage(late, WM_USER));
}

TEST(WindowsTest, BroadcastsReachTopLevelMessageWindowsOnly)
{
    Recorder top("Prvni");
    Recorder other("Druhy");
    Recorder child("Dite", top.window);
    BroadcastMessage(WM_USER + 9, 1, 2);
    EXPECT_EQ(top.Ids(), std::vector<UINT>{WM_USER + 9});
    EXPECT_EQ(other.Ids(), std::vector<UINT>{WM_USER + 9});
    EXPECT_TRUE(child.messages.empty());
}

TEST(WindowsTest, AWindowMadeByAnotherThreadBelongsToIt)
{
    std::atomic<bool> done{false};
    HWND foreign = nullptr;
    DWORD foreignThread = 0;
    LRESULT answer = 0;
    std::thread worker([&] {
        foreignThread = GetCurrentThreadId();
        foreign = CreateWindowEx("Cizi", "", nullptr, [](TMessage& m) { m.Result = 42; });
        answer = SendMessage(foreign, WM_USER); // runs in the GUI thread; the worker waits
        done = true;
    });
    ASSERT_TRUE(testsupport::WaitUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(answer, 42);
    EXPECT_NE(foreignThread, GetCurrentThreadId());
    EXPECT_EQ(GetWindowThreadProcessId(foreign), foreignThread);
    EXPECT_TRUE(DestroyWindow(foreign));
}

TEST(WindowsTest, ControlsAreWindowsWithTheirWindowProc)
{
    auto* form = CreateComponent<TForm>(nullptr);
    form->SetCaption("Formulář");
    EXPECT_EQ(GetClassName(form->Handle()), "TForm");
    EXPECT_EQ(GetWindowText(form->Handle()), "Formulář");
    std::vector<UINT> seen;
    form->WindowProc = [&](TMessage& m) { seen.push_back(m.Msg); };
    SendMessage(form->Handle(), WM_USER + 5);
    EXPECT_EQ(seen, std::vector<UINT>{WM_USER + 5});
    TWndMethod previous = SetWindowProc(form->Handle(), [&](TMessage& m) {
        seen.push_back(m.Msg + 1);
        previous(m);
    });
    SendMessage(form->Handle(), WM_USER);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 5, WM_USER + 1, WM_USER}));
    FreeComponent(form);
}

TEST(WindowsTest, HooksComeOffInAnyOrder)
{
    auto* form = CreateComponent<TForm>(nullptr);
    std::vector<std::string> trace;
    form->WindowProc = [&](TMessage&) { trace.push_back("form"); };
    auto hook = [&](const char* name) {
        return [&trace, name](TMessage& m, const TWndMethod& next) {
            trace.push_back(name);
            next(m);
        };
    };
    HWND window = form->Handle();
    ASSERT_TRUE(SetWindowSubclass(window, 1, hook("a")));
    ASSERT_TRUE(SetWindowSubclass(window, 2, hook("b")));
    SendMessage(window, WM_USER);
    EXPECT_EQ(trace, (std::vector<std::string>{"b", "a", "form"}));

    // The first one in goes first: the second still runs, then the form.
    trace.clear();
    EXPECT_TRUE(RemoveWindowSubclass(window, 1));
    SendMessage(window, WM_USER);
    EXPECT_EQ(trace, (std::vector<std::string>{"b", "form"}));
    EXPECT_TRUE(RemoveWindowSubclass(window, 2));
    EXPECT_FALSE(RemoveWindowSubclass(window, 2));
    trace.clear();
    SendMessage(window, WM_USER);
    EXPECT_EQ(trace, std::vector<std::string>{"form"});

    // Someone replaced the procedure over the hooks: it stays, the hooks pass through.
    SetWindowSubclass(window, 3, hook("c"));
    TWndMethod under = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        trace.push_back("cizí");
        under(m);
    };
    RemoveWindowSubclass(window, 3);
    trace.clear();
    SendMessage(window, WM_USER);
    EXPECT_EQ(trace, (std::vector<std::string>{"cizí", "form"}));
    FreeComponent(form);
}

TEST(WindowsTest, DialogBoxesAndTheirOwners)
{
    auto* form = CreateComponent<TForm>(nullptr);
    auto* dialog = new QDialog(form->Handle());
    dialog->setWindowTitle("Otázka");
    EXPECT_EQ(GetClassName(dialog), "#32770");
    EXPECT_EQ(GetWindowText(dialog), "Otázka");
    EXPECT_EQ(GetOwnerWindow(dialog), form->Handle());
    EXPECT_EQ(GetParent(dialog), nullptr);
    EXPECT_FALSE(IsChild(form->Handle(), dialog));

    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    const QIcon icon(pixmap);
    SendMessage(dialog, WM_SETICON, ICON_SMALL, static_cast<LPARAM>(IconHandle(icon)));
    EXPECT_EQ(dialog->windowIcon().cacheKey(), icon.cacheKey());
    EXPECT_EQ(IconFromHandle(IconHandle(icon)).cacheKey(), icon.cacheKey());
    EXPECT_TRUE(IconFromHandle(0).isNull());

    // A dialog box that appears deactivates its owner: posted, with the dialog box in LParam.
    EnableDialogActivationMessages();
    std::vector<TMessage> seen;
    form->WindowProc = [&](TMessage& m) { seen.push_back(m); };
    dialog->show();
    ASSERT_TRUE(testsupport::WaitUntil([&] { return !seen.empty(); }));
    EXPECT_EQ(seen[0].Msg, WM_ACTIVATE);
    EXPECT_EQ(LoWord(seen[0].WParam), WA_INACTIVE);
    EXPECT_EQ(WindowFromParam(static_cast<std::uintptr_t>(seen[0].LParam)), dialog);

    SendMessage(dialog, WM_CLOSE);
    EXPECT_FALSE(dialog->isVisible());
    delete dialog;
    FreeComponent(form);
}

TEST(WindowsTest, KeyStateOfTheInputBeingHandled)
{
    {
        TKeyboardState state(Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_LT(GetKeyState(VK_CONTROL), 0);
        EXPECT_LT(GetKeyState(VK_SHIFT), 0);
        EXPECT_EQ(GetKeyState(VK_MENU), 0);
        {
            TKeyboardState inner(Qt::AltModifier);
            EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
            EXPECT_LT(GetKeyState(VK_MENU), 0);
        }
        EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    }
    EXPECT_EQ(GetKeyState('A'), 0);
}

TEST(WindowsTest, AHandlerDeliversTheOfferedInputOnce)
{
    auto* form = CreateComponent<TForm>(nullptr);
    auto* edit = new QLineEdit(form->Handle());
    int presses = 0;
    struct Counter : QObject {
        int* count;
        explicit Counter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyPress)
                ++*count;
            return false;
        }
    } counter(&presses);
    edit->installEventFilter(&counter);
    EXPECT_FALSE(Application->DispatchOfferedInput()); // nothing is being offered
    bool dispatched = false;
    Application->OnMessage = [&](TMsg& msg, bool& handled) {
        if (msg.message == WM_KEYDOWN && msg.wParam == 'X') {
            dispatched = Application->DispatchOfferedInput();
            handled = true;
        }
    };
    QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(edit, &key);
    Application->OnMessage = nullptr;
    EXPECT_TRUE(dispatched);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(edit->text(), "x");
    FreeComponent(form);
}

// --- atoms, memory blocks and DDE parameters

TEST(DdeTest, AtomsAreCountedAndMatchedWithoutCase)
{
    const ATOM a = GlobalAddAtom("Prohlížeč");
    ASSERT_GE(a, 0xC000);
    EXPECT_EQ(GlobalAddAtom("prohlížeč"), a); // ASCII letters fold; the name keeps its first spelling
    EXPECT_EQ(GlobalFindAtom("PROHLížeč"), a);
    EXPECT_EQ(GlobalGetAtomName(a), "Prohlížeč");
    EXPECT_EQ(GlobalGetAtomName(a, 7), "Prohlí"); // a buffer of 7 holds 6 characters
    EXPECT_EQ(GlobalDeleteAtom(a), 0);
    EXPECT_EQ(GlobalFindAtom("Prohlížeč"), a); // one add still counts
    EXPECT_EQ(GlobalDeleteAtom(a), 0);
    EXPECT_EQ(GlobalFindAtom("Prohlížeč"), 0);
    EXPECT_EQ(GlobalGetAtomName(a), "");
    EXPECT_EQ(GlobalDeleteAtom(a), a); // unknown
    EXPECT_EQ(GlobalAddAtom(""), 0);
    EXPECT_EQ(GlobalAddAtom(std::string(256, 'x')), 0);
    EXPECT_NE(GlobalAddAtom(std::string(255, 'x')), 0);
    std::string czech;
    for (int i = 0; i < 255; ++i)
        czech += "č";
    EXPECT_NE(GlobalAddAtom(czech), 0); // characters are counted, not bytes
}

TEST(DdeTest, MemoryBlocksByNumber)
{
    const HGLOBAL text = GlobalAllocText("[Otevri(\"/tmp\")]");
    ASSERT_NE(text, 0u);
    EXPECT_EQ(GlobalSize(text), 17u);
    auto bytes = GlobalLock(text);
    ASSERT_NE(bytes.data(), nullptr);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end() - 1), "[Otevri(\"/tmp\")]");
    EXPECT_EQ(bytes.back(), 0);
    EXPECT_FALSE(GlobalUnlock(text));
    EXPECT_EQ(GlobalFree(text), 0u);
    EXPECT_EQ(GlobalLock(text).data(), nullptr);
    EXPECT_EQ(GlobalFree(text), text);
    EXPECT_EQ(GlobalLock(12345).data(), nullptr);
    EXPECT_EQ(GlobalAlloc(0), 0u);
}

TEST(DdeTest, ParametersPackedByMessage)
{
    UINT_PTR lo = 0;
    UINT_PTR hi = 0;
    const LPARAM ack = PackDDElParam(WM_DDE_ACK, DDE_FACK, 0x12345);
    ASSERT_TRUE(UnpackDDElParam(WM_DDE_ACK, ack, &lo, &hi));
    EXPECT_EQ(lo, DDE_FACK);
    EXPECT_EQ(hi, 0x12345u);
    EXPECT_TRUE(FreeDDElParam(WM_DDE_ACK, ack));
    EXPECT_FALSE(UnpackDDElParam(WM_DDE_ACK, ack, &lo, &hi));
    EXPECT_FALSE(UnpackDDElParam(WM_DDE_ACK, 77, &lo, &hi));

    // An execute carries its command block alone; other messages the two words.
    EXPECT_EQ(PackDDElParam(WM_DDE_EXECUTE, 0, 0x20004), 0x20004);
    ASSERT_TRUE(UnpackDDElParam(WM_DDE_EXECUTE, 0x20004, &lo, &hi));
    EXPECT_EQ(hi, 0x20004u);
    EXPECT_EQ(PackDDElParam(WM_DDE_INITIATE, 0xC001, 0xC002), MakeLParam(0xC001, 0xC002));

    // An execute's parameter becomes the acknowledgement's.
    const LPARAM reused = ReuseDDElParam(0x20004, WM_DDE_EXECUTE, WM_DDE_ACK, 0, 0x20004);
    ASSERT_TRUE(UnpackDDElParam(WM_DDE_ACK, reused, &lo, &hi));
    EXPECT_EQ(lo, 0u);
    EXPECT_EQ(hi, 0x20004u);
    FreeDDElParam(WM_DDE_ACK, reused);
}

// --- item-ID lists and shared memory

TEST(ShellItemsTest, ListsOfPathsRoundTrip)
{
    const auto list = ItemIDListFromPath("/home/jana/Dokumenty");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->size(), 25u); // 6 + 6 + 11 and the terminator
    EXPECT_EQ(ItemIDListSize(*list), list->size());
    EXPECT_EQ(PathFromItemIDList(*list), "/home/jana/Dokumenty");
    EXPECT_EQ(PathFromItemIDList(*ItemIDListFromPath("/")), "/");
    EXPECT_EQ(PathFromItemIDList(*ItemIDListFromPath("/a//b/./c/")), "/a/b/c");
    EXPECT_EQ(PathFromItemIDList(*ItemIDListFromPath("/složka")), "/složka");
    EXPECT_FALSE(ItemIDListFromPath("relativni"));
    EXPECT_FALSE(ItemIDListFromPath("/a/../etc"));
}

TEST(ShellItemsTest, MalformedListsAreRefusedWithinTheirBytes)
{
    const std::vector<std::uint8_t> unterminated{5, 0, 'a', 'b', 'c'};
    EXPECT_FALSE(ItemIDListSize(unterminated));
    const std::vector<std::uint8_t> tooLong{40, 0, 'a', 'b', 0, 0};
    EXPECT_FALSE(ItemIDListSize(tooLong));
    const std::vector<std::uint8_t> countOne{1, 0, 0, 0};
    EXPECT_FALSE(ItemIDListSize(countOne));
    EXPECT_FALSE(ItemIDListSize({}));
    const std::vector<std::uint8_t> dotDot{4, 0, '.', '.', 0, 0};
    EXPECT_TRUE(ItemIDListSize(dotDot));
    EXPECT_FALSE(PathFromItemIDList(dotDot));
    const std::vector<std::uint8_t> slash{5, 0, 'a', '/', 'b', 0, 0};
    EXPECT_FALSE(PathFromItemIDList(slash));
    // Bytes after the terminator are not part of the list.
    const std::vector<std::uint8_t> trailing{3, 0, 'x', 0, 0, 9, 9};
    EXPECT_EQ(ItemIDListSize(trailing), 5u);
    EXPECT_EQ(CopyItemIDList(trailing)->size(), 5u);
}

TEST(ShellItemsTest, SharedMemoryBelongsToAProcess)
{
    const std::vector<std::uint8_t> bytes{1, 2, 3};
    const HANDLE block = SHAllocShared(bytes, 4242);
    EXPECT_EQ(SHLockShared(block, 4243).data(), nullptr);
    const auto locked = SHLockShared(block, 4242);
    ASSERT_NE(locked.data(), nullptr);
    EXPECT_EQ(std::vector<std::uint8_t>(locked.begin(), locked.end()), bytes);
    EXPECT_TRUE(SHUnlockShared(block, 4242));
    EXPECT_FALSE(SHUnlockShared(block, 4242));
    EXPECT_FALSE(SHFreeShared(block, 1));
    EXPECT_TRUE(SHFreeShared(block, 4242));
    EXPECT_EQ(SHLockShared(block, 4242).data(), nullptr);
}

// --- pop-up menus

TEST(PopupMenuTest, EntriesAreDeletedByCommandAndThePickIsAnswered)
{
    TMenu menu{MenuItem(10, "Zpět"), MenuSeparator(),
               SubMenu("Více", {MenuItem(30, "Tisk"), MenuItem(10, "Zpět znovu")})};
    EXPECT_TRUE(DeleteMenu(menu, 10));
    EXPECT_EQ(MenuCommands(menu), std::vector<UINT>{30});
    EXPECT_FALSE(DeleteMenu(menu, 99));

    TMenu shown;
    TPoint where;
    auto previous = SetPopupMenuHandler([&](const TMenu& m, TPoint p, HWND) {
        shown = m;
        where = p;
        return UINT{30};
    });
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 12, 34, nullptr), 30u);
    EXPECT_EQ(MenuCommands(shown), std::vector<UINT>{30});
    EXPECT_EQ(where, (TPoint{12, 34}));

    // Without TPM_RETURNCMD the owner hears of the command.
    Recorder owner;
    EXPECT_EQ(TrackPopupMenuEx(menu, 0, 0, 0, owner.window), 1u);
    ASSERT_EQ(owner.Ids(), std::vector<UINT>{WM_COMMAND});
    EXPECT_EQ(LoWord(owner.messages[0].WParam), 30);
    SetPopupMenuHandler(previous);
}

} // namespace
