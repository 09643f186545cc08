#include "platform/mail/Mapi.h"
#include "tests/support/StandInTool.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace mail;
using testsupport::PathOverride;
using testsupport::StandInTool;
using testsupport::TempFolder;

MapiRecipDesc Recipient(const std::string& address, ULONG recipClass) {
    MapiRecipDesc recip;
    recip.ulRecipClass = recipClass;
    recip.lpszName = address;
    recip.lpszAddress = address;
    return recip;
}

// The message the period export sends: one recipient, sender, Czech subject,
// a body with CR LF, one attachment after the body.
class ExportMail : public ::testing::Test {
protected:
    void SetUp() override {
        attachment = folder.File("evidence_01_05_2010-31_05_2010.xls");
        std::ofstream(attachment) << "workbook";
        originator = Recipient("advokat@example.cz", MAPI_ORIG);
        recips.push_back(Recipient("epodatelna@cak.cz", MAPI_TO));
        MapiFileDesc file;
        file.nPosition = static_cast<ULONG>(body.size());
        file.lpszPathName = attachment;
        files.push_back(file);

        message.lpszSubject = subject;
        message.lpszNoteText = body;
        message.lpOriginator = &originator;
        message.nRecipCount = static_cast<ULONG>(recips.size());
        message.lpRecips = recips.data();
        message.nFileCount = static_cast<ULONG>(files.size());
        message.lpFiles = files.data();
    }

    TempFolder folder;
    std::string attachment;
    const std::string subject = "Přehled provedených konverzí, advokát ev. č. 12345, období 01.05.2010 až 31.05.2010";
    const std::string body =
        "Dobrý den, \r\n\r\n zasílám Vám v příloze evidenci provedených konverzí ve smyslu § 26 zákona č. 300/2008 Sb., "
        "o elektronických úkonech a autorizované konverzi dokumentů,  a to za období od 01.05.2010 do 31.05.2010.\r\n"
        "\r\nJan Novák\r\nEvidenční číslo advokáta: 12345\r\n";
    MapiRecipDesc originator;
    std::vector<MapiRecipDesc> recips;
    std::vector<MapiFileDesc> files;
    MapiMessage message;
};

TEST_F(ExportMail, HandsSubjectBodyAttachmentAndRecipientToTheMailClient) {
    StandInTool client("xdg-email");
    ASSERT_EQ(MAPISendMail(0, 0, &message, MAPI_DIALOG, 0), SUCCESS_SUCCESS);

    const auto arguments = client.Arguments();
    ASSERT_TRUE(arguments);
    // The body reaches the client byte for byte, the two blanks before "a to"
    // included, but for its line ends: xdg-email writes each LF as CR LF into
    // the mailto link itself, so each CR LF is handed over as one LF.
    const std::string handed =
        "Dobrý den, \n\n zasílám Vám v příloze evidenci provedených konverzí ve smyslu § 26 zákona č. 300/2008 Sb., "
        "o elektronických úkonech a autorizované konverzi dokumentů,  a to za období od 01.05.2010 do 31.05.2010.\n"
        "\nJan Novák\nEvidenční číslo advokáta: 12345\n";
    EXPECT_EQ(*arguments, (std::vector<std::string>{"--utf8", "--subject", subject, "--body", handed, "--attach",
                                                    attachment, "epodatelna@cak.cz"}));
}

TEST_F(ExportMail, EveryLineEndOfTheBodyIsHandedOverAsOneLineFeed) {
    StandInTool client("xdg-email");
    message.lpszNoteText = "CR LF\r\nCR\rLF\n\r\n\r\rend";
    ASSERT_EQ(MAPISendMail(0, 0, &message, MAPI_DIALOG, 0), SUCCESS_SUCCESS);
    const auto arguments = client.Arguments();
    ASSERT_TRUE(arguments);
    ASSERT_GE(arguments->size(), 5u);
    EXPECT_EQ((*arguments)[3], "--body");
    EXPECT_EQ((*arguments)[4], "CR LF\nCR\nLF\n\n\n\nend");
}

