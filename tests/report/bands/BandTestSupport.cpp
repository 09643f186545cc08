#include "BandTestSupport.h"

#include "platform/data/Field.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Metafile.h"
#include "platform/gfx/MetafilePlayer.h"
#include "report/printer/RpPrinter.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace report::testing {

TextPrintable::TextPrintable(core::TComponent* owner, TCustomRpReport* report, const std::string& text)
    : TRpPrintable(owner), Text(text), report_(report)
{
}

void TextPrintable::BeginRun()
{
    TRpPrintable::BeginRun();
    Printed.clear();
    Notified = 0;
    passesLeft_ = Passes;
    if (NotifyMe)
        report_->AddNotifyExpr(this);
}

void TextPrintable::BandNotify(core::TObject* sender, int code)
{
    TRpPrintable::BandNotify(sender, code);
    if (code == 0)
        ++Notified;
}

void TextPrintable::PrintAt(std::int32_t ofsX, std::int32_t ofsY)
{
    Printed.push_back({report_->PageCount(), ofsX, ofsY + OffsetY});
    std::string text = Text;
    for (std::size_t at; (at = text.find("{PAGE}")) != std::string::npos;)
        text.replace(at, 6, std::to_string(report_->PageCount()));
    for (std::size_t open; (open = text.find('{')) != std::string::npos;) {
        std::size_t close = text.find('}', open);
        std::string name = text.substr(open + 1, close - open - 1);
        auto* rp = dynamic_cast<TRpReport*>(report_);
        data::TDataSet* dataSet = rp != nullptr ? rp->DataSet() : nullptr;
        text.replace(open, close - open + 1, dataSet != nullptr ? dataSet->FieldByName(name)->AsString() : "");
    }
    TRpPrinter* printer = report_->RpPrinter();
    if (printer != nullptr && printer->Canvas() != nullptr)
        printer->Canvas()->TextOut(printer->XPos(ofsX), printer->YPos(ofsY + OffsetY), text);
    if (--passesLeft_ > 0) {
        SetPrintFinished(false);
    } else {
        SetPrintFinished(true);
        passesLeft_ = Passes;
    }
}

std::vector<std::vector<std::string>> LineRecorder::Pages() const
{
    std::vector<std::vector<std::string>> pages(static_cast<std::size_t>(page_));
    for (const Line& line : Lines)
        pages.at(static_cast<std::size_t>(line.Page - 1)).push_back(line.Text);
    return pages;
}

std::vector<std::string> Rows(int n)
{
    std::vector<std::string> rows;
    for (int i = 1; i <= n; ++i)
        rows.push_back("'A', 'x', 'r" + std::to_string(i) + "', " + std::to_string(i));
    return rows;
}

void A4(TRpReport& report)
{
    report.Page().SetUnits(TRpUnit::MM);
    report.Page().SetPaperSize(TRpPaperSize::A4);
    report.Page().SetTopMargin(10);
    report.Page().SetBottomMargin(10);
    report.Page().SetLeftMargin(10);
    report.Page().SetRightMargin(10);
}

ItemsDatabase::ItemsDatabase(const std::vector<std::string>& insertValues)
{
    std::string pattern = (fs::temp_directory_path() / "konverze-bands-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern + "/";
    path_ = folder_ + "items.mdb";
    sqlite3* db = nullptr;
    sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::string sql = "CREATE TABLE items (id INTEGER PRIMARY KEY, grp VARCHAR(20), sub VARCHAR(20), "
                      "name VARCHAR(50), amount INTEGER);";
    // One transaction: a file sync per row would make long tables slow.
    sql += "BEGIN;";
    for (const std::string& values : insertValues)
        sql += "INSERT INTO items (grp, sub, name, amount) VALUES (" + values + ");";
    sql += "COMMIT;";
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    std::string message = error != nullptr ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error(message);
}

ItemsDatabase::~ItemsDatabase()
{
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

ReportForm::ReportForm(const std::vector<std::string>& rows)
{
    form_ = ui::CreateComponent<ui::TForm>(nullptr);
    form_->SetName("Form");
    report_ = new TRpReport(form_);
    report_->SetName("Report");
    report_->SetParent(form_);
    db_ = std::make_unique<ItemsDatabase>(rows);
    connection_ = new data::TADOConnection(form_);
    connection_->SetLoginPrompt(false);
    connection_->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + db_->Path());
    query_ = new data::TADOQuery(form_);
    query_->SetName("Query");
    query_->SetConnection(connection_);
    query_->SQL()->Add("SELECT * FROM items ORDER BY id");
    report_->SetDataSet(query_);
}

ReportForm::~ReportForm()
{
    ui::FreeComponent(form_);
}

void ReportForm::Watch(TRpCustomBand* band)
{
    band->AfterPrint = [this](TRpCustomBand* sender, bool printed) {
        if (printed)
            Log.push_back(sender->Name());
    };
}

TRpBand* ReportForm::AddBand(TRpBandType type, const std::string& name, long double heightNative)
{
    auto* band = new TRpBand(form_);
    band->SetName(name);
    band->SetParent(report_);
    band->SetBandType(type);
    const TRpUnit unit = band->Size().Units();
    band->Size().SetUnits(TRpUnit::Native);
    band->Size().SetHeight(heightNative);
    band->Size().SetUnits(unit);
    Watch(band);
    return band;
}

TextPrintable* ReportForm::AddText(TRpCustomBand* band, const std::string& text, std::int32_t offsetY)
{
    auto* printable = new TextPrintable(form_, report_, text);
    printable->SetParent(band);
    printable->OffsetY = offsetY;
    return printable;
}

void ReportForm::Generate()
{
    Log.clear();
    report_->GenerateReport(false);
}

std::vector<std::vector<std::string>> ReportForm::PageTexts()
{
    std::vector<std::vector<std::string>> pages;
    TRpPrinter* printer = report_->RpPrinter();
    for (int n = 1; printer != nullptr && n <= printer->PageCount(); ++n) {
        std::unique_ptr<gfx::TMetafile> page = printer->GetPage(n);
        pages.push_back(page ? gfx::MetafileTexts(*page) : std::vector<std::string>{});
    }
    return pages;
}

} // namespace report::testing
