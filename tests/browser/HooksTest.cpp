#include "browser/BrowserModule.h"
#include "tests/browser/BrowserFixture.h"

#include "platform/ui/controls/Edits.h"
#include "platform/ui/kernel/Dde.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPixmap>
#include <QWheelEvent>

using namespace browser;
using browsertest::BrowserFixture;

namespace {

class HooksTest : public BrowserFixture {
protected:
    void TearDown() override
    {
        ui::Application->OnMessage = nullptr;
        BrowserFixture::TearDown();
    }
};

// A control standing for one on a system before the window-position change of the
// control's own procedure was switched off.
class OlderSystemBrowser : public THostedBrowser {
public:
    explicit OlderSystemBrowser(core::TComponent* owner) : THostedBrowser(owner)
    {
        xpsp2_ = false;
        windowPositionFilter_ = true;
    }
};

ui::TMsg Wheel(ui::HWND window)
{
    return {window, ui::WM_MOUSEWHEEL, ui::MakeWParam(0, static_cast<ui::WORD>(-120)), 0, 0, {}};
}

TEST_F(HooksTest, TheReplacedHandlerStillRunsAndComesBackInAnyOrder)
{
    // The main form's handler turns the wheel into arrow keys; it must go on working.
    std::vector<ui::UINT> original;
    ui::Application->OnMessage = [&](ui::TMsg& msg, bool& handled) {
        original.push_back(msg.message);
        if (msg.message == ui::WM_MOUSEWHEEL)
            handled = true;
    };
    THostedBrowser* first = Make();
    THostedBrowser* second = Make();
    EXPECT_TRUE(MessageHookInstalled());

    ui::TMsg wheel = Wheel(form->Handle());
    bool handled = false;
    ui::Application->OnMessage(wheel, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(original, std::vector<ui::UINT>{ui::WM_MOUSEWHEEL});

    // The first control goes first: the hook stays for the second, still passing messages on.
    delete first;
    EXPECT_TRUE(MessageHookInstalled());
    handled = false;
    ui::Application->OnMessage(wheel, handled);
    EXPECT_EQ(original.size(), 2u);
    delete second;
    EXPECT_FALSE(MessageHookInstalled());
    ASSERT_TRUE(ui::Application->OnMessage);
    handled = false;
    ui::Application->OnMessage(wheel, handled);
    EXPECT_EQ(original.size(), 3u);

    // The other order.
    first = Make();
    second = Make();
    delete second;
    EXPECT_TRUE(MessageHookInstalled());
    delete first;
    EXPECT_FALSE(MessageHookInstalled());
    handled = false;
    ui::Application->OnMessage(wheel, handled);
    EXPECT_EQ(original.size(), 4u);

    // A handler put in front of the hook meanwhile stays; the hook passes through it.
    first = Make();
    ui::TMessageEvent hook = ui::Application->OnMessage;
    int frontCalls = 0;
    ui::Application->OnMessage = [&](ui::TMsg& msg, bool& h) {
        ++frontCalls;
        hook(msg, h);
    };
    delete first;
    handled = false;
    ui::Application->OnMessage(wheel, handled);
    EXPECT_EQ(frontCalls, 1);
    EXPECT_EQ(original.size(), 5u);
    second = Make(); // joins the hook still in place instead of wrapping it again
    handled = false;
    ui::Application->OnMessage(wheel, handled);
    EXPECT_EQ(original.size(), 6u);
    delete second;
}

TEST_F(HooksTest, WheelTranslationOfTheApplicationWorksWhileTheViewerLives)
{
    // The main form's handler, in place before the viewer's control is made.
    int wheels = 0;
    ui::Application->OnMessage = [&](ui::TMsg& msg, bool&) { wheels += msg.message == ui::WM_MOUSEWHEEL; };
    auto* other = new ui::TEdit(form);
    other->SetParent(form);
    THostedBrowser* b = Make();
    b->Loaded();
    form->Show();
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(other->Widget(), &wheel);
    EXPECT_EQ(wheels, 1);
}

TEST_F(HooksTest, EnterInsideTheControlGoesToTheEngineOnly)
{
    // The application's own handler, in place before the control.
    std::vector<ui::WORD> heard;
    ui::Application->OnMessage = [&](ui::TMsg& msg, bool&) {
        if (msg.message == ui::WM_KEYDOWN)
            heard.push_back(static_cast<ui::WORD>(msg.wParam));
    };
    auto* edit = new ui::TEdit(form);
    edit->SetParent(form);
    edit->SetAlign(ui::TAlign::alTop);
    THostedBrowser* b = Make();
    b->Loaded();
    form->Show();
    server.ServeHtml("/enter.html", "<html><body><input id=pole></body></html>");
    Load(b, "/enter.html");
    QWidget* view = b->EngineWindow();
    QWidget* target = view->focusProxy() ? view->focusProxy() : view;
    QApplication::setActiveWindow(form->Widget());
    target->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return target->hasFocus(); }));

    int deliveredToEngine = 0;
    struct Counter : QObject {
        int* count;
        explicit Counter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Return)
                ++*count;
            return false;
        }
    } counter(&deliveredToEngine);
    target->installEventFilter(&counter);

    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(target, &enter);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(target, &release);
    EXPECT_EQ(deliveredToEngine, 1); // delivered once, by the hook, past the application's handlers
    EXPECT_TRUE(heard.empty());

    // Enter elsewhere is left to the application and never reaches the engine.
    ui::TMsg outside{edit->Handle(), ui::WM_KEYDOWN, ui::VK_RETURN, 1, 0, {}};
    bool handled = true;
    b->ApplicationMessageHook(outside, handled);
    EXPECT_FALSE(handled);
    QKeyEvent enterOutside(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(edit->Widget(), &enterOutside);
    EXPECT_EQ(deliveredToEngine, 1);
    EXPECT_EQ(heard, std::vector<ui::WORD>{ui::VK_RETURN});

    // Other keys inside the page are not the hook's business.
    ui::TMsg letter{target, ui::WM_KEYDOWN, 'A', 1, 0, {}};
    handled = true;
    b->ApplicationMessageHook(letter, handled);
    EXPECT_FALSE(handled);
    target->removeEventFilter(&counter);
}

