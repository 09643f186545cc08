#include "platform/core/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/DataModule.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/ScriptedDialogs.h"
#include "platform/ui/StdCtrls.h"

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

TEST(Dialogs, ScriptedAnswersAndRecordedQuestions)
{
    TScriptedDialogs dialogs;
    dialogs.AnswerButton(mrYes);
    dialogs.AnswerInput("v Brně");
    dialogs.CancelInput();
    EXPECT_EQ(MessageDlg("Opravdu?", TMsgDlgType::mtWarning, mbYesNo), mrYes);
    EXPECT_EQ(InputBox("Soud", "Doplňte:", "v Benešově"), "v Brně");
    EXPECT_EQ(InputBox("Soud", "Doplňte:", "v Benešově"), "v Benešově");
    // Nothing queued: the cancelling answer, and the question is marked.
    EXPECT_EQ(Application->MessageBox("Uložit?", "Dotaz", MB_YESNO), IDNO);
    EXPECT_EQ(Application->MessageBox("Hotovo", "Info", MB_OK), IDOK);
    ASSERT_EQ(dialogs.Questions().size(), 5u);
    EXPECT_EQ(dialogs.Questions()[0].Caption, "Varování");
    EXPECT_EQ(dialogs.Questions()[0].Buttons, mbYes | mbNo);
    EXPECT_EQ(dialogs.Questions()[1].Value, "v Benešově");
    EXPECT_EQ(dialogs.Questions()[1].Text, "Doplňte:");
    EXPECT_EQ(dialogs.Unanswered(), 2);
    EXPECT_EQ(dialogs.Pending(), 0);
}

TEST(Dialogs, AnswerOfTheWrongKindStaysQueued)
{
    TScriptedDialogs dialogs;
    dialogs.AnswerInput("text");
    EXPECT_EQ(MessageDlg("?", TMsgDlgType::mtConfirmation, mbYesNoCancel), mrCancel);
    EXPECT_EQ(dialogs.Unanswered(), 1);
    EXPECT_EQ(dialogs.Pending(), 1);
}

TEST(Dialogs, FileDialogsTakeTheChosenFileAndTheSaveDialogItsExtension)
{
    TScriptedDialogs dialogs;
    TOpenDialog open(nullptr);
    open.SetFilter("XML soubory|*.xml");
    dialogs.CancelFile();
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName(), "");
    dialogs.AnswerFile("/tmp/data.xml");
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName(), "/tmp/data.xml");
    EXPECT_EQ(dialogs.Questions()[1].File.Filter, "XML soubory|*.xml");
    EXPECT_FALSE(dialogs.Questions()[1].File.Save);

    TSaveDialog save(nullptr);
    save.SetDefaultExt("xls");
    dialogs.AnswerFile("/tmp/evidence", 2);
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), "/tmp/evidence.xls");
    EXPECT_EQ(save.FilterIndex(), 2);
    dialogs.AnswerFile("/tmp/evidence.csv");
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), "/tmp/evidence.csv");
}

TEST(Dialogs, FilterSplitsIntoDescriptionsAndPatterns)
{
    auto entries = ParseDialogFilter(
        "Excel 2003 nebo vyšší|*.xls|Soubor CSV - lze otevřít v EXCEL, OPEN OFFICE|*.csv;*.txt");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Description, "Excel 2003 nebo vyšší");
    EXPECT_EQ(entries[0].Patterns, "*.xls");
    EXPECT_EQ(entries[1].Description, "Soubor CSV - lze otevřít v EXCEL, OPEN OFFICE");
    EXPECT_EQ(entries[1].Patterns, "*.csv;*.txt");
    EXPECT_TRUE(ParseDialogFilter("").empty());
    EXPECT_TRUE(ParseDialogFilter("jen popis").empty());
}
