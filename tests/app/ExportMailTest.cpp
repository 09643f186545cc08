// Mailing an export: what the mail client is handed, the records of the
// message, and the failures the user is told of.

#include "ExportFixture.h"

#include "app/MapiMail.h"
#include "platform/core/OwnTempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace apptest;

namespace {

const std::string kSubject = "Přehled provedených konverzí, advokát ev. č. 12345, období 01.05.2010 až 31.05.2010";
const std::string kBody =
    "Dobrý den, \r\n"
    "\r\n"
    " zasílám Vám v příloze evidenci provedených konverzí ve smyslu § 26 zákona č. 300/2008 Sb., o elektronických "
    "úkonech a autorizované konverzi dokumentů,  a to za období od 01.05.2010 do 31.05.2010.\r\n"
    "\r\n"
    "JUDr. Jana Nováková\r\n"
    "Evidenční číslo advokáta: 12345\r\n";

class MailExport : public PeriodExport {
protected:
    void SetUp() override
    {
        PeriodExport::SetUp();
        if (HasFatalFailure())
            return;
        Export()->CheckBox2->SetChecked(true);
        Export()->Edit1->SetText(folder_ + "vypis");
    }
    // The mail program refuses every message from now on.
    void RefusingMailer()
    {
        opener_.reset();
        mailer_.reset();
        mailer_ = std::make_unique<testsupport::StandInTool>("xdg-email", 1);
        opener_ = std::make_unique<testsupport::StandInTool>("xdg-open");
    }
    // The arguments xdg-email is given: the body's CR LF as one LF each, which
    // xdg-email itself writes as CR LF into the mail.
    std::vector<std::string> Mailed(const std::string& attachment) const
    {
        std::string body = kBody;
        for (std::size_t at; (at = body.find("\r\n")) != std::string::npos;)
            body.erase(at, 1);
        return {"--utf8", "--subject", kSubject, "--body", body, "--attach", attachment, "epodatelna@cak.cz"};
    }
};

} // namespace

TEST_F(MailExport, TextExportIsMailedAsACopyOfOurOwnAndThenOpened)
{
    Export()->Button5Click(nullptr);
    const std::string copy = copies_ + "evidence_01_05_2010-31_05_2010.csv";
    const auto mailed = mailer_->Arguments();
    ASSERT_TRUE(mailed);
    EXPECT_EQ(*mailed, Mailed(copy));
    EXPECT_EQ(FileBytes(copy), FileBytes(folder_ + "vypis.csv"));
    EXPECT_NE(FileBytes(copy).value_or("").find(Cp1250("2/2010;14.05.2010;Plná moc")), std::string::npos);
    EXPECT_EQ(Opened(), std::vector<std::string>{copy});
    EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
}

TEST_F(MailExport, WorkbookIsMailedAsACopyOfOurOwn)
{
    Export()->Button2Click(nullptr);
    const std::string copy = copies_ + "evidence_01_05_2010-31_05_2010.xls";
    const auto mailed = mailer_->Arguments();
    ASSERT_TRUE(mailed);
    EXPECT_EQ(*mailed, Mailed(copy));
    const auto bytes = FileBytes(copy);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->substr(0, 8), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");  // a compound file
    EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
    EXPECT_EQ(Opened().size(), 1u);
}

TEST_F(MailExport, AnOlderCopyOfThePeriodIsReplacedWithoutAsking)
{
    const std::string copy = core::OwnTempFolder() + "evidence_01_05_2010-31_05_2010.xls";
    std::ofstream(copy) << "stary";
    Export()->Button2Click(nullptr);
    EXPECT_EQ(Opened().size(), 1u);
    EXPECT_NE(FileBytes(copy), "stary");
    EXPECT_TRUE(Messages().empty()) << dialogs_.Describe();
}

TEST_F(MailExport, RecipientTypedButNotStoredIsUsed)
{
    Export()->Edit2->SetText("podatelna@example.cz");
    Export()->Button5Click(nullptr);
    const auto mailed = mailer_->Arguments();
    ASSERT_TRUE(mailed);
    EXPECT_EQ(mailed->back(), "podatelna@example.cz");
    EXPECT_EQ(Opened().size(), 1u);
}

TEST_F(MailExport, RefusedMailIsReportedAndTheCopyStillOpened)
{
    RefusingMailer();
    Export()->Button5Click(nullptr);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Chyba při odesílání"});
    EXPECT_EQ(Opened(), std::vector<std::string>{copies_ + "evidence_01_05_2010-31_05_2010.csv"});

    dialogs_.Clear();
    Export()->Edit1->SetText(folder_ + "vypis");
    Export()->Button2Click(nullptr);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Chyba při odesílání"});
    EXPECT_EQ(Opened().size(), 1u);
}