TEST_F(HooksTest, ControlWindowProcedureQueriesCloseAndFiltersDialogKeys)
{
    THostedBrowser* b = Make();
    b->Loaded();
    bool allow = false;
    int queries = 0;
    b->OnCloseQuery = [&](core::TObject* sender, bool& canClose) {
        EXPECT_EQ(sender, b);
        EXPECT_TRUE(canClose);
        ++queries;
        canClose = allow;
    };
    form->Show();
    QWidget* window = b->Widget();
    ASSERT_TRUE(window->isVisible());
    EXPECT_FALSE(window->close()); // refused: the window stays
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(queries, 1);
    b->Perform(ui::WM_CLOSE);
    EXPECT_EQ(queries, 2);
    allow = true;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(queries, 3);
}

TEST_F(HooksTest, DialogKeysPassOnlyWhileTheControlHasTheFocus)
{
    auto* edit = new ui::TEdit(form);
    edit->SetParent(form);
    edit->SetAlign(ui::TAlign::alTop);
    THostedBrowser* b = Make();
    // What the control's procedure passes on reaches the procedure it replaced.
    std::vector<ui::UINT> passed;
    ui::SetWindowSubclass(b->Handle(), 1, [&](ui::TMessage& m, const ui::TWndMethod& next) {
        passed.push_back(m.Msg);
        next(m);
    });
    b->Loaded();
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    edit->SetFocus();
    ASSERT_TRUE(WaitUntil([&] { return QApplication::focusWidget() == edit->Widget(); }));
    passed.clear();
    b->Perform(ui::CM_DIALOGKEY, ui::VK_TAB, 0);
    EXPECT_TRUE(passed.empty());
    QWidget* engine = b->EngineWindow();
    QWidget* target = engine->focusProxy() ? engine->focusProxy() : engine;
    target->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return QApplication::focusWidget() == target; }));
    passed.clear();
    b->Perform(ui::CM_DIALOGKEY, ui::VK_TAB, 0);
    EXPECT_EQ(passed, std::vector<ui::UINT>{ui::CM_DIALOGKEY});
    b->Perform(ui::WM_USER + 1);
    EXPECT_EQ(passed.back(), ui::WM_USER + 1); // everything else passes on
}

