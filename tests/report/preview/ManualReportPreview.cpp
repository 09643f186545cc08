// A grouped report generated and shown in the standard preview window, for a
// look by eye (not a test): report_preview_viewer [picture.png [paper.pdf]]
// runs the report, shows its preview and, given a file name, saves a picture
// of the screen and quits; given a PDF file name too, it first prints the
// report there, to be set beside the preview.
#include "tests/report/bands/BandTestSupport.h"

#include "platform/print/Printer.h"
#include "platform/ui/kernel/Application.h"
#include "report/bands/RpGroup.h"
#include "report/preview/RpStandardPreview.h"
#include "report/printables/RpLabel.h"
#include "report/printer/RpPrinter.h"

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
    const std::string paper = argc > 2 ? argv[2] : "";

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
    TRpBand* title = f.AddBand(TRpBandType::rbTitle, "Title", 320);
    title->SetColor(gfx::RGBToColor(220, 230, 245));
    auto* heading = Place<TRpLabel>(f.Form(), title, 0, 20, 1300, 170);
    heading->SetAutoSize(false);
    heading->SetTransparent(true);
    heading->Font().SetSize(14);
    heading->SetCaption("Přehled ověřených konverzí dokumentů podle měst, s poznámkou na konci a oslavnými verši "
                        "jako v každé pořádné sbírce ódy");
    // A tab stands at the same stop on the screen and on paper.
    auto* tabbed = Place<TRpLabel>(f.Form(), title, 0, 200, 1800, 110);
    tabbed->SetAutoSize(false);
    tabbed->SetTransparent(true);
    tabbed->Font().SetName("Liberation Sans");
    tabbed->Font().SetSize(24);
    tabbed->SetCaption("práva ódy v\tsloupec");
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
    // A long note that goes on over the next page, its lines ended by LF.
    std::string note;
    for (int i = 1; i <= 90; ++i)
        note += "Poznámka " + std::to_string(i) + ": konverze byla ověřena a zapsána do evidence.\n";
    auto* remark = Place<TRpLabel>(f.Form(), summary, 0, 90, 1800, 50);
    remark->SetAutoSize(false);
    remark->SetAutoStretch(true);
    remark->SetTransparent(true);
    remark->SetCaption(note);
    // A footer of one line given three: the first prints, the rest is cut.
    TRpBand* pageFooter = f.AddBand(TRpBandType::rbPageFooter, "PageFooter", 80);
    f.AddText(pageFooter, "Zápatí strany {PAGE}");
    auto* footnote = Place<TRpLabel>(f.Form(), pageFooter, 700, 0, 1100, 45);
    footnote->SetAutoSize(false);
    footnote->SetAutoStretch(true);
    footnote->SetTransparent(true);
    footnote->SetCaption("Vytištěno z evidence konverzí\ndruhý řádek se nevejde\ntřetí také ne");

    report.CreateRunPrinter();
    report.GenerateReport(false);
    if (!paper.empty()) {
        report.SetShowProgress(false);
        report.PrinterSettings().SetPrintQuality(600);
        report.BeforePrint = [&](TCustomRpReport* sender, bool&) {
            sender->RpPrinter()->Printer()->SetOutputFileName(paper);
        };
        report.PrintReport();
        report.BeforePrint = nullptr;
    }

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
