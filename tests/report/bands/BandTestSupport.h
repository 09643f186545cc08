#pragma once
// What the band, controller and report tests share: a printable that writes
// its text on the page and remembers where it printed, a small SQLite table
// read through a query, and a form holding a report.

#include "platform/data/ADOConnection.h"
#include "platform/data/ADOQuery.h"
#include "platform/ui/kernel/Forms.h"
#include "report/bands/RpBand.h"
#include "report/bands/RpReport.h"
#include "report/printables/RpPrintable.h"
#include "report/printer/RpExportFilter.h"

#include <memory>
#include <string>
#include <vector>

namespace report::testing {

// Prints Text at its offset inside the band; with Passes > 1 it has output
// left for that many printings of its band (as a stretching label has).
class TextPrintable : public TRpPrintable {
public:
    TextPrintable(core::TComponent* owner, TCustomRpReport* report, const std::string& text);
    std::string ClassName() const override { return "TextPrintable"; }

    void BeginRun() override;
    void PrintAt(std::int32_t ofsX, std::int32_t ofsY) override;
    void BandNotify(core::TObject* sender, int code) override;
    // Every printing of a text with passes left is one pass further.
    bool OutputAdvanced() const override { return true; }

    // The text printed; "{PAGE}" becomes the report's page count and
    // "{field}" the value of a field of the report's data set.
    std::string Text;
    std::int32_t OffsetY = 0;
    int Passes = 1;
    struct Place {
        int Page, X, Y;
        bool operator==(const Place&) const = default;
    };
    // Every printing: the page, and x and y in native units.
    std::vector<Place> Printed;
    int Notified = 0;
    // Registers with the report for the notifications of the detail band.
    bool NotifyMe = false;

private:
    TCustomRpReport* report_;
    int passesLeft_ = 0;
};

// Rows for the items table: group 'A', sub 'x', names r1..rn, amounts 1..n.
std::vector<std::string> Rows(int n);

// An A4 page with margins of 10 mm (100 native units).
void A4(TRpReport& report);

// A printable of kind T on band at left, top, width and height in native units.
template <class T>
T* Place(ui::TForm* owner, TRpCustomBand* band, long double left, long double top, long double width,
         long double height)
{
    auto* printable = new T(owner);
    printable->SetParent(band);
    TRpPrintableSize& size = printable->Size();
    const TRpUnit unit = size.Units();
    size.SetUnits(TRpUnit::Native);
    size.SetLeft(left);
    size.SetTop(top);
    size.SetWidth(width);
    size.SetHeight(height);
    size.SetUnits(unit);
    return printable;
}

// The lines labels print, page by page, as an export filter hears them.
class LineRecorder : public TRpExportFilter {
public:
    LineRecorder() : TRpExportFilter("lines") {}
    struct Line {
        int Page;
        long double Y;
        std::string Text;
    };
    void ExportNewPage() override { ++page_; }
    void ExportText(const ui::TFont&, gfx::TColor, long double, long double y, ui::TAlignment,
                    const std::string& text) override
    {
        Lines.push_back({page_, y, text});
    }
    // The texts of every page, page by page (pages without text included).
    std::vector<std::vector<std::string>> Pages() const;
    // Forgets the lines and pages heard so far.
    void Clear()
    {
        Lines.clear();
        page_ = 0;
    }
    std::vector<Line> Lines;

private:
    int page_ = 0;
};

// A table "items" (id, grp, sub, name, amount) in a database file of its own.
class ItemsDatabase {
public:
    explicit ItemsDatabase(const std::vector<std::string>& insertValues);
    ~ItemsDatabase();
    const std::string& Path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};

// A form with a report, a connection and a query over the items.
class ReportForm {
public:
    explicit ReportForm(const std::vector<std::string>& rows = {});
    ~ReportForm();

    ui::TForm* Form() { return form_; }
    TRpReport* Report() { return report_; }
    data::TADOQuery* Query() { return query_; }
    // A band of that type with a name, placed on the report.
    TRpBand* AddBand(TRpBandType type, const std::string& name, long double heightNative);
    TextPrintable* AddText(TRpCustomBand* band, const std::string& text, std::int32_t offsetY = 0);
    // Runs the report to stored pages.
    void Generate();
    // Every band's printing in order, by band name.
    std::vector<std::string> Log;
    // The texts of every stored page, page by page.
    std::vector<std::vector<std::string>> PageTexts();
    void Watch(TRpCustomBand* band);

private:
    std::unique_ptr<ItemsDatabase> db_;
    ui::TForm* form_ = nullptr;
    TRpReport* report_ = nullptr;
    data::TADOConnection* connection_ = nullptr;
    data::TADOQuery* query_ = nullptr;
};

} // namespace report::testing