TEST_F(ExportMail, FailsWhenTheMailClientRefusesOrIsMissing) {
    {
        StandInTool client("xdg-email", 4);
        EXPECT_EQ(MAPISendMail(0, 0, &message, MAPI_DIALOG, 0), MAPI_E_FAILURE);
        EXPECT_TRUE(client.Ran());
    }
    TempFolder empty;
    PathOverride path(empty.Path().string());
    EXPECT_EQ(MAPISendMail(0, 0, &message, MAPI_DIALOG, 0), MAPI_E_FAILURE);
}

TEST_F(ExportMail, FailsWithoutRunningTheClientWhenTheAttachmentIsMissing) {
    StandInTool client("xdg-email");
    files[0].lpszPathName = folder.File("missing.xls");
    EXPECT_EQ(MAPISendMail(0, 0, &message, MAPI_DIALOG, 0), MAPI_E_ATTACHMENT_NOT_FOUND);
    files[0].lpszPathName = folder.Path().string();  // a folder is no attachment
    EXPECT_EQ(MAPISendMail(0, 0, &message, MAPI_DIALOG, 0), MAPI_E_ATTACHMENT_NOT_FOUND);
    EXPECT_FALSE(client.Ran());
}

TEST_F(ExportMail, GivesARelativeAttachmentItsWholePath) {
    StandInTool client("xdg-email");
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    files[0].lpszPathName = "evidence_01_05_2010-31_05_2010.xls";
    const ULONG result = MAPISendMail(0, 0, &message, 0, 0);
    std::filesystem::current_path(cwd);
    ASSERT_EQ(result, SUCCESS_SUCCESS);
    const auto arguments = client.Arguments();
    ASSERT_TRUE(arguments);
    EXPECT_EQ((*arguments)[6], attachment);
}

TEST(MapiSendMail, MapsRecipientClassesAndLeavesOutWhatIsEmpty) {
    StandInTool client("xdg-email");
    std::vector<MapiRecipDesc> recips{Recipient("SMTP:prvni@example.cz", MAPI_TO), Recipient("kopie@example.cz", MAPI_CC),
                                      Recipient("", MAPI_TO), Recipient("skryta@example.cz", MAPI_BCC),
                                      Recipient("druhy@example.cz", MAPI_TO)};
    recips[4].lpszAddress.clear();  // only the name holds the address
    MapiMessage message;
    message.nRecipCount = static_cast<ULONG>(recips.size());
    message.lpRecips = recips.data();

    ASSERT_EQ(MAPISendMail(0, 0, &message, MAPI_DIALOG, 0), SUCCESS_SUCCESS);
    const auto arguments = client.Arguments();
    ASSERT_TRUE(arguments);
    EXPECT_EQ(*arguments, (std::vector<std::string>{"--utf8", "--cc", "kopie@example.cz", "--bcc", "skryta@example.cz",
                                                    "prvni@example.cz", "druhy@example.cz"}));
}

TEST(MapiSendMail, RefusesBadMessagesWithoutRunningTheClient) {
    StandInTool client("xdg-email");
    EXPECT_EQ(MAPISendMail(0, 0, nullptr, MAPI_DIALOG, 0), MAPI_E_INVALID_MESSAGE);

    MapiMessage message;
    message.nRecipCount = 1;
    EXPECT_EQ(MAPISendMail(0, 0, &message, MAPI_DIALOG, 0), MAPI_E_INVALID_MESSAGE);
    message.nRecipCount = 0;
    message.nFileCount = 2;
    EXPECT_EQ(MAPISendMail(0, 0, &message, MAPI_DIALOG, 0), MAPI_E_INVALID_MESSAGE);
    message.nFileCount = 0;

    MapiRecipDesc originatorAsRecipient = Recipient("advokat@example.cz", MAPI_ORIG);
    message.nRecipCount = 1;
    message.lpRecips = &originatorAsRecipient;
    EXPECT_EQ(MAPISendMail(0, 0, &message, MAPI_DIALOG, 0), MAPI_E_BAD_RECIPTYPE);

    MapiRecipDesc option = Recipient("--attach=/etc/passwd", MAPI_TO);
    message.lpRecips = &option;
    EXPECT_EQ(MAPISendMail(0, 0, &message, MAPI_DIALOG, 0), MAPI_E_UNKNOWN_RECIPIENT);
    EXPECT_FALSE(client.Ran());
}

} // namespace
