// A grouped report generated and shown in the standard preview window, for a
// look by eye (not a test): report_preview_viewer [picture.png] runs the
// report, shows its preview and, given a file name, saves a picture of the
// screen and quits.
#include "BandTestSupport.h"

#include "platform/ui/Application.h"
#include "report/RpGroup.h"
#include "report/RpPrinter.h"
#include "report/RpStandardPreview.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <string>

using namespace report;
using namespace report::testing;

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const std::string picture = argc > 1 ? argv[1] : "";

    std::vector<std::string> rows;
    const char* names[] = {"Rozsudek", "Usnesení", "Smlouva", "Plná moc", "Výpis", "Protokol", "Žádost"};
    for (int i = 0; i < 40; ++i)
        rows.push_back(std::string("'") + (i < 18 ? "Praha" : i < 31 ? "Brno" : "Ostrava") + "', 'x', '" +
                       names[i % 7] + " č. " + std::to_string(i + 1) + "', " + std::to_string(i + 1));
    ReportForm f(rows);
    f.Query()->Open();
    TRpReport& report = *f.Report();
    report.Page().SetUnits(TRpUnit::MM);
    report.Page().SetPaperSize(TRpPaperSize::A4);
    report.SetReportTitle("Přehled konverzí");
    report.Frame().SetDrawTop(true);
    report.Frame().SetDrawBottom(true);
    report.Frame().SetDrawLeft(true);
    report.Frame().SetDrawRight(true);

    f.AddText(f.AddBand(TRpBandType::rbPageHeader, "PageHeader", 80), "Konverze – strana {PAGE}");
    TRpBand* title = f.AddBand(TRpBandType::rbTitle, "Title", 200);
    title->SetColor(gfx::RGBToColor(220, 230, 245));
    f.AddText(title, "Přehled konverzí podle měst", 60);
    auto* group = new TRpGroup(f.Form());
    group->SetName("Group");
    group->SetParent(&report);
    group->SetExpression("grp");
    group->Size().SetUnits(TRpUnit::Native);
    group->Size().SetHeight(120);
    group->SetColor(gfx::RGBToColor(235, 235, 235));
    group->Frame().SetDrawBottom(true);
    f.AddText(group, "Město: {grp}", 20);
    TRpBand* footer = f.AddBand(TRpBandType::rbDetail, "GroupFooter", 100);
    group->SetFooterBand(footer);
    f.AddText(footer, "Konec skupiny {grp}", 20);
    f.AddText(f.AddBand(TRpBandType::rbDetail, "Detail", 70), "{name}");
    TRpBand* summary = f.AddBand(TRpBandType::rbSummary, "Summary", 150);
    summary->Frame().SetDrawTop(true);
    f.AddText(summary, "Celkem 40 konverzí", 40);
    f.AddText(f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 80), "Zápatí strany {PAGE}");

    report.CreateRunPrinter();
    report.GenerateReport(false);

    auto* preview = ui::CreateComponent<TRpStandardPreview>(nullptr, report.RpPrinter());
    preview->SetBounds(0, 0, 1000, 760);
    preview->ShowPreview();
    if (!picture.empty())
        QTimer::singleShot(1500, [&] {
            QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(picture));
            preview->Close();
        });
    // The window frees itself when it is closed; the program ends with it.
    preview->OnDestroy = [&](core::TObject*) { QTimer::singleShot(0, [&] { application.quit(); }); };
    application.exec();
    return 0;
}