TEST_F(MailExport, CopyThatCannotBeWrittenIsNotMailed)
{
    const std::string copy = core::OwnTempFolder() + "evidence_01_05_2010-31_05_2010.csv";
    std::filesystem::create_directory(copy);
    Export()->Button5Click(nullptr);
    // The message as the program has always worded it: the name in no quotes and no blank after it.
    EXPECT_EQ(Messages(), std::vector<std::string>{"Při ukládání souboru do místa " + copy + "došlo k chybě."});
    EXPECT_FALSE(mailer_->Ran());
    // The export itself was saved.
    EXPECT_TRUE(FileBytes(folder_ + "vypis.csv"));

    dialogs_.Clear();
    std::filesystem::create_directory(copies_ + "evidence_01_05_2010-31_05_2010.xls");
    Export()->Edit1->SetText(folder_ + "vypis");
    Export()->Button2Click(nullptr);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Při ukládání došlo k chybě."});
    EXPECT_FALSE(mailer_->Ran());
    EXPECT_TRUE(FileBytes(folder_ + "vypis.xls"));
    EXPECT_EQ(Opened().size(), 1u);
}

TEST(MapiMail, RecordsOfTheMessage)
{
    app::TMapiMail mail;
    const std::string body(300, 'x');
    app::BuildMapiMail(mail, {"a@example.cz", "b@example.cz"}, "", "Předmět", body, {"/tmp/a.xls", "/tmp/b.csv"});
    EXPECT_EQ(mail.Message.lpszSubject, "Předmět");
    EXPECT_EQ(mail.Message.lpszNoteText, body);
    EXPECT_EQ(mail.Message.flFlags, 0u);
    // An empty sender is still an originator record.
    ASSERT_EQ(mail.Message.lpOriginator, &mail.Originator);
    EXPECT_EQ(mail.Originator.ulRecipClass, mail::MAPI_ORIG);
    EXPECT_EQ(mail.Originator.lpszName, "");
    EXPECT_EQ(mail.Originator.lpszAddress, "");
    ASSERT_EQ(mail.Message.nRecipCount, 2u);
    EXPECT_EQ(mail.Message.lpRecips[1].lpszName, "b@example.cz");
    EXPECT_EQ(mail.Message.lpRecips[1].lpszAddress, "b@example.cz");
    EXPECT_EQ(mail.Message.lpRecips[1].ulRecipClass, mail::MAPI_TO);
    ASSERT_EQ(mail.Message.nFileCount, 2u);
    EXPECT_EQ(mail.Message.lpFiles[0].nPosition, 300u);
    EXPECT_EQ(mail.Message.lpFiles[1].nPosition, 301u);
    EXPECT_EQ(mail.Message.lpFiles[1].lpszPathName, "/tmp/b.csv");
    EXPECT_EQ(mail.Message.lpFiles[1].lpszFileName, "");

    // Positions count characters, not bytes.
    app::BuildMapiMail(mail, {}, "jana@example.cz", "", "Dobrý den", {"/tmp/a.xls"});
    EXPECT_EQ(mail.Message.lpFiles[0].nPosition, 9u);
    EXPECT_EQ(mail.Originator.lpszAddress, "jana@example.cz");
    EXPECT_EQ(mail.Message.nRecipCount, 0u);

    app::BuildMapiMail(mail, {"a@example.cz"}, "", "", "", {});
    EXPECT_EQ(mail.Message.nFileCount, 0u);
    EXPECT_EQ(mail.Message.lpFiles, nullptr);
}

TEST(MapiMail, FillMapiRecipClearsTheRecord)
{
    mail::MapiRecipDesc recip;
    recip.ulEIDSize = 5;
    recip.lpszName = "stary";
    app::FillMapiRecip(recip, "epodatelna@cak.cz", mail::MAPI_TO);
    EXPECT_EQ(recip.ulReserved, 0u);
    EXPECT_EQ(recip.ulRecipClass, mail::MAPI_TO);
    EXPECT_EQ(recip.lpszName, "epodatelna@cak.cz");
    EXPECT_EQ(recip.lpszAddress, "epodatelna@cak.cz");
    EXPECT_EQ(recip.ulEIDSize, 0u);
    EXPECT_EQ(recip.lpEntryID, nullptr);
}