TEST_F(HooksTest, DdeTerminateIsAnswered)
{
    THostedBrowser* b = Make();
    b->Loaded();
    std::vector<ui::TMessage> partnerMessages;
    ui::HWND partner = ui::CreateWindowEx("Partner", "", nullptr, [&](ui::TMessage& m) { partnerMessages.push_back(m); });
    b->Perform(ui::WM_DDE_TERMINATE, ui::ParamFromWindow(partner), 0);
    ASSERT_TRUE(WaitUntil([&] { return !partnerMessages.empty(); }));
    EXPECT_EQ(partnerMessages[0].Msg, ui::WM_DDE_TERMINATE);
    EXPECT_EQ(ui::WindowFromParam(partnerMessages[0].WParam), b->Handle());
    // A partner that is no window: nothing is posted anywhere.
    b->Perform(ui::WM_DDE_TERMINATE, 0x4321, 0);
    ui::DestroyWindow(partner);
}

TEST_F(HooksTest, WindowPositionChangesOnOlderSystems)
{
    auto* b = new OlderSystemBrowser(form);
    b->SetParent(form);
    b->SetBounds(10, 10, 200, 100);
    b->Loaded();
    std::vector<std::string> events;
    b->OnMove = [&](core::TObject*, int x, int y) { events.push_back("move " + std::to_string(x) + "," + std::to_string(y)); };
    b->OnResize = [&](core::TObject*, int w, int h) { events.push_back("size " + std::to_string(w) + "," + std::to_string(h)); };
    b->SetBounds(30, 40, 200, 100); // a pure move becomes the event
    EXPECT_EQ(b->Left(), 10);
    EXPECT_EQ(b->Top(), 10);
    b->SetBounds(10, 10, 250, 120); // a pure resize too
    EXPECT_EQ(b->Width(), 200);
    EXPECT_EQ(b->Height(), 100);
    b->SetBounds(50, 60, 300, 150); // both at once go through
    EXPECT_EQ(b->Left(), 50);
    EXPECT_EQ(b->Width(), 300);
    EXPECT_EQ(events, (std::vector<std::string>{"move 30,40", "size 250,120"}));
    EXPECT_TRUE(b->WindowPositionFilter());
    // A number in LParam that is no change being made is not followed.
    b->Perform(ui::WM_WINDOWPOSCHANGING, 0, 0x1234);
    EXPECT_EQ(events.size(), 2u);

    // On current systems the filter is off: moves and sizes apply, no event.
    THostedBrowser* current = Make();
    current->SetAlign(ui::TAlign::alNone);
    current->Loaded();
    int currentEvents = 0;
    current->OnMove = [&](core::TObject*, int, int) { ++currentEvents; };
    current->SetBounds(5, 6, 100, 100);
    current->SetBounds(7, 8, 100, 100);
    EXPECT_EQ(current->Left(), 7);
    EXPECT_EQ(currentEvents, 0);
    EXPECT_FALSE(current->WindowPositionFilter());
}

// --- the owner's dialog boxes

class OwnerHookTest : public HooksTest {
protected:
    THostedBrowser* control = nullptr;
    std::vector<ui::HWND> shown;

