// Paper shows what the preview shows: the same report gives the same lines,
// line breaks and page breaks in the stored pages (screen resolution) and on
// the PDF printer at 300, 600 and 1200 dots per inch, and the printed file
// holds those lines on those pages.
#include "BandTestSupport.h"
#include "tests/report/TempFolder.h"

#include "platform/print/Printer.h"
#include "report/printables/RpLabel.h"
#include "report/printer/RpPrinter.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <sstream>

namespace report::testing {
namespace {

using Pages = std::vector<std::vector<std::string>>;
using report::test::ScopedTempFolder;

// A long text of Czech words of many lengths, always the same.
std::string LongText(int words)
{
    static const char* const kWords[] = {"ověřená",     "listina",  "a",         "konverze", "dokumentu",
                                         "z",           "listinné", "podoby",    "do",       "elektronické",
                                         "shoduje",     "se",       "doslovně",  "s",        "obsahem",
                                         "vstupu",      "č.",       "12/2024",   "–",        "přičemž",
                                         "žluťoučký",   "kůň",      "úpěl",      "ďábelské", "ódy",
                                         "Ústí",        "nad",      "Labem",     "Říčany",   "strana",
                                         "ověřovací",   "doložka",  "notářství", "JUDr.",    "Nováková"};
    std::string text;
    unsigned state = 7;
    for (int i = 0; i < words; ++i) {
        state = state * 1103515245u + 12345u;
        if (i > 0)
            text += (state >> 20) % 41 == 0 ? "\n" : " ";
        text += kWords[(state >> 8) % std::size(kWords)];
    }
    return text;
}

// Words of a text, blanks of any kind apart.
std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

std::vector<std::string> PdfPages(const std::string& file)
{
    QProcess process;
    process.start(QStringLiteral(KONVERZE_PDFTOTEXT), {QString::fromStdString(file), QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    const std::string text = process.readAllStandardOutput().toStdString();
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\f', start)) != std::string::npos; start = end + 1)
        pages.push_back(text.substr(start, end - start));
    return pages;
}

class DeviceLayout : public ::testing::Test {
protected:
    DeviceLayout() : f(Rows(2))
    {
        f.Query()->Open();
        TRpReport& report = *f.Report();
        A4(report);
        report.SetShowProgress(false);
        TRpBand* title = f.AddBand(TRpBandType::rbTitle, "Title", 200);
        auto* heading = Place<TRpLabel>(f.Form(), title, 0, 0, 1100, 190);
        heading->SetAutoSize(false);
        heading->SetCaption("Zpráva o ověřených konverzích dokumentů za první pololetí, s poznámkami "
                            "ke každé listině a na samý konec ódy");
        heading->Font().SetSize(14);
        TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 100);
        auto* body = Place<TRpLabel>(f.Form(), detail, 0, 0, 1900, 60);
        body->SetAutoSize(false);
        body->SetAutoStretch(true);
        body->SetCaption(LongText(4200));
        TRpBand* footer = f.AddBand(TRpBandType::rbPageFooter, "Footer", 60);
        auto* page = Place<TRpLabel>(f.Form(), footer, 0, 0, 1900, 60);
        page->SetAutoSize(false);
        page->SetCaption("Konverze – strana");
        report.SetExportFilter(&lines);
    }

    // The lines of a run to stored pages, as the pages' text records hold them.
    Pages StoredRun()
    {
        lines.Clear();
        f.Generate();
        const Pages stored = f.PageTexts();
        EXPECT_EQ(stored, lines.Pages()) << "the stored pages hold what the labels printed";
        return stored;
    }

    // The lines of a run on the PDF printer at dpi, and the printed file's pages.
    Pages PrinterRun(int dpi, std::vector<std::string>& pdfPages)
    {
        lines.Clear();
        const std::string pdf = temp.File("paper" + std::to_string(dpi) + ".pdf");
        TRpReport& report = *f.Report();
        report.PrinterSettings().SetPrintQuality(dpi);
        int resolution = 0;
        report.BeforePrint = [&](TCustomRpReport* sender, bool&) {
            sender->RpPrinter()->Printer()->SetOutputFileName(pdf);
        };
        report.OnStartPage = [&](TCustomRpReport* sender) {
            resolution = sender->RpPrinter()->Printer()->LogPixelsX();
            EXPECT_EQ(sender->RpPrinter()->Destination(), TRpDestination::Printer);
        };
        report.PrintReport();
        report.BeforePrint = nullptr;
        report.OnStartPage = nullptr;
        EXPECT_EQ(resolution, dpi);
        pdfPages = PdfPages(pdf);
        return lines.Pages();
    }

    ReportForm f;
    LineRecorder lines;
    ScopedTempFolder temp{"paper"};
};

} // namespace

TEST_F(DeviceLayout, LinesAndPagesAreTheSameInTheStoredPagesAndOnEveryPrinter)
{
    const Pages screen = StoredRun();
    ASSERT_GE(screen.size(), 5u);
    // The heading's three lines, its last word on the last.
    ASSERT_GE(screen.front().size(), 3u);
    EXPECT_EQ(screen.front()[2], "na samý konec ódy");

    for (int dpi : {300, 600, 1200}) {
        std::vector<std::string> pdfPages;
        const Pages paper = PrinterRun(dpi, pdfPages);
        ASSERT_EQ(paper.size(), screen.size()) << dpi << " dpi";
        for (std::size_t p = 0; p < screen.size(); ++p)
            EXPECT_EQ(paper[p], screen[p]) << dpi << " dpi, page " << p + 1;

        // The file has those pages, each with the words of its lines.
        ASSERT_EQ(pdfPages.size(), screen.size()) << dpi << " dpi";
        for (std::size_t p = 0; p < screen.size(); ++p) {
            std::string expected;
            for (const std::string& line : screen[p])
                expected += line + " ";
            EXPECT_EQ(Words(pdfPages[p]), Words(expected)) << dpi << " dpi, page " << p + 1;
        }
    }
    // And the preview once more, after the printing.
    EXPECT_EQ(StoredRun(), screen);
}

} // namespace report::testing
