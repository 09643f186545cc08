// A viewer for looking at the browser control by eye. As root (the web engine's
// sandbox refuses root, so the viewer turns it off itself, as the program does),
// under a virtual display:
//     xvfb-run -a build/default/bin/browser_viewer --screenshot shot.png [--timeout SECONDS] [URL]
// It shows a form with the control filling it, on a page served from 127.0.0.1
// (or on URL). With --screenshot it fills the page's first form ("konverze",
// "pruvodka"), saves the screen as FILE and ends. Its exit status tells whether
// it did: 0 done, 1 the screenshot was not saved, 2 the page could not be loaded
// or was not loaded in time (30 s unless --timeout says otherwise), 3 the page
// has no form with those fields, 4 wrong arguments.
#include "browser/HostedBrowser.h"
#include "platform/core/Exceptions.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/Forms.h"
#include "tests/support/LocalHttpServer.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

enum ExitStatus { Done = 0, NotSaved = 1, NotLoaded = 2, NoForm = 3, BadArguments = 4 };

const char* const Usage = "usage: browser_viewer [--screenshot FILE [--timeout SECONDS]] [URL]\n";

// Fills the first form's two fields; false when the page has no such form.
bool FillFirstForm(browser::THostedBrowser& browser)
{
    try {
        const auto document = browser.Document();
        if (!document)
            return false;
        const web::THTMLElement form = document->Forms().Item(0, "");
        if (!form)
            return false;
        const web::THTMLElement serial = form.Item("konverze", "");
        const web::THTMLElement id = form.Item("pruvodka", "");
        if (!serial || !id)
            return false;
        serial.SetValue("K-2024/0117");
        id.SetValue("AB12-CD34");
        return true;
    } catch (const core::Exception& error) {
        std::fprintf(stderr, "browser_viewer: %s\n", error.what());
        return false;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (geteuid() == 0)
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);
    std::string url, screenshot;
    int timeoutSeconds = 30;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            screenshot = argv[++i];
        } else if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
            timeoutSeconds = std::atoi(argv[++i]);
            if (timeoutSeconds <= 0) {
                std::fputs(Usage, stderr);
                return BadArguments;
            }
        } else if (argv[i][0] == '-' || !url.empty()) {
            std::fputs(Usage, stderr);
            return BadArguments;
        } else {
            url = argv[i];
        }
    }
    ui::TApplication application(argc, argv);
    application.Initialize();

    testsupport::LocalHttpServer server;
    server.ServeHtml("/", R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>Stažení souboru z úschovny</title>
<style>body{font-family:sans-serif;margin:2em;background:#f4f6f9}form{background:#fff;padding:1.5em;border:1px solid #ccd;width:28em}
label{display:block;margin-top:.8em}input,select{width:100%;padding:.3em}</style></head><body>
<h1>Úschovna – stažení souboru</h1><form><label>Číslo konverze <input name="konverze"></label>
<label>Průvodka <input name="pruvodka"></label><label>Formát <select name="format"><option>PDF/A</option><option>ZFO</option></select></label>
<p><button type="button">Stáhnout</button></p></form></body></html>)");
    if (url.empty())
        url = server.Url("/");

    auto* form = ui::CreateComponent<ui::TForm>(nullptr);
    form->SetCaption("Prohlížeč");
    form->SetBounds(0, 0, 900, 640);
    auto* browser = new browser::THostedBrowser(form);
    browser->SetParent(form);
    browser->SetAlign(ui::TAlign::alClient);
    browser->SetUserInterfaceOptions({browser::TUserInterfaceOption::EnablesFormsAutoComplete,
                                      browser::TUserInterfaceOption::EnableThemes});
    bool failed = false;
    browser->OnNavigateError = [&failed](core::TObject*, const std::string&, const std::string& frame, std::int32_t,
                                         bool&) { failed = failed || frame.empty(); };
    browser->Loaded();
    form->Show();
    int status = Done;
    try {
        browser->Navigate(url);
    } catch (const core::Exception& error) {
        std::fprintf(stderr, "browser_viewer: %s\n", error.what());
        ui::FreeComponent(form);
        return BadArguments;
    }

    if (!screenshot.empty()) {
        QTimer poll;
        QTimer deadline;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (browser->ReadyState() != 4)
                return;
            poll.stop();
            deadline.stop();
            if (failed) {
                std::fprintf(stderr, "browser_viewer: the page could not be loaded\n");
                status = NotLoaded;
                QCoreApplication::quit();
                return;
            }
            if (!FillFirstForm(*browser)) {
                std::fprintf(stderr, "browser_viewer: the page has no form with the fields konverze and pruvodka\n");
                status = NoForm;
                QCoreApplication::quit();
                return;
            }
            // Give the page a moment to paint what was filled in.
            QTimer::singleShot(800, [&] {
                const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
                if (!shot.save(QString::fromStdString(screenshot))) {
                    std::fprintf(stderr, "browser_viewer: the screenshot was not saved to %s\n", screenshot.c_str());
                    status = NotSaved;
                }
                QCoreApplication::quit();
            });
        });
        QObject::connect(&deadline, &QTimer::timeout, [&] {
            poll.stop();
            std::fprintf(stderr, "browser_viewer: the page was not loaded within %d s\n", timeoutSeconds);
            status = NotLoaded;
            QCoreApplication::quit();
        });
        deadline.setSingleShot(true);
        deadline.start(timeoutSeconds * 1000);
        poll.start(100);
        QCoreApplication::exec();
        ui::FreeComponent(form);
        return status;
    }
    const int code = QCoreApplication::exec();
    ui::FreeComponent(form);
    return code;
}
