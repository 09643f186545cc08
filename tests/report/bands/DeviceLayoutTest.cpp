// Paper shows what the preview shows: the same report gives the same lines,
// line breaks and page breaks in the stored pages (screen resolution) and on
// the PDF printer at 300, 600 and 1200 dots per inch, and the printed file
// holds those lines on those pages; tabs stand at the same places on every
// device.
#include "BandTestSupport.h"
#include "tests/report/TempFolder.h"

#include "platform/core/Unicode.h"
#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/MetafilePlayer.h"
#include "platform/gfx/Screen.h"
#include "platform/print/Printer.h"
#include "report/printables/RpLabel.h"
#include "report/printer/RpPrinter.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
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

// A word on a page: its text and where it starts, in native units.
struct PlacedWord {
    std::string Text;
    long double X, Y;
};
// The words of a page line by line, top down, each line left to right.
using PlacedLines = std::vector<std::vector<PlacedWord>>;

PlacedLines ByLines(std::vector<PlacedWord> words)
{
    std::sort(words.begin(), words.end(), [](const PlacedWord& a, const PlacedWord& b) { return a.Y < b.Y; });
    PlacedLines lines;
    for (const PlacedWord& word : words) {
        // Words of one line lie within 2 mm of its first word.
        if (lines.empty() || word.Y - lines.back().front().Y > 20)
            lines.emplace_back();
        lines.back().push_back(word);
    }
    for (auto& line : lines)
        std::sort(line.begin(), line.end(), [](const PlacedWord& a, const PlacedWord& b) { return a.X < b.X; });
    return lines;
}

// The words of the first page of a printed file, as pdftotext places them.
PlacedLines PdfWords(const std::string& file)
{
    QProcess process;
    process.start(QStringLiteral(KONVERZE_PDFTOTEXT),
                  {QStringLiteral("-bbox"), QStringLiteral("-l"), QStringLiteral("1"), QString::fromStdString(file),
                   QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)"[^>]*>([^<]*)</word>)re"));
    std::vector<PlacedWord> words;
    for (auto match = word.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        // Points to tenths of a millimetre.
        words.push_back({m.captured(3).toStdString(), m.captured(1).toDouble() * 254 / 72,
                         m.captured(2).toDouble() * 254 / 72});
    }
    return ByLines(words);
}

// The words of a stored page, where its text records put them.
PlacedLines StoredWords(const gfx::TMetafile& page)
{
    const long double perNative = gfx::ScreenPixelsPerInch() / 254.0L;
    std::vector<PlacedWord> words;
    std::uint32_t align = 0;
    gfx::EnumerateMetafileRecords(page, [&](const gfx::TEmfRecord& record, const std::uint8_t* data) {
        const gfx::emf::TRecordReader r(data, record.Size);
        if (record.Type == gfx::emf::EMR_SETTEXTALIGN)
            align = r.U32(8);
        const std::optional<std::u16string> text = gfx::TextRecordString(record, data);
        if (!text)
            return true;
        const bool hasRect = (r.U32(52) & gfx::ETO_NO_RECT) == 0;
        const std::uint32_t dx = r.U32(hasRect ? 72 : 56);
        const std::u16string& line = *text;
        std::vector<long double> x(line.size() + 1, r.I32(36));
        for (std::size_t i = 0; i < line.size(); ++i)
            x[i + 1] = x[i] + r.I32(dx + 4 * static_cast<std::uint32_t>(i));
        // The reference point is the line's right end or middle where the text is so aligned.
        const long double shift = (align & gfx::TA_CENTER) == gfx::TA_CENTER ? (x.back() - x.front()) / 2
                                  : (align & gfx::TA_RIGHT) != 0           ? x.back() - x.front()
                                                                           : 0;
        for (long double& at : x)
            at -= shift;
        for (std::size_t i = 0, end; i < line.size(); i = end + 1) {
            end = std::min(line.find_first_of(u" \t", i), line.size());
            if (end > i)
                words.push_back({core::Utf16ToUtf8(line.substr(i, end - i)), x[i] / perNative, r.I32(40) / perNative});
        }
        return true;
    });
    return ByLines(words);
}

