#include "browser/BrowserTools.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/Registry.h"
#include "platform/ui/dialogs/ScriptedDialogs.h"
#include "tests/browser/BrowserFixture.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using namespace browser;
using browsertest::BrowserFixture;

namespace {

const char* const PageSetupKey = "\\Software\\Microsoft\\Internet Explorer\\PageSetup";

// A control on a form that is being designed.
class TDesignedBrowser : public THostedBrowser {
public:
    explicit TDesignedBrowser(core::TComponent* owner) : THostedBrowser(owner) { SetDesigning(true); }
};

class BrowserPropertiesTest : public BrowserFixture {
protected:
    void TearDown() override
    {
        core::FormatSettings.DecimalSeparator = separator_;
        BrowserFixture::TearDown();
    }
    static void WritePageSetup(const std::vector<std::pair<std::string, std::string>>& values)
    {
        core::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(PageSetupKey, true));
        for (const auto& [name, value] : values)
            registry.WriteString(name, value);
    }

    ui::TScriptedDialogs dialogs;

private:
    std::string separator_ = core::FormatSettings.DecimalSeparator;
};

TEST_F(BrowserPropertiesTest, PageSetupIsReadAtDesignTimeByTheUsersConventions)
{
    core::FormatSettings.DecimalSeparator = ",";
    WritePageSetup({{"header", "&w&bStránka č. &p z &P"},
                    {"footer", "&u&b&d"},
                    {"margin_left", "0.750000"},
                    {"margin_right", "0,5"},
                    {"margin_bottom", " 1 . 25 "}}); // no margin_top: the engine's 0.75 inch
    auto* b = new TDesignedBrowser(form);
    b->Loaded();
    EXPECT_EQ(dialogs.Questions().size(), 0u) << dialogs.Describe();
    TPrintOptions& print = b->PrintOptions();
    EXPECT_EQ(print.MarginsInInches(), b->LocaleInches());
    const double unit = b->LocaleInches() ? 1.0 : 25.4;
    EXPECT_EQ(print.Header(), "&w&bStránka č. &p z &P");
    EXPECT_EQ(print.Footer(), "&u&b&d");
    EXPECT_DOUBLE_EQ(print.Margins().Left(), 0.75 * unit);
    EXPECT_DOUBLE_EQ(print.Margins().Right(), 0.5 * unit);
    EXPECT_DOUBLE_EQ(print.Margins().Top(), 0.75 * unit);
    EXPECT_DOUBLE_EQ(print.Margins().Bottom(), 1.25 * unit);
    // Nothing of the run time happens on a form being designed.
    EXPECT_FALSE(HasToken(DefaultUserAgentToken));

    // With a decimal point as the separator the same values read alike.
    core::FormatSettings.DecimalSeparator = ".";
    WritePageSetup({{"margin_right", "0.5"}});
    b->ReadPageSetupRegistry();
    EXPECT_EQ(dialogs.Questions().size(), 0u) << dialogs.Describe();
    EXPECT_DOUBLE_EQ(print.Margins().Right(), 0.5 * unit);
    EXPECT_DOUBLE_EQ(print.Margins().Left(), 0.75 * unit);
}

TEST_F(BrowserPropertiesTest, APageSetupValueThatIsNoNumberIsReported)
{
    core::FormatSettings.DecimalSeparator = ",";
    WritePageSetup({{"header", "Záhlaví"}, {"margin_left", "0.5"}, {"margin_right", "půl palce"}});
    auto* b = new TDesignedBrowser(form);
    b->Loaded();
    ASSERT_EQ(dialogs.Questions().size(), 1u) << dialogs.Describe();
    const ui::TDialogQuestion& question = dialogs.Questions()[0];
    EXPECT_EQ(question.Kind, ui::TDialogKind::MessageDlg);
    EXPECT_EQ(question.Text, "Error while getting page print values from the registry!");
    EXPECT_EQ(question.Type, ui::TMsgDlgType::mtError);
    EXPECT_EQ(question.Buttons, ui::mbOK);
    // What was read before the bad value is kept.
    const double unit = b->LocaleInches() ? 1.0 : 25.4;
    EXPECT_EQ(b->PrintOptions().Header(), "Záhlaví");
    EXPECT_DOUBLE_EQ(b->PrintOptions().Margins().Left(), 0.5 * unit);
    EXPECT_DOUBLE_EQ(b->PrintOptions().Margins().Right(), 0.0);
}