    void Prepare()
    {
        control = Make();
        control->Loaded();
        control->OnShowDialog = [this](core::TObject* sender, ui::HWND dialog) {
            EXPECT_EQ(sender, control);
            shown.push_back(dialog);
        };
    }
    // A dialog box of the page (owned by the engine's window) or of the application (owned by the form).
    QMessageBox* Dialog(const QString& caption, bool ofThePage)
    {
        auto* box = new QMessageBox(QMessageBox::Information, caption, "text", QMessageBox::Ok,
                                    ofThePage ? control->EngineWindow() : form->Handle());
        box->setAttribute(Qt::WA_DeleteOnClose);
        return box;
    }
    // Tells the form that the dialog box took the activation, as the desktop does.
    void Activate(QWidget* dialog)
    {
        ui::SendMessage(form->Handle(), ui::WM_ACTIVATE, ui::MakeWParam(ui::WA_INACTIVE, 0),
                        static_cast<ui::LPARAM>(ui::ParamFromWindow(dialog)));
    }
};

TEST_F(OwnerHookTest, CaptionsOfThePageDialogsAreReplaced)
{
    Prepare();
    QPointer<QMessageBox> plain = Dialog("Microsoft Internet Explorer", true);
    Activate(plain);
    EXPECT_EQ(plain->windowTitle().toStdString(), "Web Browser");

    QPointer<QMessageBox> other = Dialog("Zpráva stránky", true);
    Activate(other);
    EXPECT_EQ(other->windowTitle().toStdString(), "Web Browser:  Zpráva stránky");

    control->MessagesBoxes().SetNewCaption("Prohlížeč Konverze");
    QPointer<QMessageBox> named = Dialog("Microsoft Internet Explorer – upozornění", true);
    Activate(named);
    EXPECT_EQ(named->windowTitle().toStdString(), "Prohlížeč Konverze – upozornění");
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], plain.data());

    // A dialog box about an error is closed while errors are suppressed.
    control->MessagesBoxes().SetNewCaption("");
    QPointer<QMessageBox> error = Dialog("Internet Explorer Script Error", true);
    error->show();
    Activate(error);
    EXPECT_EQ(error->windowTitle().toStdString(), "Web Browser Script Error");
    ASSERT_TRUE(WaitUntil([&] { return error.isNull() || !error->isVisible(); }));

    control->DisableErrors().SetScriptError(false);
    QPointer<QMessageBox> kept = Dialog("Internet Explorer Script Error", true);
    kept->show();
    Activate(kept);
    ui::Application->ProcessMessages();
    ASSERT_FALSE(kept.isNull());
    EXPECT_TRUE(kept->isVisible());
    for (auto* box : {plain.data(), other.data(), named.data(), kept.data()})
        delete box;
}

TEST_F(OwnerHookTest, IconsAndClosingOfThePageDialogs)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::blue);
    const QIcon previousIcon = QApplication::windowIcon();
    QApplication::setWindowIcon(QIcon(pixmap));
    Prepare();
    QPointer<QMessageBox> box = Dialog("Zpráva", true);
    Activate(box);
    EXPECT_EQ(box->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    delete box;

    control->MessagesBoxes().SetDisableAll(true);
    QPointer<QMessageBox> closed = Dialog("Zpráva", true);
    closed->show();
    Activate(closed);
    EXPECT_TRUE(closed.isNull() || !closed->isVisible());
    QApplication::setWindowIcon(previousIcon);
}

