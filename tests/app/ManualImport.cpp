// Not a test: the import road for looking at by eye. Starts the register on a
// fresh copy of the shipped database in a temporary data folder, with the
// depository's download page served from 127.0.0.1, and writes a data file
// there to drop on the register grid.
//
// With --screenshot FOLDER it drops the file on the grid itself (as Qt
// delivers a drop from the desktop), answers each message box with its default
// button after saving a picture of the screen, and saves "register.png" (the
// main form) and "viewer.png" (the screen with the filled page) into FOLDER.
// Run it under a virtual display:
//     xvfb-run -a -s "-screen 0 1280x900x24" import_viewer --screenshot /tmp/shots
#include "app/DataModule.h"
#include "app/Depository.h"
#include "app/Folders.h"
#include "app/KonverzeForm.h"
#include "app/Startup.h"
#include "app/ViewerForm.h"
#include "platform/core/Files.h"
#include "platform/ui/kernel/Application.h"
#include "tests/support/LocalHttpServer.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

const char* const Page = R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>Úschovna – stažení souboru</title>
<style>body{font-family:sans-serif;margin:2em;background:#f4f6f9}form{background:#fff;padding:1.5em;border:1px solid #ccd;width:28em}
label{display:block;margin-top:.8em}input,select{width:100%;padding:.3em}</style></head><body>
<h1>Úschovna – stažení souboru</h1>
<form method="post" action="index.php?page=stahnout_soubor">
<label>Číslo konverze <input type="text" name="konverze"></label>
<label>Průvodka <select name="pruvodka"><option value="">–</option><option value="X9-0001">X9-0001</option>
<option value="AB12-CD34">AB12-CD34</option></select></label>
<p><button type="submit">Stáhnout</button></p></form></body></html>)";

const char* const Data = R"(<?xml version="1.0" encoding="UTF-8"?>
<d:root xmlns:d="urn:formular:konverze">
  <d:evidence_provedenych_konverzi>
    <d:poradove_cislo>117/2024</d:poradove_cislo>
    <d:oznaceni_vstupu>Kupní smlouva Novák &amp; Dvořák, 3 listy</d:oznaceni_vstupu>
    <d:datum_sepsani>3.2.2024</d:datum_sepsani>
  </d:evidence_provedenych_konverzi>
  <d:vystup><d:uschovna><d:id>AB12-CD34</d:id></d:uschovna></d:vystup>
</d:root>
)";

void Save(const QPixmap& picture, const std::string& file)
{
    if (!picture.save(QString::fromStdString(file)))
        std::fprintf(stderr, "cannot save %s\n", file.c_str());
}

// Drops a file on the middle of the grid, as Qt delivers a drop from the desktop.
void DropOnGrid(const std::string& file)
{
    auto* grid = static_cast<QAbstractScrollArea*>(app::Konverze_Form->DBGrid1->Handle());
    QWidget* cells = grid->viewport();
    const QPoint at = cells->rect().center();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(cells, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(cells, &drop);
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);
    // As the program does: run by the superuser, the engine goes without its sandbox.
    app::PrepareWebEngineEnvironment();
    std::string shots;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--screenshot") == 0)
            shots = std::string(argv[i + 1]) + "/";

    char pattern[] = "/tmp/konverze-import-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        return 1;
    const std::string folder = std::string(pattern) + "/";
    if (!core::CopyFile(core::ExecutableFolder() + "konverze.mdb", folder + "konverze.mdb", true))
        return 1;
    const std::string dataFile = folder + "konverze 117-2024.xml";
    std::ofstream(dataFile, std::ios::binary) << Data;

    ui::TApplication application(argc, argv);
    application.Initialize();
    application.SetTitle("Orvalis");
    testsupport::LocalHttpServer server;
    server.ServeHtml("/uschovna/index.php", Page);
    app::SetDepositoryOrigin(server.Url(""));
    app::DataFolder = folder;
    app::ProgramFolder = core::ExecutableFolder();
    app::CreateForms();
    app::DM->ADOConnection->Execute("INSERT INTO uzivatel (jmeno_prijmeni, ulice, psc, mesto, vystavujici, email, "
                                    "ID_advokata) VALUES ('JUDr. Jana Nováková', 'Dlouhá 1', '110 00', 'Praha', "
                                    "'Petr Novák', 'jana@example.cz', '12345')");
    app::DM->Uzivatel_ADOQuery->Close();
    app::DM->Uzivatel_ADOQuery->Open();
    std::printf("data folder %s\ndrop this file on the register: %s\ndepository page %s\n", folder.c_str(),
                dataFile.c_str(), app::DepositoryPageUrl().c_str());
    std::fflush(stdout);

    int result = 0;
    if (!shots.empty()) {
        QTimer::singleShot(1500, [&] { DropOnGrid(dataFile); });
        int dialogs = 0;
        auto* answer = new QTimer;
        QObject::connect(answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible())
                return;
            answer->stop();
            // Let it paint, take the screen, press its default button.
            QTimer::singleShot(400, [&, box] {
                Save(QGuiApplication::primaryScreen()->grabWindow(0),
                     shots + "dialog-" + std::to_string(++dialogs) + ".png");
                if (box->defaultButton() != nullptr)
                    box->defaultButton()->click();
                answer->start(100);
            });
        });
        answer->start(100);
        auto* filled = new QTimer;
        QObject::connect(filled, &QTimer::timeout, [&] {
            if (app::Prohlizec_Form->WaitingForPage() || !app::Prohlizec_Form->Visible())
                return;
            auto document = app::Prohlizec_Form->HostedBrowser1->Document();
            if (!document || app::Prohlizec_Form->HostedBrowser1->ReadyState() != 4)
                return;
            if (document->Forms().Item(0).Item("konverze").Value().empty())
                return;
            filled->stop();
            QTimer::singleShot(1000, [&] {
                Save(app::Konverze_Form->Widget()->grab(), shots + "register.png");
                Save(QGuiApplication::primaryScreen()->grabWindow(0), shots + "viewer.png");
                QCoreApplication::quit();
            });
        });
        filled->start(200);
        QTimer::singleShot(60000, [&] {
            result = 2;
            QCoreApplication::exit(2);
        });
    }
    application.Run();
    return result;
}
