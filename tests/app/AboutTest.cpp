// The about tab, the settings and the update check as the main form runs them.
#include "RegisterFixture.h"

#include "app/BuildSettings.h"
#include "app/Folders.h"
#include "app/UpdateCheck.h"
#include "platform/core/Files.h"
#include "platform/core/IniFile.h"
#include "platform/core/Streams.h"
#include "platform/ui/kernel/Application.h"
#include "tests/support/EventLoop.h"
#include "tests/support/StandInTool.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace apptest;

namespace {

// One call of the update check as the form made it.
struct UpdateCall {
    std::string RemoteVersionUrl;
    std::string LocalVersionFile;
    std::string DownloadPageUrl;
    std::string DataFolder;
    bool TellUser = false;
};

std::vector<UpdateCall> calls;
bool answerNewer = false;

void RecordingCheck(const char* remote, const char* local, const char* page, const char* data, bool tell,
                    bool* newer) noexcept
{
    calls.push_back({remote, local, page, data, tell});
    if (newer != nullptr)
        *newer = answerNewer;
}

class About : public RegisterFixture {
protected:
    // The check at start answers in its own time: the tests look at what it did once it has.
    void SetUp() override
    {
        RegisterFixture::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(testsupport::WaitUntil([this] { return !Form()->UpdateCheckAtStartRunning(); }));
    }

    void BeforeForms() override
    {
        calls.clear();
        answerNewer = false;
        savedCheck_ = app::UpdateCheck;
        app::UpdateCheck = &RecordingCheck;
        savedProgramFolder_ = app::ProgramFolder;
        app::ProgramFolder = program_.Path().string() + "/";
        std::ofstream(app::ProgramFolder + "konverze.txt", std::ios::binary) << version_;
        if (!settings_.empty())
            core::WriteFileBytes(folder_ + "nastaveni.ini", settings_);
    }

    void TearDown() override
    {
        RegisterFixture::TearDown();
        app::UpdateCheck = savedCheck_;
        app::ProgramFolder = savedProgramFolder_;
    }

    std::string Settings() const { return core::ReadFileBytes(folder_ + "nastaveni.ini"); }
    // Closes the main form as its close box does: the form's OnClose runs.
    void CloseForm()
    {
        ui::TCloseAction action = ui::TCloseAction::caHide;
        ASSERT_TRUE(Form()->OnClose);
        Form()->OnClose(Form(), action);
    }

    std::string version_ = "2.1\r\n";
    std::string settings_;
    testsupport::TempFolder program_;
    std::string savedProgramFolder_;
    TPomrakel* savedCheck_ = nullptr;
};

class AboutCheckOff : public About {
protected:
    AboutCheckOff() { settings_ = "[nastaveni]\r\nkontrolovat_po_startu=0\r\n"; }
};

class AboutNewerAtStart : public About {
protected:
    void BeforeForms() override
    {
        About::BeforeForms();
        answerNewer = true;
        dialogs_.AnswerButton(ui::mrYes);
    }
    testsupport::StandInTool opener_{"xdg-open"};
};

class AboutNewerDeclined : public AboutNewerAtStart {
protected:
    void BeforeForms() override
    {
        About::BeforeForms();
        answerNewer = true;
        dialogs_.AnswerButton(ui::mrNo);
    }
};

class AboutNoVersionFile : public About {
protected:
    void BeforeForms() override
    {
        About::BeforeForms();
        std::filesystem::remove(app::ProgramFolder + "konverze.txt");
    }
};

std::string Https(const std::string& path) { return std::string("https://") + app::MakerHost + path; }
std::string Http(const std::string& path) { return std::string("http://") + app::MakerHost + path; }

} // namespace

TEST_F(About, WithoutSettingsTheCheckRunsAtStartQuietlyOverHttps)
{
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].RemoteVersionUrl, Https("/download/konverze.txt"));
    EXPECT_EQ(calls[0].LocalVersionFile, app::ProgramFolder + "konverze.txt");
    EXPECT_EQ(calls[0].DownloadPageUrl, Https("/stazeni.php"));
    EXPECT_EQ(calls[0].DataFolder, folder_);
    EXPECT_FALSE(calls[0].TellUser);
    EXPECT_TRUE(Form()->CheckBox1->Checked());
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
    // The first tab is shown after creation.
    EXPECT_EQ(Form()->PageControl1->ActivePage(), Form()->TabSheet1);
}

TEST_F(AboutCheckOff, TheKeySetToZeroSkipsTheCheck)
{
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(Form()->CheckBox1->Checked());
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(AboutNewerAtStart, ANewerVersionAtStartAsksAndOpensTheDownloadPageOnYes)
{
    ASSERT_EQ(calls.size(), 1u);
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Kind, ui::TDialogKind::MessageDlg);
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Chcete načíst stránku ke stažení na internetu?");
    EXPECT_EQ(dialogs_.Questions()[0].Type, ui::TMsgDlgType::mtConfirmation);
    EXPECT_EQ(dialogs_.Questions()[0].Buttons, ui::mbYes | ui::mbNo);
    const auto opened = opener_.Arguments();
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(*opened, std::vector<std::string>{Https("/stazeni.php")});
}

TEST_F(AboutNewerDeclined, ANewerVersionAtStartDeclinedOpensNothing)
{
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_TRUE(dialogs_.Questions()[0].Answered);
    EXPECT_FALSE(opener_.Arguments(std::chrono::milliseconds(200)).has_value());
}

