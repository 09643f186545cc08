// A small viewer for looking at the browser control by eye: a form with the
// control filling it, showing a page served from 127.0.0.1 (or the address
// given). With --screenshot FILE it saves the screen once the page is complete
// and ends; run it under a virtual display: xvfb-run -a browser_viewer --screenshot shot.png
#include "browser/HostedBrowser.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "tests/support/LocalHttpServer.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);
    std::string url, screenshot;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
            screenshot = argv[++i];
        else
            url = argv[i];
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
    browser->Loaded();
    form->Show();
    browser->Navigate(url);

    int result = 0;
    if (!screenshot.empty()) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [&] {
            if (browser->ReadyState() != 4)
                return;
            poll->stop();
            auto document = browser->Document();
            auto form0 = document->Forms().Item(0, "");
            form0.Item("konverze", "").SetValue("K-2024/0117");
            form0.Item("pruvodka", "").SetValue("AB12-CD34");
            // Give the page a moment to paint what was filled in.
            QTimer::singleShot(800, [&] {
                const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
                result = shot.save(QString::fromStdString(screenshot)) ? 0 : 1;
                QCoreApplication::quit();
            });
        });
        poll->start(100);
        QTimer::singleShot(30000, [] { QCoreApplication::exit(2); });
    }
    const int code = QCoreApplication::exec();
    ui::FreeComponent(form);
    return screenshot.empty() ? code : result;
}
