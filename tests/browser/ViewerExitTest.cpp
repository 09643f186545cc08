// The manual viewer tells by its exit status whether it did what it was asked.

#include "tests/support/EventLoop.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include <cstdlib>
#include <string>

namespace {

class ViewerExitTest : public ::testing::Test {
protected:
    // Runs the viewer with the arguments and answers its exit status (-1: it did not end).
    int Run(const QStringList& arguments)
    {
        const char* bin = std::getenv("KONVERZE_BIN_DIR");
        QProcess viewer;
        viewer.setProgram(QString::fromUtf8(bin != nullptr ? bin : ".") + "/browser_viewer");
        viewer.setArguments(arguments);
        viewer.setProcessChannelMode(QProcess::ForwardedChannels);
        viewer.start();
        // The pages come from this process's server: keep its events running.
        if (!testsupport::WaitUntil([&] { return viewer.state() == QProcess::NotRunning; }, 90000)) {
            viewer.kill();
            viewer.waitForFinished();
            return -1;
        }
        return viewer.exitStatus() == QProcess::NormalExit ? viewer.exitCode() : -1;
    }
    std::string File(const std::string& name) const { return folder.File(name); }
    QString Url(const std::string& path) const { return QString::fromStdString(server.Url(path)); }

    testsupport::TestFolder folder{"viewer"};
    testsupport::LocalHttpServer server;
};

TEST_F(ViewerExitTest, AFilledPageIsSavedAndEndsWithZero)
{
    const std::string shot = File("shot.png");
    EXPECT_EQ(Run({"--screenshot", QString::fromStdString(shot)}), 0);
    EXPECT_GT(QFileInfo(QString::fromStdString(shot)).size(), 0);
}

TEST_F(ViewerExitTest, APageWithoutTheFormEndsWithThree)
{
    server.ServeHtml("/bez.html", "<html><body><p>Bez formuláře.</p></body></html>");
    EXPECT_EQ(Run({"--screenshot", "/dev/null/nic.png", Url("/bez.html")}), 3);
    server.ServeHtml("/jine.html", "<html><body><form><input name=\"konverze\"></form></body></html>");
    EXPECT_EQ(Run({"--screenshot", "/dev/null/nic.png", Url("/jine.html")}), 3);
}

TEST_F(ViewerExitTest, APageNotLoadedInTimeOrNotAtAllEndsWithTwo)
{
    server.Serve("/pomala.html", testsupport::THttpResponse{200, "text/html", "<html></html>", {}, 20000});
    EXPECT_EQ(Run({"--screenshot", "/dev/null/nic.png", "--timeout", "1", Url("/pomala.html")}), 2);
    EXPECT_EQ(Run({"--screenshot", "/dev/null/nic.png", "http://127.0.0.1:1/"}), 2);
}

TEST_F(ViewerExitTest, WrongArgumentsEndWithFour)
{
    EXPECT_EQ(Run({"--jinak"}), 4);
    EXPECT_EQ(Run({"--screenshot", "a.png", "--timeout", "0"}), 4);
}

} // namespace