TEST_F(About, TheManualCheckAsksTheLibraryToTellOverHttp)
{
    calls.clear();
    answerNewer = true;
    Form()->Aktualizace_Button->Click();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].RemoteVersionUrl, Http("/download/konverze.txt"));
    EXPECT_EQ(calls[0].LocalVersionFile, app::ProgramFolder + "konverze.txt");
    EXPECT_EQ(calls[0].DownloadPageUrl, Http("/stazeni.php"));
    EXPECT_EQ(calls[0].DataFolder, folder_);
    EXPECT_TRUE(calls[0].TellUser);
    // The library has told the user; the form asks nothing more.
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(About, EveryCloseWritesTheStartUpCheckSetting)
{
    EXPECT_FALSE(std::filesystem::exists(folder_ + "nastaveni.ini"));
    CloseForm();
    EXPECT_EQ(Settings(), "[nastaveni]\nkontrolovat_po_startu=1\n");

    Form()->CheckBox1->SetChecked(false);
    CloseForm();
    EXPECT_EQ(Settings(), "[nastaveni]\nkontrolovat_po_startu=0\n");
    CloseForm();
    EXPECT_EQ(Settings(), "[nastaveni]\nkontrolovat_po_startu=0\n");
}

TEST_F(AboutCheckOff, CloseKeepsTheOtherSettingsOfTheFile)
{
    core::TIniFile(folder_ + "nastaveni.ini").WriteString("CAK", "email", "podatelna@example.org");
    Form()->CheckBox1->SetChecked(true);
    CloseForm();
    EXPECT_EQ(Settings(), "[nastaveni]\r\nkontrolovat_po_startu=1\r\n\r\n[CAK]\r\nemail=podatelna@example.org\r\n");
}

TEST_F(About, ASettingThatCannotBeWrittenIsReportedAndTheFormStillCloses)
{
    // A folder where the settings file should be: it cannot be written.
    std::filesystem::create_directory(folder_ + "nastaveni.ini");
    dialogs_.AnswerButton(ui::IDOK);
    EXPECT_NO_THROW(CloseForm());
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_NE(dialogs_.Questions()[0].Text.find("nastaveni.ini"), std::string::npos) << dialogs_.Describe();
}

TEST_F(About, TheVersionLabelShowsTheVersionFilesFirstLine)
{
    EXPECT_EQ(Form()->verze_label->Caption(), "Verze 2.1");
}

TEST_F(AboutNoVersionFile, AMissingVersionFileLeavesTheLabelsDesignText)
{
    EXPECT_EQ(Form()->verze_label->Caption(), "Verze");
}

TEST_F(About, TheAboutTabHoldsItsTexts)
{
    EXPECT_EQ(Form()->TabSheet3->Caption(), app::AboutTabCaption);
    EXPECT_EQ(Form()->GroupBox3->Caption(), "Informace o produktu :  ");
    EXPECT_EQ(Form()->Label23->Caption(), app::AuthorLine);
    EXPECT_EQ(Form()->Label24->Caption(), "e-mail : ");
    EXPECT_EQ(Form()->Label27->Caption(), app::AuthorEmail);
    EXPECT_EQ(Form()->Label25->Caption(), "web : ");
    EXPECT_EQ(Form()->Label26->Caption(), app::MakerWebPage);
    for (ui::TLabel* link : {Form()->Label26, Form()->Label27}) {
        EXPECT_EQ(link->Font().Color(), ui::clBlue);
        EXPECT_EQ(link->Cursor(), ui::TCursor::crHandPoint);
    }
    EXPECT_EQ(Form()->Aktualizace_Button->Caption(), "Kontrola aktualizací");
    EXPECT_EQ(Form()->CheckBox1->Caption(), "Kontrolovat nové verze po startu");
    EXPECT_EQ(Form()->Button11->Caption(), "Adresář datových souborů");

    const core::TStrings& help = Form()->Memo1->Lines();
    ASSERT_EQ(help.Count(), 15);
    EXPECT_EQ(help[0], "Jak použít funkci \"IMPORT XML\"");
    EXPECT_EQ(help[1], std::string(32, '='));
    EXPECT_NE(help[3].find(app::FormProgramName), std::string::npos);
    EXPECT_EQ(help[9], "Program naimportuje data a pokud se jedná o konverzi");
    EXPECT_EQ(help[13], "");
    EXPECT_EQ(help[14], "");
}

TEST_F(About, TheDataFolderButtonAndTheLinksOpenInTheShell)
{
    {
        testsupport::StandInTool opener("xdg-open");
        Form()->Button11->Click();
        const auto opened = opener.Arguments();
        ASSERT_TRUE(opened.has_value());
        EXPECT_EQ(*opened, std::vector<std::string>{folder_});
    }
    {
        testsupport::StandInTool opener("xdg-open");
        Form()->Label26->Click();
        const auto opened = opener.Arguments();
        ASSERT_TRUE(opened.has_value());
        EXPECT_EQ(*opened, std::vector<std::string>{app::MakerWebPage});
    }
    {
        testsupport::StandInTool opener("xdg-open");
        Form()->Label27->Click();
        const auto opened = opener.Arguments();
        ASSERT_TRUE(opened.has_value());
        EXPECT_EQ(*opened, std::vector<std::string>{std::string("mailto:") + app::AuthorEmail});
    }
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(About, AnOpenerThatCannotStartIsReported)
{
    testsupport::PathOverride noOpener(program_.Path().string());
    dialogs_.AnswerButton(ui::mrOk);
    Form()->Button11->Click();
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Nepodařilo se otevřít " + folder_ + ".");
    EXPECT_EQ(dialogs_.Questions()[0].Type, ui::TMsgDlgType::mtWarning);
}

TEST(VersionFile, TheBuildShipsTheProgramsVersionBesideTheExecutable)
{
    EXPECT_EQ(core::ReadFileBytes(core::ExecutableFolder() + "konverze.txt"), std::string(KONVERZE_VERSION) + "\n");
}