TEST_F(OwnerHookTest, TheApplicationsOwnMessageBoxesAreLeftAlone)
{
    Prepare();
    control->MessagesBoxes().SetDisableAll(true);
    QPointer<QMessageBox> own = Dialog("Microsoft Internet Explorer Error", false);
    own->show(); // the form hears of it as the desktop tells it
    ASSERT_TRUE(WaitUntil([&] { return shown.size() == 1; }));
    ASSERT_FALSE(own.isNull());
    EXPECT_TRUE(own->isVisible());
    EXPECT_EQ(own->windowTitle().toStdString(), "Microsoft Internet Explorer Error");
    EXPECT_EQ(shown.size(), 1u); // the event still hears of it
    delete own;

    // Other activations and windows that are no dialog boxes are not touched either.
    ui::SendMessage(form->Handle(), ui::WM_ACTIVATE, ui::MakeWParam(ui::WA_ACTIVE, 0), 0);
    ui::SendMessage(form->Handle(), ui::WM_ACTIVATE, ui::MakeWParam(ui::WA_INACTIVE, 0), 0x5555);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(OwnerHookTest, OwnerHooksOfTwoControlsComeOffInEitherOrder)
{
    std::vector<ui::UINT> formMessages;
    form->WindowProc = [&](ui::TMessage& m) { formMessages.push_back(m.Msg); };
    THostedBrowser* first = Make();
    THostedBrowser* second = Make();
    first->Loaded();
    second->Loaded();
    int firstShown = 0;
    int secondShown = 0;
    first->OnShowDialog = [&](core::TObject*, ui::HWND) { ++firstShown; };
    second->OnShowDialog = [&](core::TObject*, ui::HWND) { ++secondShown; };
    QWidget probe;
    ui::SendMessage(form->Handle(), ui::WM_ACTIVATE, ui::MakeWParam(ui::WA_INACTIVE, 0),
                    static_cast<ui::LPARAM>(ui::ParamFromWindow(&probe)));
    EXPECT_EQ(firstShown, 1);
    EXPECT_EQ(secondShown, 1);
    delete first;
    ui::SendMessage(form->Handle(), ui::WM_ACTIVATE, ui::MakeWParam(ui::WA_INACTIVE, 0),
                    static_cast<ui::LPARAM>(ui::ParamFromWindow(&probe)));
    EXPECT_EQ(secondShown, 2);
    delete second;
    formMessages.clear();
    form->Perform(ui::WM_USER + 7);
    EXPECT_EQ(formMessages, std::vector<ui::UINT>{ui::WM_USER + 7});
    EXPECT_EQ(firstShown, 1);
    EXPECT_EQ(secondShown, 2);
}

TEST_F(OwnerHookTest, APagesAlertIsShownWithTheControlsCaption)
{
    Prepare();
    std::string caption;
    control->OnShowDialog = [&](core::TObject*, ui::HWND dialog) {
        caption = ui::GetWindowText(dialog);
        ui::PostMessage(dialog, ui::WM_CLOSE);
    };
    form->Show();
    server.ServeHtml("/alert.html", R"(<html><body><script>
        setTimeout(function () { alert('Pozor'); document.title = 'po zprávě'; }, 0);
        </script></body></html>)");
    Load(control, "/alert.html");
    ASSERT_TRUE(WaitUntil([&] { return control->LocationName() == "po zprávě"; }));
    EXPECT_EQ(caption, "Web Browser:  Zpráva z webové stránky");
}

TEST_F(OwnerHookTest, AlertsAnsweredByTheEventShowNoDialog)
{
    Prepare();
    std::vector<std::string> texts;
    control->OnShowMessage = [&](ui::HWND window, const std::string& text, const std::string& caption,
                                 std::int32_t type, const std::string&, std::int32_t, std::int32_t& result) {
        EXPECT_EQ(window, control->EngineWindow());
        EXPECT_EQ(caption, "Zpráva z webové stránky");
        EXPECT_EQ(type, 0x30);
        texts.push_back(text);
        result = 1;
        return S_OK;
    };
    server.ServeHtml("/alert.html", "<script>alert('Žádné okno'); document.title = 'hotovo';</script>");
    Load(control, "/alert.html");
    ASSERT_TRUE(WaitUntil([&] { return control->LocationName() == "hotovo"; }));
    EXPECT_EQ(texts, std::vector<std::string>{"Žádné okno"});
    EXPECT_TRUE(shown.empty());
}

} // namespace
