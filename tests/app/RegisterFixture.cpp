#include "RegisterFixture.h"

#include "app/ExportForm.h"
#include "app/Folders.h"
#include "app/Startup.h"
#include "app/ViewerForm.h"
#include "platform/core/Files.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/kernel/Forms.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace apptest {

std::string MakeTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "konverze-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("no temporary folder");
    return pattern + "/";
}

void RemoveFolder(const std::string& folder)
{
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

std::string ShippedDatabase()
{
    // The tests lie beside the program, whatever folder they are run from.
    return core::ExecutableFolder() + "konverze.mdb";
}

namespace {

std::string SqlText(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted + "'";
}

std::string SqlNumber(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10f", value);
    return buffer;
}

// Reads one value of the database file directly, outside the data layer.
struct Reader {
    sqlite3* db = nullptr;
    explicit Reader(const std::string& file) { sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr); }
    ~Reader() { sqlite3_close(db); }
    // Returns false when there is no row; null tells a NULL value.
    bool Value(const std::string& sql, std::string& text, bool& null)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
        bool found = sqlite3_step(statement) == SQLITE_ROW;
        if (found) {
            null = sqlite3_column_type(statement, 0) == SQLITE_NULL;
            const unsigned char* value = sqlite3_column_text(statement, 0);
            text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
        }
        sqlite3_finalize(statement);
        return found;
    }
};

} // namespace

void RegisterFixture::SetUp()
{
    folder_ = MakeTempFolder();
    ASSERT_TRUE(core::CopyFile(ShippedDatabase(), folder_ + "konverze.mdb", true)) << ShippedDatabase();
    app::DataFolder = folder_;
    BeforeForms();
    app::CreateForms();
    ASSERT_NE(app::DM, nullptr);
    ASSERT_TRUE(Register()->Active()) << dialogs_.Describe();
}

void RegisterFixture::TearDown()
{
    FreeForms();
    RemoveFolder(folder_);
}

void RegisterFixture::FreeForms()
{
    ui::FreeComponent(app::Prohlizec_Form);
    ui::FreeComponent(app::Export_Form);
    ui::FreeComponent(app::Konverze_Form);
    ui::FreeComponent(app::DM);
    app::Prohlizec_Form = nullptr;
    app::Export_Form = nullptr;
    app::Konverze_Form = nullptr;
    app::DM = nullptr;
    app::SortDirection = " DESC";
}

void RegisterFixture::AddUser(const std::string& name, const std::string& issuing, const std::string& email,
                              const std::string& registration)
{
    app::DM->ADOConnection->Execute(
        "INSERT INTO uzivatel (jmeno_prijmeni, ulice, psc, mesto, vystavujici, email, ID_advokata) VALUES (" +
        SqlText(name) + ", 'Dlouhá 1', '110 00', 'Praha', " + SqlText(issuing) + ", " + SqlText(email) + ", " +
        SqlText(registration) + ")");
    app::DM->Uzivatel_ADOQuery->Close();
    app::DM->Uzivatel_ADOQuery->Open();
}

void RegisterFixture::AddRow(const std::string& serial, const std::string& designation, double converted,
                             const std::string& certifying, bool withInputDate, double inputDate)
{
    app::DM->ADOConnection->Execute(
        "INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, datum_sepsani_vstupu, osvobozeni, "
        "cislo_dokladu, overujici_osoba, vystavujici_osoba) VALUES (" +
        SqlText(serial) + ", " + SqlNumber(converted) + ", " + SqlText(designation) + ", " +
        (withInputDate ? SqlNumber(inputDate) : std::string("NULL")) + ", 0, 'D-" + serial + "', " +
        SqlText(certifying) + ", '')");
    Register()->Close();
    Register()->Open();
}

std::vector<std::string> RegisterFixture::Designations()
{
    std::vector<std::string> out;
    for (int row = 0; row < Form()->DBGrid1->RowCount(); ++row)
        out.push_back(Form()->DBGrid1->CellText(row, 1));
    return out;
}

std::string RegisterFixture::Stored(const std::string& serial, const std::string& column)
{
    Reader reader(folder_ + "konverze.mdb");
    std::string text;
    bool null = false;
    if (!reader.Value("SELECT " + column + " FROM konverze WHERE poradove_cislo = " + SqlText(serial), text, null))
        return "<no row>";
    return text;
}

bool RegisterFixture::StoredIsNull(const std::string& serial, const std::string& column)
{
    Reader reader(folder_ + "konverze.mdb");
    std::string text;
    bool null = false;
    reader.Value("SELECT " + column + " FROM konverze WHERE poradove_cislo = " + SqlText(serial), text, null);
    return null;
}

std::vector<std::string> RegisterFixture::Messages() const
{
    std::vector<std::string> texts;
    for (const ui::TDialogQuestion& question : dialogs_.Questions())
        texts.push_back(question.Text);
    return texts;
}

std::string RegisterFixture::StoredUserNames()
{
    Reader reader(folder_ + "konverze.mdb");
    std::string text;
    bool null = false;
    reader.Value("SELECT group_concat(jmeno_prijmeni, '|') FROM uzivatel", text, null);
    return text;
}

void RegisterFixture::GoTo(const std::string& serial)
{
    Register()->First();
    while (!Register()->Eof() && Register()->FieldByName("poradove_cislo")->AsString() != serial)
        Register()->Next();
    ASSERT_EQ(Register()->FieldByName("poradove_cislo")->AsString(), serial);
}

void RegisterFixture::Search(int where, const std::string& text)
{
    Form()->RadioGroup1->SetItemIndex(where);
    Form()->Hledani_Edit->SetText(text);
}

} // namespace apptest
