#include "platform/core/Exceptions.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/dialogs/ScriptedDialogs.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/DataModule.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

using namespace ui;

namespace {

class Module : public TDataModule {
public:
    explicit Module(core::TComponent* owner) : TDataModule(owner)
    {
        OnCreate = [](core::TObject*) { throw core::Exception("Databázi nelze otevřít"); };
    }
};

class Window : public TForm {
public:
    explicit Window(core::TComponent* owner) : TForm(owner) { SetCaption("Okno"); }
};

} // namespace

TEST(Application, CreateFormKeepsOrderStoresTheReferenceAndTakesTheFirstFormAsMain)
{
    TScriptedDialogs dialogs;
    Module* module = nullptr;
    Window* first = nullptr;
    Window* second = nullptr;
    Application->CreateForm(module);
    Application->CreateForm(first);
    Application->CreateForm(second);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(Application->MainForm(), first);
    // The failing OnCreate of the data module was reported, and creation went on.
    ASSERT_EQ(dialogs.Questions().size(), 1u);
    EXPECT_EQ(dialogs.Questions()[0].Text, "Databázi nelze otevřít.");
    EXPECT_EQ(dialogs.Questions()[0].Caption, "Zkouška");
    EXPECT_EQ(dialogs.Questions()[0].Flags, MB_OK | MB_ICONSTOP);
    FreeComponent(first);
    EXPECT_EQ(Application->MainForm(), nullptr);
    FreeComponent(second);
    FreeComponent(module);
}

TEST(Application, DefaultHandlerShowsTheMessageAndStaysSilentOnAbort)
{
    TScriptedDialogs dialogs;
    auto* form = CreateComponent<Window>(nullptr);
    auto* button = new TButton(form);
    button->SetParent(form);
    std::string message = "Soubor nelze otevřít";
    button->OnClick = [&](core::TObject*) {
        if (message.empty())
            core::Abort();
        throw core::EConvertError(message);
    };
    auto* qt = static_cast<QPushButton*>(button->Widget());
    qt->click();
    message = "Hotovo!";
    qt->click();
    message = "Verze 2.1";
    qt->click();
    message.clear();
    qt->click();
    ASSERT_EQ(dialogs.Questions().size(), 3u) << dialogs.Describe();
    EXPECT_EQ(dialogs.Questions()[0].Text, "Soubor nelze otevřít.");
    EXPECT_EQ(dialogs.Questions()[1].Text, "Hotovo!");
    EXPECT_EQ(dialogs.Questions()[2].Text, "Verze 2.1.");
    FreeComponent(form);
}

TEST(Application, OnExceptionReplacesTheMessageBox)
{
    TScriptedDialogs dialogs;
    std::string heard;
    Application->OnException = [&](core::TObject*, const std::exception& e) { heard = e.what(); };
    try {
        throw core::Exception("chyba");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    Application->OnException = nullptr;
    EXPECT_EQ(heard, "chyba");
    EXPECT_TRUE(dialogs.Questions().empty());
}

TEST(Forms, CloseAsksAndHidesOrKeepsTheForm)
{
    auto* form = CreateComponent<Window>(nullptr);
    TCloseAction answer = TCloseAction::caNone;
    int closes = 0;
    form->OnClose = [&](core::TObject*, TCloseAction& action) {
        ++closes;
        EXPECT_EQ(action, TCloseAction::caHide);
        action = answer;
    };
    bool allow = false;
    form->OnCloseQuery = [&](core::TObject*, bool& canClose) { canClose = allow; };
    form->Show();
    form->Close();
    EXPECT_TRUE(form->Widget()->isVisible());
    EXPECT_EQ(closes, 0);
    allow = true;
    form->Close();
    EXPECT_TRUE(form->Widget()->isVisible());
    answer = TCloseAction::caHide;
    form->Close();
    EXPECT_FALSE(form->Widget()->isVisible());
    EXPECT_EQ(closes, 2);
    EXPECT_EQ(form->Caption(), "Okno");
    EXPECT_EQ(form->Widget()->windowTitle().toStdString(), "Okno");
    FreeComponent(form);
}

TEST(Forms, ShowModalEndsWithTheButtonsModalResult)
{
    auto* form = CreateComponent<Window>(nullptr);
    auto* ok = new TButton(form);
    ok->SetParent(form);
    ok->SetModalResult(mrOk);
    QTimer::singleShot(0, [ok] { ok->Click(); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(form->Widget()->isVisible());
    EXPECT_FALSE(form->Modal());
    QTimer::singleShot(0, [form] { form->Close(); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    FreeComponent(form);
}

TEST(Forms, ScreenCentrePlacesTheFormOnFirstShow)
{
    auto* form = CreateComponent<Window>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    form->SetPosition(TPosition::poScreenCenter);
    form->Show();
    QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(form->Left(), screen.center().x() - 150);
    EXPECT_EQ(form->Top(), screen.center().y() - 100);
    FreeComponent(form);
}
