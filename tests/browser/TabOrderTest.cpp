// Tab and Shift+Tab through edit, browser, edit. What a careful user expects:
// Tab into the browser lands on the page's first field and goes on through its
// fields as in any browser, after the last it leaves to the next control;
// Shift+Tab comes in at the last field and leaves from the first to the previous
// control. A page without fields takes the focus once (its keys scroll it).
// Navigating keeps the focus where it is: in the page (the new one) or beside it.

#include "tests/browser/BrowserFixture.h"

#include "platform/ui/controls/Edits.h"

#include <QApplication>
#include <QKeyEvent>

using namespace browser;

namespace {

class TabOrderTest : public browsertest::BrowserFixture {
protected:
    void SetUp() override
    {
        BrowserFixture::SetUp();
        before = new ui::TEdit(form);
        b = new THostedBrowser(form);
        after = new ui::TEdit(form);
        for (auto* edit : {before, after}) {
            edit->SetParent(form);
            edit->SetBounds(10, edit == before ? 0 : 350, 100, 24);
        }
        b->SetParent(form);
        b->SetBounds(10, 40, 400, 300);
        b->SetTabOrder(1);
        b->Loaded();
        form->Show();
        QApplication::setActiveWindow(form->Widget());
        server.ServeHtml("/fields.html", "<p>úschovna</p><input id=konverze><input id=pruvodka>");
    }

    // "before", "after", or "browser:" and the id of the page's focused element.
    std::string FocusPlace()
    {
        QWidget* focus = QApplication::focusWidget();
        if (before->Focused() || after->Focused())
            return before->Focused() ? "before" : "after";
        if (focus == nullptr || !b->Widget()->isAncestorOf(focus))
            return "elsewhere";
        return "browser:" + b->Browser().Evaluate("document.activeElement.id").AsString();
    }

    // Presses Tab (Shift+Tab comes as Backtab, as from the keyboard) and waits for the focus to arrive.
    bool Press(bool backwards, const std::string& expected)
    {
        const auto key = backwards ? Qt::Key_Backtab : Qt::Key_Tab;
        const auto modifiers = backwards ? Qt::ShiftModifier : Qt::NoModifier;
        QWidget* target = QApplication::focusWidget();
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, modifiers);
            QApplication::sendEvent(target, &event);
        }
        return testsupport::WaitUntil([&] { return FocusPlace() == expected; }, 5000);
    }

    // Navigates to the page under the server's other host name, another site, which
    // the engine shows in widgets made anew, and waits until it is drawn.
    void NavigateToOtherSite(const std::string& path)
    {
        QWidget* engineFocus = b->EngineWindow()->focusProxy();
        std::string url = server.Url(path);
        if (b->LocationURL().find("127.0.0.1") != std::string::npos)
            url.replace(url.find("127.0.0.1"), 9, "localhost");
        b->Navigate(url);
        ASSERT_TRUE(WaitUntil([&] { return b->ReadyState() == 4 && b->EngineWindow()->focusProxy() != engineFocus; }));
        WaitUntilDrawn(b);
    }

    // From the focus in the first edit, each step a key and the place the focus goes.
    void WalkThrough(const std::vector<std::pair<bool, std::string>>& steps)
    {
        WaitUntilDrawn(b);
        before->SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return before->Focused(); }));
        for (const auto& [backwards, expected] : steps)
            EXPECT_TRUE(Press(backwards, expected)) << expected << ", focus at " << FocusPlace();
    }

    ui::TEdit* before = nullptr;
    THostedBrowser* b = nullptr;
    ui::TEdit* after = nullptr;
};

TEST_F(TabOrderTest, TabAndShiftTabPassThroughTheBrowserInItsPlace)
{
    const std::vector<std::pair<bool, std::string>> throughFields{
        {false, "browser:konverze"}, {false, "browser:pruvodka"}, {false, "after"},
        {false, "before"}, // round from the last control to the first, not into the page again
        {true, "after"},   {true, "browser:pruvodka"}, {true, "browser:konverze"}, {true, "before"},
    };
    Load(b, "/fields.html");
    WalkThrough(throughFields);

    // A page of another site: the focus in the page stays in the control, and Tab goes
    // on from the new page's top. The focus beside it stays there.
    ASSERT_TRUE(Press(false, "browser:konverze"));
    NavigateToOtherSite("/fields.html");
    EXPECT_TRUE(WaitUntil([&] { return FocusPlace() == "browser:"; })) << FocusPlace();
    for (const char* next : {"browser:konverze", "browser:pruvodka", "after"})
        EXPECT_TRUE(Press(false, next)) << next << ", focus at " << FocusPlace();
    NavigateToOtherSite("/fields.html");
    EXPECT_EQ(FocusPlace(), "after");
    WalkThrough(throughFields);

    server.ServeHtml("/text.html", "<p>jen text</p>");
    Load(b, "/text.html");
    WalkThrough({{false, "browser:"}, {false, "after"}, {true, "browser:"}, {true, "before"}});

    // Alone on its form, Tab goes round the page.
    after->SetVisible(false);
    Load(b, "/fields.html");
    WalkThrough({{false, "browser:konverze"}, {false, "browser:pruvodka"}, {false, "before"}});
    before->SetVisible(false); // the focus goes on from the hidden edit into the page
    EXPECT_TRUE(WaitUntil([&] { return FocusPlace() == "browser:konverze"; }));
    EXPECT_TRUE(Press(false, "browser:pruvodka"));
    EXPECT_TRUE(Press(false, "browser:konverze"));

    // Without its tab stop the browser is passed by.
    before->SetVisible(true);
    after->SetVisible(true);
    b->SetTabStop(false);
    WalkThrough({{false, "after"}, {true, "before"}});
}

} // namespace