TEST_F(BrowserPropertiesTest, PrintOptionsAreOnlyCarriedAtRunTime)
{
    WritePageSetup({{"header", "Záhlaví"}, {"margin_left", "1"}});
    THostedBrowser* b = Make();
    b->Loaded();
    EXPECT_EQ(dialogs.Questions().size(), 0u);
    EXPECT_EQ(b->PrintOptions().Header(), "");
    EXPECT_DOUBLE_EQ(b->PrintOptions().Margins().Left(), 0.0);
}

TEST_F(BrowserPropertiesTest, ASecondLoadedChangesNothing)
{
    THostedBrowser* b = Make();
    b->SetUserAgent("Agent");
    b->Loaded();
    b->Loaded();
    const std::string token = std::string("Agent") + DefaultUserAgentToken;
    EXPECT_EQ(b->UserAgent(), token);
    EXPECT_TRUE(HasToken(token));
    EXPECT_FALSE(HasToken(token + DefaultUserAgentToken));

    // The control's procedure runs once per message and passes it on once.
    int queries = 0;
    b->OnCloseQuery = [&](core::TObject*, bool&) { ++queries; };
    form->Show();
    EXPECT_TRUE(b->Widget()->close());
    EXPECT_EQ(queries, 1);
    delete b;
    EXPECT_FALSE(HasToken(token));
}

TEST_F(BrowserPropertiesTest, TheBrowsersOwnPropertiesAndTheirEvents)
{
    THostedBrowser* b = Make();
    EXPECT_FALSE(b->AddressBar());
    EXPECT_FALSE(b->FullScreen());
    EXPECT_FALSE(b->MenuBar());
    EXPECT_FALSE(b->Offline());
    EXPECT_FALSE(b->RegisterAsBrowser());
    EXPECT_TRUE(b->RegisterAsDropTarget());
    EXPECT_TRUE(b->Resizable());
    EXPECT_FALSE(b->Silent());
    EXPECT_FALSE(b->StatusBar());
    EXPECT_EQ(b->StatusText(), "");
    EXPECT_FALSE(b->TheaterMode());
    EXPECT_FALSE(b->ToolBar());
    EXPECT_TRUE(b->Visible());

    std::vector<std::string> events;
    auto record = [&](const char* name) {
        return [&events, b, name](core::TObject* sender, bool value) {
            EXPECT_EQ(sender, b);
            events.push_back(std::string(name) + (value ? " zapnuto" : " vypnuto"));
        };
    };
    b->OnAddressBar = record("AddressBar");
    b->OnFullScreen = record("FullScreen");
    b->OnMenuBar = record("MenuBar");
    b->OnStatusBar = record("StatusBar");
    b->OnTheaterMode = record("TheaterMode");
    b->OnToolBar = record("ToolBar");
    b->OnVisible = record("Visible");
    b->OnStatusTextChange = [&](core::TObject* sender, const std::string& text) {
        EXPECT_EQ(sender, b);
        events.push_back("StatusText " + text);
    };
    b->SetToolBar(true);
    b->SetToolBar(true); // no change, no event
    b->SetMenuBar(true);
    b->SetStatusBar(true);
    b->SetAddressBar(true);
    b->SetFullScreen(true);
    b->SetTheaterMode(true);
    b->SetStatusText("Načítání…");
    b->SetStatusText("Načítání…");
    b->SetVisible(false);
    b->SetVisible(false);
    b->SetVisible(true);
    b->SetToolBar(false);
    EXPECT_EQ(events, (std::vector<std::string>{"ToolBar zapnuto", "MenuBar zapnuto", "StatusBar zapnuto",
                                                "AddressBar zapnuto", "FullScreen zapnuto", "TheaterMode zapnuto",
                                                "StatusText Načítání…", "Visible vypnuto", "Visible zapnuto",
                                                "ToolBar vypnuto"}));
    EXPECT_TRUE(b->MenuBar());
    EXPECT_EQ(b->StatusText(), "Načítání…");
    EXPECT_TRUE(b->Visible());

    b->SetSilent(true);
    b->SetOffline(true);
    b->SetRegisterAsBrowser(true);
    b->SetResizable(false);
    EXPECT_TRUE(b->Silent());
    EXPECT_TRUE(b->Offline());
    EXPECT_TRUE(b->RegisterAsBrowser());
    EXPECT_FALSE(b->Resizable());
}