// Printed on the PDF printer at 300, 600 and 1200 dpi, the first page holds
// the words of the stored one, each where the stored page has it.
void ExpectPaperAsStored(TRpReport& report, const PlacedLines& stored, const std::string& name)
{
    ScopedTempFolder temp{name};
    // One screen pixel is the stored pages' step.
    const long double pixel = 254.0L / gfx::ScreenPixelsPerInch();
    for (int dpi : {300, 600, 1200}) {
        const std::string pdf = temp.File(name + std::to_string(dpi) + ".pdf");
        report.PrinterSettings().SetPrintQuality(dpi);
        report.BeforePrint = [&](TCustomRpReport* sender, bool&) {
            sender->RpPrinter()->Printer()->SetOutputFileName(pdf);
        };
        report.PrintReport();
        const PlacedLines paper = PdfWords(pdf);
        ASSERT_EQ(paper.size(), stored.size()) << dpi << " dpi";
        for (std::size_t i = 0; i < stored.size(); ++i) {
            ASSERT_EQ(paper[i].size(), stored[i].size()) << dpi << " dpi, line " << i;
            for (std::size_t w = 0; w < stored[i].size(); ++w) {
                EXPECT_EQ(paper[i][w].Text, stored[i][w].Text) << dpi << " dpi, line " << i;
                EXPECT_NEAR(paper[i][w].X, stored[i][w].X, pixel + 1)
                    << dpi << " dpi, line " << i << ", " << stored[i][w].Text;
            }
        }
    }
    report.BeforePrint = nullptr;
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

// A one-record report on A4 for labels of tabbed text; its title band, of
// the height given, holds them.
TRpBand* TabbedLabelsReport(ReportForm& f, long double titleHeight)
{
    f.Query()->Open();
    A4(*f.Report());
    f.Report()->SetShowProgress(false);
    TRpBand* title = f.AddBand(TRpBandType::rbTitle, "Title", titleHeight);
    f.AddBand(TRpBandType::rbDetail, "Detail", 10);
    return title;
}

// The words of the first stored page, line by line.
PlacedLines FirstPageWords(ReportForm& f)
{
    f.Generate();
    const std::unique_ptr<gfx::TMetafile> page = f.Report()->RpPrinter()->GetPage(1);
    return page != nullptr ? StoredWords(*page) : PlacedLines{};
}

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

// Tabs advance to the same stops in the stored pages and on paper at every
// resolution: eight average character widths of the font apart, so the
// words after them line up in columns.
TEST(DeviceLayoutTabs, TabbedWordsStandAtTheSamePlacesOnEveryDevice)
{
    struct Case {
        const char* Text;
        const char* Face;
        int Size;
    };
    const Case cases[] = {
        {"práva ódy v\tsloupec", "Liberation Sans", 24},
        {"jméno\tNovák", "Liberation Sans", 12},
        {"příjmení\tNovák", "Liberation Sans", 12},
        {"\todsazeno", "DejaVu Sans", 10},
        {"a\t\tdvě zarážky", "DejaVu Sans", 10},
        {"číslo\t12/2024\tstrana 3", "Liberation Serif", 14},
    };
    ReportForm f(Rows(1));
    TRpBand* title = TabbedLabelsReport(f, 1200);
    constexpr long double kLeft = 100; // the left margin
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        auto* label = Place<TRpLabel>(f.Form(), title, 0, 150.0L * static_cast<long double>(i), 1900, 140);
        label->SetAutoSize(false);
        label->Font().SetName(cases[i].Face);
        label->Font().SetSize(cases[i].Size);
        label->SetCaption(cases[i].Text);
    }
    const PlacedLines stored = FirstPageWords(f);
    ASSERT_EQ(stored.size(), std::size(cases));
    for (std::size_t i = 0; i < stored.size(); ++i) {
        std::vector<std::string> words;
        for (const PlacedWord& word : stored[i])
            words.push_back(word.Text);
        EXPECT_EQ(words, Words(cases[i].Text)) << "line " << i;
    }
    // One screen pixel is the stored pages' step.
    const long double pixel = 254.0L / gfx::ScreenPixelsPerInch();
    EXPECT_GT(stored[0][3].X - stored[0][2].X, 100) << "the tab after \"v\" leaves room";
    EXPECT_NEAR(stored[1][1].X, stored[2][1].X, pixel) << "both names in one column";
    const long double stop = stored[3][0].X - kLeft;
    EXPECT_GT(stop, 100);
    EXPECT_NEAR(stored[4][1].X - kLeft, 2 * stop, 2 * pixel) << "two tabs, two stops";

    ExpectPaperAsStored(*f.Report(), stored, "tabs");
}

// A tab is a place where a wrapped line may break: the word behind it begins
// the next line whole, in every font, size and alignment, on paper as in the
// preview.
TEST(DeviceLayoutTabs, WordsBehindTabsWrapWhole)
{
    struct Case {
        const char* Text;
        const char* Face;
        int Size;
        long double Width, Height;
        ui::TAlignment Alignment;
    };
    const Case cases[] = {
        {"aaa bbb ccc ddd eee fff ggg hhh iii jjj kkk \tlll mmm \tnnn ooo ppp", "Liberation Sans", 36, 700, 1500,
         ui::TAlignment::taLeftJustify},
        {"Kód\tZboží\tcena dodavatel", "DejaVu Sans", 24, 500, 450, ui::TAlignment::taLeftJustify},
        {"číslo jednací\t12/2024 ověřená\tlistina strana\t3 z 10", "Liberation Serif", 14, 600, 300,
         ui::TAlignment::taRightJustify},
        {"jméno\tNovák příjmení\tNováková\tJUDr. advokátka", "DejaVu Sans", 10, 400, 200,
         ui::TAlignment::taCenter},
    };
    ReportForm f(Rows(1));
    TRpBand* title = TabbedLabelsReport(f, 2600);
    long double top = 0;
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        auto* label = Place<TRpLabel>(f.Form(), title, 0, top, c.Width, c.Height);
        top += c.Height + 10;
        label->SetAutoSize(false);
        label->SetAutoStretch(true);
        label->SetAlignment(c.Alignment);
        label->Font().SetName(c.Face);
        label->Font().SetSize(c.Size);
        label->SetCaption(c.Text);
        for (const std::string& word : Words(c.Text))
            expected.push_back(word);
    }
    const PlacedLines stored = FirstPageWords(f);
    std::vector<std::string> words;
    for (const auto& line : stored)
        for (const PlacedWord& word : line)
            words.push_back(word.Text);
    EXPECT_EQ(words, expected);
    EXPECT_GT(stored.size(), std::size(cases) * 2) << "the captions wrap";

    ExpectPaperAsStored(*f.Report(), stored, "wrap");
}

} // namespace report::testing
