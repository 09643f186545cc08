#include "ExportFixture.h"

#include "platform/core/DateTime.h"
#include "platform/core/OwnTempFolder.h"
#include "platform/ui/dialogs/ScriptedDialogs.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

namespace apptest {

std::string Cp1250(const std::string& utf8)
{
    static const std::map<std::string, char> letters{
        {"á", '\xE1'}, {"č", '\xE8'}, {"ď", '\xEF'}, {"é", '\xE9'}, {"ě", '\xEC'}, {"í", '\xED'},
        {"ň", '\xF2'}, {"ó", '\xF3'}, {"ř", '\xF8'}, {"š", '\x9A'}, {"ť", '\x9D'}, {"ú", '\xFA'},
        {"ů", '\xF9'}, {"ý", '\xFD'}, {"ž", '\x9E'}, {"Č", '\xC8'}, {"Ř", '\xD8'}, {"Š", '\x8A'},
        {"Ž", '\x8E'}, {"§", '\xA7'}, {"–", '\x96'}};
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            out += utf8[i++];
            continue;
        }
        const std::size_t length = byte >= 0xE0 ? 3 : 2;
        const auto found = letters.find(utf8.substr(i, length));
        if (found == letters.end())
            throw std::invalid_argument("no Windows-1250 letter in the test's table for " + utf8.substr(i, length));
        out += found->second;
        i += length;
    }
    return out;
}

std::optional<std::string> FileBytes(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void ExportFixture::SetUp()
{
    if (const char* old = std::getenv("TEMP"))
        oldTemp_ = old;
    temp_ = MakeTempFolder();
    setenv("TEMP", temp_.c_str(), 1);
    copies_ = core::OwnTempFolderName();
    mailer_ = std::make_unique<testsupport::StandInTool>("xdg-email");
    opener_ = std::make_unique<testsupport::StandInTool>("xdg-open");
    RegisterFixture::SetUp();
}

void ExportFixture::TearDown()
{
    RegisterFixture::TearDown();
    opener_.reset();
    mailer_.reset();
    if (oldTemp_)
        setenv("TEMP", oldTemp_->c_str(), 1);
    else
        unsetenv("TEMP");
    RemoveFolder(temp_);
}

void ExportFixture::AddConversion(const std::string& serial, double converted, const std::string& designation,
                                  double inputDate, bool waived, const std::string& receipt)
{
    auto text = [](const std::string& value) {
        std::string quoted = "'";
        for (char c : value)
            quoted += c == '\'' ? std::string("''") : std::string(1, c);
        return quoted + "'";
    };
    auto number = [](double value) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.10f", value);
        return std::string(buffer);
    };
    app::DM->ADOConnection->Execute(
        "INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, datum_sepsani_vstupu, osvobozeni, "
        "cislo_dokladu, overujici_osoba, vystavujici_osoba) VALUES (" +
        text(serial) + ", " + number(converted) + ", " + text(designation) + ", " +
        (inputDate < 0 ? std::string("NULL") : number(inputDate)) + ", " + (waived ? "1" : "0") + ", " +
        text(receipt) + ", 'JUDr. Jana Nováková', 'Mgr. Petr Svoboda')");
    Register()->Close();
    Register()->Open();
}

void ExportFixture::SetPeriod(double start, double end)
{
    Export()->Od_DTP->SetDateTime(start);
    Export()->Do_DTP->SetDateTime(end);
}

std::string ExportFixture::RegisterSql() const
{
    return Register()->SQL()->Text();
}

std::vector<std::string> ExportFixture::Opened()
{
    std::optional<std::vector<std::string>> arguments = opener_->Arguments();
    std::error_code error;
    std::filesystem::remove(opener_->Folder() / "arguments", error);
    return arguments.value_or(std::vector<std::string>{});
}

void PeriodExport::SetUp()
{
    ExportFixture::SetUp();
    if (HasFatalFailure())
        return;
    AddUser("JUDr. Jana Nováková", "Mgr. Petr Svoboda", "jana@novakova.cz", "12345");
    using core::EncodeDateTime;
    // In date order, which is also the order the period's query reads them in.
    AddConversion("0/2010", EncodeDateTime(2010, 4, 30, 23, 59, 0, 0), "Před obdobím", -1, false, "D-100");
    AddConversion("1/2010", EncodeDateTime(2010, 5, 1, 0, 0, 0, 0), "Kupní smlouva č. 7",
                  core::EncodeDate(2010, 4, 28), false, "D-101");
    AddConversion("2/2010", EncodeDateTime(2010, 5, 14, 10, 30, 0, 0), "Plná moc k zastupování", -1, true, "D-102");
    AddConversion("3/2010", EncodeDateTime(2010, 5, 31, 23, 59, 0, 0), "Usnesení Krajského soudu",
                  core::EncodeDate(2010, 5, 2), false, "D-103");
    AddConversion("4/2010", EncodeDateTime(2010, 6, 1, 0, 0, 0, 0), "Rozsudek o ořešáku", core::EncodeDate(2010, 5, 3),
                  true, "");
    AddConversion("5/2010", EncodeDateTime(2010, 6, 1, 0, 1, 0, 0), "Po období", -1, false, "D-105");
    SetPeriod(May1(), May31());
    Export()->CheckBox2->SetChecked(false);
}

} // namespace apptest
