// The update library's check against a version file served on 127.0.0.1.
#include "app/update/Verlumka.h"
#include "platform/ui/dialogs/ScriptedDialogs.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/StandInTool.h"

#include <gtest/gtest.h>

#include <QTcpServer>

#include <fstream>
#include <optional>
#include <stdexcept>

namespace {

const char* const Caption = "Kontrola aktualizací";
const char* const DownloadPage = "https://updates.example.org/stazeni.php";

class UpdateLibrary : public testing::Test {
protected:
    void SetUp() override
    {
        WriteLocal("2.1\r\n");
        Publish("2.1\r\n");
    }

    void WriteLocal(const std::string& content) { std::ofstream(LocalFile(), std::ios::binary) << content; }
    std::string LocalFile() const { return folder_.File("konverze.txt"); }

    void Publish(const std::string& body, int status = 200)
    {
        testsupport::THttpResponse response;
        response.Status = status;
        response.ContentType = "text/plain";
        response.Body = body;
        server_.Serve("/download/konverze.txt", response);
    }

    // Runs the check against the served file (or another address); returns its result.
    bool Check(bool tellUser, std::optional<std::string> url = std::nullopt)
    {
        const std::string remote = url.value_or(server_.Url("/download/konverze.txt"));
        const std::string data = folder_.Path().string() + "/";
        bool newer = !tellUser; // the function must set it either way
        Pomrakel(remote.c_str(), LocalFile().c_str(), DownloadPage, data.c_str(), tellUser, &newer);
        return newer;
    }

    // The one message the check showed.
    const ui::TDialogQuestion& Told() const
    {
        EXPECT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
        static const ui::TDialogQuestion none;
        return dialogs_.Questions().empty() ? none : dialogs_.Questions().front();
    }

    // An address on 127.0.0.1 where nothing listens.
    static std::string ClosedPortUrl()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const std::string url = "http://127.0.0.1:" + std::to_string(probe.serverPort()) + "/download/konverze.txt";
        probe.close();
        return url;
    }

    testsupport::TempFolder folder_;
    testsupport::LocalHttpServer server_;
    ui::TScriptedDialogs dialogs_;
    testsupport::StandInTool opener_{"xdg-open"};
};

TEST_F(UpdateLibrary, ANewerVersionSetsTheResultAndShowsNothingWhenNotTold)
{
    Publish("2.2\n");
    EXPECT_TRUE(Check(false));
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
    ASSERT_EQ(server_.Requests().size(), 1u);
    EXPECT_EQ(server_.Requests().front().Method, "GET");
    EXPECT_EQ(server_.Requests().front().Path, "/download/konverze.txt");
    EXPECT_FALSE(opener_.Ran());
}

TEST_F(UpdateLibrary, ANewerVersionToldOffersTheDownloadPageAndOpensItOnYes)
{
    Publish("2.2\r\n");
    dialogs_.AnswerButton(ui::IDYES);
    EXPECT_TRUE(Check(true));
    const ui::TDialogQuestion& told = Told();
    EXPECT_EQ(told.Caption, Caption);
    EXPECT_EQ(told.Text, "Na internetu je k dispozici nová verze programu: 2.2.\nNainstalovaná verze: 2.1.\n\n"
                         "Chcete načíst stránku ke stažení na internetu?");
    EXPECT_EQ(told.Flags, ui::MB_YESNO | ui::MB_ICONINFORMATION);
    const auto opened = opener_.Arguments();
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(*opened, std::vector<std::string>{DownloadPage});
}

TEST_F(UpdateLibrary, ANewerVersionToldAndDeclinedOpensNothing)
{
    Publish("2.2");
    dialogs_.AnswerButton(ui::IDNO);
    EXPECT_TRUE(Check(true));
    EXPECT_EQ(Told().Flags, ui::MB_YESNO | ui::MB_ICONINFORMATION);
    EXPECT_FALSE(opener_.Arguments(std::chrono::milliseconds(200)).has_value());
}

TEST_F(UpdateLibrary, ADownloadPageThatCannotBeOpenedIsReported)
{
    Publish("2.2");
    testsupport::PathOverride noOpener(folder_.Path().string());
    dialogs_.AnswerButton(ui::IDYES);
    dialogs_.AnswerButton(ui::IDOK);
    EXPECT_TRUE(Check(true));
    ASSERT_EQ(dialogs_.Questions().size(), 2u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[1].Text,
              "Stránku ke stažení https://updates.example.org/stazeni.php se nepodařilo otevřít.");
    EXPECT_EQ(dialogs_.Questions()[1].Flags, ui::MB_OK | ui::MB_ICONWARNING);
}

