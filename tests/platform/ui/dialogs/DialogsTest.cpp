// The dialog service as the scripted service answers it, the open and save
// dialog components, and the splitting of dialog filters.
#include "platform/ui/dialogs/FileDialogs.h"
#include "platform/ui/dialogs/ScriptedDialogs.h"
#include "platform/ui/kernel/Application.h"

#include <gtest/gtest.h>

using namespace ui;

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
