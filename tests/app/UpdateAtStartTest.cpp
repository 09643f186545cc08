// The update check against a server that takes the connection and keeps its
// answer: at start the main window is shown and used meanwhile and the
// question comes when the answer does; closing the program stops the wait;
// the check on request keeps the window painted while it waits.
#include "RegisterFixture.h"

#include "app/Folders.h"
#include "app/UpdateCheck.h"
#include "app/update/VersionFetch.h"
#include "app/update/Verlumka.h"
#include "platform/core/Streams.h"
#include "tests/support/EventLoop.h"
#include "tests/support/StandInTool.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEvent>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <fstream>
#include <vector>

using namespace apptest;

namespace {

// Takes connections on 127.0.0.1 and reads the requests, answering only when told.
class TStalledServer {
public:
    TStalledServer()
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                sockets_.push_back(socket);
                QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] { received_ += socket->readAll(); });
            }
        });
    }

    std::string Url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
    }
    // A whole request has come in: its client now waits for the answer.
    bool RequestReceived() const { return received_.contains("\r\n\r\n"); }
    void Answer(const std::string& body)
    {
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                                 std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
        for (QTcpSocket* socket : sockets_) {
            socket->write(QByteArray::fromStdString(head + body));
            socket->disconnectFromHost();
        }
    }

private:
    QTcpServer server_;
    std::vector<QTcpSocket*> sockets_; // the server's children
    QByteArray received_;
};

// Where the update library is sent instead of the maker's server.
std::string localVersionUrl;
std::atomic<int> checksEnded{0};

// The update library itself, asking the local server.
void CheckAtLocalServer(const char*, const char* local, const char* page, const char* data, bool tell,
                        bool* newer) noexcept
{
    Pomrakel(localVersionUrl.c_str(), local, page, data, tell, newer);
    ++checksEnded;
}

// Counts the paintings of a widget.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int Count() const { return count_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count_;
        return false;
    }

private:
    int count_ = 0;
};

class SlowUpdateServer : public RegisterFixture {
protected:
    void BeforeForms() override
    {
        checksEnded = 0;
        localVersionUrl = server_.Url("/download/konverze.txt");
        savedCheck_ = app::UpdateCheck;
        app::UpdateCheck = &CheckAtLocalServer;
        savedProgramFolder_ = app::ProgramFolder;
        app::ProgramFolder = program_.Path().string() + "/";
        std::ofstream(app::ProgramFolder + "konverze.txt", std::ios::binary) << "2.1\n";
        if (!checkAtStart_)
            core::WriteFileBytes(folder_ + "nastaveni.ini", "[nastaveni]\nkontrolovat_po_startu=0\n");
    }
    void TearDown() override
    {
        RegisterFixture::TearDown();
        app::UpdateCheck = savedCheck_;
        app::ProgramFolder = savedProgramFolder_;
    }

    bool checkAtStart_ = true;
    TStalledServer server_;
    testsupport::TestFolder program_{"update-program"};
    testsupport::StandInTool opener_{"xdg-open"};
    std::string savedProgramFolder_;
    TPomrakel* savedCheck_ = nullptr;
};

class SlowUpdateServerOnRequest : public SlowUpdateServer {
protected:
    SlowUpdateServerOnRequest() { checkAtStart_ = false; }
};

} // namespace

TEST_F(SlowUpdateServer, TheWindowIsShownAndUsedWhileTheCheckAtStartWaits)
{
    AddRow("1/2024", "Kupní smlouva", core::EncodeDate(2024, 3, 1));
    AddRow("2/2024", "Plná moc", core::EncodeDate(2024, 3, 2));
    // The forms are made and the check is still waiting: the window is shown now.
    ASSERT_TRUE(Form()->UpdateCheckAtStartRunning());
    Form()->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form()->Widget()));
    ASSERT_TRUE(testsupport::WaitUntil([this] { return server_.RequestReceived(); }));

    // The user types a search while the server keeps its answer.
    QTest::keyClicks(Form()->Hledani_Edit->Handle(), "Pln");
    EXPECT_EQ(Form()->Hledani_Edit->Text(), "Pln");
    EXPECT_EQ(Designations(), std::vector<std::string>{"Plná moc"});
    EXPECT_TRUE(Form()->UpdateCheckAtStartRunning());
    EXPECT_EQ(checksEnded, 0);
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();

    // A newer version is published: the question comes with the answer.
    dialogs_.AnswerButton(ui::mrNo);
    server_.Answer("2.2\n");
    ASSERT_TRUE(testsupport::WaitUntil([this] { return !Form()->UpdateCheckAtStartRunning(); }));
    EXPECT_EQ(checksEnded, 1);
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Chcete načíst stránku ke stažení na internetu?");
    EXPECT_EQ(dialogs_.Questions()[0].Type, ui::TMsgDlgType::mtConfirmation);
    EXPECT_FALSE(opener_.Arguments(std::chrono::milliseconds(200)).has_value());
}

TEST_F(SlowUpdateServer, ACurrentVersionAtStartAsksNothing)
{
    ASSERT_TRUE(testsupport::WaitUntil([this] { return server_.RequestReceived(); }));
    server_.Answer("2.1\n");
    ASSERT_TRUE(testsupport::WaitUntil([this] { return !Form()->UpdateCheckAtStartRunning(); }));
    EXPECT_EQ(checksEnded, 1);
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(SlowUpdateServer, ClosingTheProgramStopsTheWaitAndAsksNothing)
{
    ASSERT_TRUE(testsupport::WaitUntil([this] { return server_.RequestReceived(); }));
    QElapsedTimer closing;
    closing.start();
    FreeForms();
    // The check was given up, not waited out to its time limit.
    EXPECT_EQ(checksEnded, 1);
    EXPECT_LT(closing.elapsed(), app::update::FetchTimeoutMs);
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs_.Questions().empty()) << dialogs_.Describe();
}

TEST_F(SlowUpdateServerOnRequest, TheCheckOnRequestKeepsTheWindowPainted)
{
    EXPECT_FALSE(Form()->UpdateCheckAtStartRunning());
    Form()->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form()->Widget()));
    TPaintCounter paints(Form()->Widget());
    // While the library waits: the window is asked to paint itself again; once
    // it has, the server answers.
    int before = -1;
    bool paintedWhileWaiting = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!server_.RequestReceived())
            return;
        if (before < 0) {
            before = paints.Count();
            Form()->Widget()->update();
        } else if (paints.Count() > before) {
            paintedWhileWaiting = true;
            watch.stop();
            server_.Answer("2.1\n");
        }
    });
    watch.start(20);
    QTimer::singleShot(10000, [&] { server_.Answer("2.1\n"); }); // whatever happens, the wait ends
    dialogs_.AnswerButton(ui::mrOk);
    Form()->Aktualizace_Button->Click();
    EXPECT_TRUE(paintedWhileWaiting);
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Používáte nejnovější verzi programu (2.1).");
    EXPECT_EQ(checksEnded, 1);
}