TEST_F(UpdateLibrary, TheSameVersionIsCurrent)
{
    EXPECT_FALSE(Check(false));
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();

    EXPECT_FALSE(Check(true));
    EXPECT_EQ(Told().Text, "Používáte nejnovější verzi programu (2.1).");
    EXPECT_EQ(Told().Caption, Caption);
    EXPECT_EQ(Told().Flags, ui::MB_OK | ui::MB_ICONINFORMATION);
    EXPECT_FALSE(opener_.Ran());
}

TEST_F(UpdateLibrary, AnOlderPublishedVersionIsNoUpdate)
{
    Publish("2.0.9\n");
    EXPECT_FALSE(Check(false));
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();

    EXPECT_FALSE(Check(true));
    EXPECT_EQ(Told().Text, "Používáte nejnovější verzi programu (2.1).");
}

TEST_F(UpdateLibrary, AnUnreachableServerIsAFailedCheck)
{
    const std::string closed = ClosedPortUrl();
    EXPECT_FALSE(Check(false, closed));
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();

    EXPECT_FALSE(Check(true, closed));
    EXPECT_EQ(Told().Text, "Kontrolu aktualizací se nepodařilo provést: server 127.0.0.1 odmítl spojení.");
    EXPECT_EQ(Told().Flags, ui::MB_OK | ui::MB_ICONWARNING);
}

TEST_F(UpdateLibrary, AServerThatDoesNotAnswerIsAFailedCheckWithinTheTimeLimit)
{
    // Takes the connection and never answers.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    const std::string url = "http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/download/konverze.txt";
    EXPECT_FALSE(Check(true, url));
    EXPECT_EQ(Told().Text, "Kontrolu aktualizací se nepodařilo provést: server 127.0.0.1 neodpověděl do 5 sekund.");
}

TEST_F(UpdateLibrary, AMalformedVersionFileIsAFailedCheck)
{
    Publish("<!DOCTYPE html>\n<html><body>2.2</body></html>\n");
    EXPECT_FALSE(Check(false));
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();

    EXPECT_FALSE(Check(true));
    EXPECT_EQ(Told().Text,
              "Kontrolu aktualizací se nepodařilo provést: soubor s verzí na serveru neobsahuje číslo verze.");
    EXPECT_EQ(Told().Flags, ui::MB_OK | ui::MB_ICONWARNING);
}

TEST_F(UpdateLibrary, AnEmptyOrMissingVersionFileOnTheServerIsAFailedCheck)
{
    Publish("");
    EXPECT_FALSE(Check(true));
    EXPECT_EQ(Told().Text,
              "Kontrolu aktualizací se nepodařilo provést: soubor s verzí na serveru neobsahuje číslo verze.");

    dialogs_.Clear();
    Publish("2.2", 404);
    EXPECT_FALSE(Check(true));
    EXPECT_EQ(Told().Text, "Kontrolu aktualizací se nepodařilo provést: server 127.0.0.1 odpověděl chybou 404.");
}