TEST_F(BrowserPropertiesTest, GoingBackAndForwardIsReportedAsItBecomesPossible)
{
    server.ServeHtml("/first.html", "<p>první</p>");
    server.ServeHtml("/second.html", "<p>druhá</p>");
    THostedBrowser* b = Make();
    b->Loaded();
    std::vector<std::pair<std::int32_t, bool>> states;
    b->OnCommandStateChange = [&](core::TObject* sender, std::int32_t command, bool enable) {
        EXPECT_EQ(sender, b);
        states.emplace_back(command, enable);
    };
    Load(b, "/first.html");
    EXPECT_TRUE(states.empty()); // nothing to go back to yet
    Load(b, "/second.html");
    ASSERT_TRUE(WaitUntil([&] { return !states.empty(); }));
    EXPECT_EQ(states, (std::vector<std::pair<std::int32_t, bool>>{{web::CSC_NAVIGATEBACK, true}}));

    states.clear();
    b->Browser().GoBack();
    ASSERT_TRUE(WaitUntil([&] { return states.size() >= 2; }));
    std::sort(states.begin(), states.end());
    EXPECT_EQ(states, (std::vector<std::pair<std::int32_t, bool>>{{web::CSC_NAVIGATEFORWARD, true},
                                                                  {web::CSC_NAVIGATEBACK, false}}));
}

TEST_F(BrowserPropertiesTest, ADropTargetNoLongerRegisteredTakesNoDrags)
{
    THostedBrowser* b = Make();
    b->Loaded();
    form->Show();
    int enters = 0;
    b->OnDragEnter = [&](IDataObject*, std::int32_t, ui::TPoint, std::int32_t&, const std::string&) {
        ++enters;
        return S_OK;
    };
    QMimeData text;
    text.setText("přetažené");
    QDragEnterEvent first(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b->EngineWindow(), &first);
    EXPECT_EQ(enters, 1);

    b->SetRegisterAsDropTarget(false);
    QDragEnterEvent second(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b->EngineWindow(), &second);
    EXPECT_EQ(enters, 1);
    EXPECT_FALSE(second.isAccepted());

    // The drag ends, so that Qt forgets the window that took the first one.
    QDragLeaveEvent leave;
    QApplication::sendEvent(b->EngineWindow(), &leave);
}

} // namespace

namespace {

TEST_F(BrowserPropertiesTest, TheInheritedControlPropertiesAndEvents)
{
    THostedBrowser* b = Make();
    b->SetAlign(ui::TAlign::alNone);
    b->SetBounds(10, 10, 300, 200);
    b->Loaded();
    form->Show();
    EXPECT_EQ(b->Anchors(), ui::akLeft | ui::akTop);
    EXPECT_EQ(b->DragCursor(), ui::TCursor::crDrag);
    EXPECT_EQ(b->DragMode(), ui::TDragMode::dmManual);
    EXPECT_TRUE(b->ParentShowHint());
    EXPECT_EQ(b->PopupMenu(), nullptr);
    EXPECT_EQ(b->TabOrder(), 0);
    EXPECT_FALSE(b->OnDragDrop || b->OnDragOver || b->OnEndDrag || b->OnStartDrag);

    // Anchored to all four edges, the control and its engine's window grow with the form.
    b->SetAnchors(ui::akLeft | ui::akTop | ui::akRight | ui::akBottom);
    form->SetBounds(0, 0, 900, 650);
    EXPECT_EQ(b->Width(), 400);
    EXPECT_EQ(b->Height(), 250);
    EXPECT_EQ(b->Widget()->size(), QSize(400, 250));
    ASSERT_NE(b->EngineWindow(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return b->EngineWindow()->size() == QSize(400, 250); }));

    THostedBrowser* second = Make();
    EXPECT_EQ(second->TabOrder(), 1);
    second->SetTabOrder(0);
    EXPECT_EQ(b->TabOrder(), 1);
    form->SetShowHint(true);
    EXPECT_TRUE(b->ShowHint());
}

} // namespace
