// The browser among other controls: Tab and Shift+Tab reach it in its place of
// the tab order and leave it to its neighbours, also after the engine has made
// its widgets anew for a page of another site.
//
// What a user expects of a page in the chain: Tab into the browser lands on the
// page's first field and goes on through its fields as in any browser; after the
// last one it leaves to the next control. Shift+Tab comes in at the last field
// and leaves from the first to the previous control.

#include "tests/browser/BrowserFixture.h"

#include "platform/ui/controls/Edits.h"

#include <QApplication>
#include <QKeyEvent>

#include <string>
#include <vector>

using namespace browser;
using browsertest::BrowserFixture;

namespace {

class TabOrderTest : public BrowserFixture {
protected:
    void SetUp() override
    {
        BrowserFixture::SetUp();
        before = Edit(0);
        b = Make();
        b->SetAlign(ui::TAlign::alNone);
        b->SetBounds(10, 40, 400, 300);
        after = Edit(350);
        b->SetTabOrder(1);
        b->Loaded();
        form->Show();
        QApplication::setActiveWindow(form->Widget());
        server.ServeHtml("/fields.html", "<p>úschovna</p><input id=konverze><input id=pruvodka>");
    }

    ui::TEdit* Edit(int top)
    {
        auto* edit = new ui::TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, top, 100, 24);
        return edit;
    }

    // Where the focus is: "before", "after", or the browser and the id of the page's focused element.
    std::string FocusPlace()
    {
        if (before->Focused())
            return "before";
        if (after->Focused())
            return "after";
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || !b->Widget()->isAncestorOf(focus))
            return "elsewhere";
        return "browser:" + b->Browser().Evaluate("document.activeElement ? document.activeElement.id : ''").AsString();
    }

    // Presses the key where the focus is, as the keyboard does (Shift+Tab comes as Backtab).
    bool Press(bool backwards, const std::string& expected)
    {
        const Qt::Key key = backwards ? Qt::Key_Backtab : Qt::Key_Tab;
        const Qt::KeyboardModifiers modifiers = backwards ? Qt::ShiftModifier : Qt::NoModifier;
        QWidget* target = QApplication::focusWidget();
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(target, &release);
        return testsupport::WaitUntil([&] { return FocusPlace() == expected; }, 5000);
    }

    struct Step {
        bool backwards;
        const char* expected;
    };

    // The engine passes keys on unread until a new page has been drawn: wait for that.
    void WaitUntilDrawn()
    {
        b->Browser().Evaluate("window.drawn = false;"
                              "requestAnimationFrame(() => requestAnimationFrame(() => window.drawn = true)); 0");
        ASSERT_TRUE(WaitUntil([&] { return b->Browser().Evaluate("window.drawn").AsBoolean(); }));
    }

    void WalkThrough(const std::vector<Step>& steps)
    {
        WaitUntilDrawn();
        before->SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return before->Focused(); }));
        for (std::size_t i = 0; i < steps.size(); ++i)
            EXPECT_TRUE(Press(steps[i].backwards, steps[i].expected))
                << "step " << i << ": expected " << steps[i].expected << ", focus at " << FocusPlace();
    }

    ui::TEdit* before = nullptr;
    THostedBrowser* b = nullptr;
    ui::TEdit* after = nullptr;
};

TEST_F(TabOrderTest, TabAndShiftTabPassThroughTheBrowserInItsPlace)
{
    const std::vector<Step> throughFields{
        {false, "browser:konverze"}, {false, "browser:pruvodka"}, {false, "after"},
        {false, "before"}, // from the last control round to the first, not into the page again
        {true, "after"},   {true, "browser:pruvodka"}, {true, "browser:konverze"}, {true, "before"},
    };
    Load(b, "/fields.html");
    WalkThrough(throughFields);

    // A page of another site: the engine shows it in widgets made anew.
    QWidget* engineFocus = b->EngineWindow()->focusProxy();
    std::string other = server.Url("/fields.html");
    other.replace(other.find("127.0.0.1"), 9, "localhost");
    b->Navigate(other);
    ASSERT_TRUE(WaitUntil([&] { return b->ReadyState() == 4 && b->EngineWindow()->focusProxy() != engineFocus; }));
    WalkThrough(throughFields);

    // A page without fields takes the focus once, so that its keys scroll it.
    server.ServeHtml("/text.html", "<p>jen text</p>");
    Load(b, "/text.html");
    WalkThrough({{false, "browser:"}, {false, "after"}, {true, "browser:"}, {true, "before"}});

    // Alone on its form, Tab goes round the page.
    after->SetVisible(false);
    Load(b, "/fields.html");
    WalkThrough({{false, "browser:konverze"}, {false, "browser:pruvodka"}, {false, "before"}});
    before->SetVisible(false);
    Load(b, "/fields.html");
    WaitUntilDrawn();
    b->SetFocus();
    ASSERT_TRUE(WaitUntil([&] { return FocusPlace() == "browser:"; }));
    EXPECT_TRUE(Press(false, "browser:konverze"));
    EXPECT_TRUE(Press(false, "browser:pruvodka"));
    EXPECT_TRUE(Press(false, "browser:konverze"));

    // Without a tab stop the browser is passed by.
    before->SetVisible(true);
    after->SetVisible(true);
    b->SetTabStop(false);
    WalkThrough({{false, "after"}, {true, "before"}});
}

} // namespace