TEST_F(UpdateLibrary, VersionsCompareAsDottedNumbers)
{
    struct Case {
        const char* published;
        const char* installed;
        bool newer;
    };
    for (const Case& c : {Case{"2.10", "2.9", true},
                          Case{"2.9", "2.10", false},
                          Case{"2.1.0", "2.1", false},
                          Case{"2.1", "2.1.0", false},
                          Case{"2.1.1", "2.1", true},
                          Case{"10", "9.99.99", true},
                          Case{"2.01", "2.1", false},
                          Case{"  2.2  \r\nsome notes", "2.1", true},
                          Case{"\xEF\xBB\xBF" "2.2\n", "\xEF\xBB\xBF" "2.1\n", true},
                          Case{"2.2", "2.1\nnot a version", true}}) {
        Publish(c.published);
        WriteLocal(c.installed);
        EXPECT_EQ(Check(false), c.newer) << c.published << " against " << c.installed;
    }
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(UpdateLibrary, TextsThatAreNoVersionNumbersFailTheCheck)
{
    WriteLocal("2.1");
    for (const char* published : {"v2.2", "2.2-beta", "2..2", "2.2.", ".2", "2 2", "1234567890", "Verze 2.2"}) {
        dialogs_.Clear();
        Publish(published);
        EXPECT_FALSE(Check(true)) << published;
        EXPECT_EQ(Told().Text,
                  "Kontrolu aktualizací se nepodařilo provést: soubor s verzí na serveru neobsahuje číslo verze.")
            << published;
    }
}

TEST_F(UpdateLibrary, AMissingOrBrokenLocalVersionFileIsAFailedCheck)
{
    std::filesystem::remove(LocalFile());
    Publish("2.2");
    EXPECT_FALSE(Check(true));
    EXPECT_EQ(Told().Text, "Kontrolu aktualizací se nepodařilo provést: soubor s verzí programu " + LocalFile() +
                               " nelze přečíst.");

    dialogs_.Clear();
    WriteLocal("\n2.1\n");
    EXPECT_FALSE(Check(true));
    EXPECT_EQ(Told().Text, "Kontrolu aktualizací se nepodařilo provést: soubor s verzí programu " + LocalFile() +
                               " neobsahuje číslo verze.");
}

TEST_F(UpdateLibrary, AddressesThatCannotBeFetchedAreReported)
{
    EXPECT_FALSE(Check(true, ""));
    EXPECT_EQ(Told().Text, "Kontrolu aktualizací se nepodařilo provést: adresa souboru s verzí na serveru chybí.");
    for (const std::string url : {"konverze.txt", "ftp://127.0.0.1/konverze.txt", "http:///konverze.txt"}) {
        dialogs_.Clear();
        EXPECT_FALSE(Check(true, url)) << url;
        EXPECT_EQ(Told().Text, "Kontrolu aktualizací se nepodařilo provést: adresa " + url + " není platná.") << url;
    }
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(UpdateLibrary, NullArgumentsAreTakenAsEmptyTexts)
{
    bool newer = true;
    Pomrakel(nullptr, nullptr, nullptr, nullptr, false, &newer);
    EXPECT_FALSE(newer);
    Pomrakel(nullptr, nullptr, nullptr, nullptr, false, nullptr);
    EXPECT_TRUE(dialogs_.Questions().empty());
}

// A dialog service that fails whatever it is asked.
class FailingDialogs : public ui::TDialogService {
public:
    FailingDialogs() : previous_(ui::SetDialogService(this)) {}
    ~FailingDialogs() override { ui::SetDialogService(previous_); }
    int MessageBox(const std::string&, const std::string&, unsigned) override { throw std::runtime_error("no"); }
    ui::TModalResult MessageDlg(const std::string&, ui::TMsgDlgType, ui::TMsgDlgButtons) override { throw 1; }
    bool InputQuery(const std::string&, const std::string&, std::string&) override { throw 1; }
    bool FileDialog(ui::TFileDialogRequest&) override { throw 1; }

private:
    ui::TDialogService* previous_;
};

TEST_F(UpdateLibrary, AFailureInTellingTheUserStaysInTheLibrary)
{
    Publish("2.2");
    FailingDialogs failing;
    bool newer = false;
    const std::string remote = server_.Url("/download/konverze.txt");
    EXPECT_NO_THROW(Pomrakel(remote.c_str(), LocalFile().c_str(), DownloadPage, "", true, &newer));
    EXPECT_TRUE(newer);
}

TEST_F(UpdateLibrary, TheCheckGoesThroughTheSystemsProxy)
{
    // The local server plays the proxy named by the environment; the maker's
    // host itself is never reached.
    testsupport::LocalHttpServer proxy;
    proxy.Handler = [](const testsupport::THttpRequest&) {
        testsupport::THttpResponse response;
        response.ContentType = "text/plain";
        response.Body = "2.2\n";
        return response;
    };
    const std::string proxyUrl = "http://127.0.0.1:" + std::to_string(proxy.Port());
    setenv("http_proxy", proxyUrl.c_str(), 1);
    const bool newer = Check(false, "http://updates.example.invalid/download/konverze.txt");
    unsetenv("http_proxy");
    EXPECT_TRUE(newer);
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests().front().Target, "http://updates.example.invalid/download/konverze.txt");
}

} // namespace
