#include "TestDatabase.h"

#include "platform/core/FormatSettings.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

// Texts of dates and numbers in these tests are Czech, whatever this machine's locale.
static const bool czechFormats = (core::FormatSettings = core::TFormatSettings::Czech(), true);

TestDatabase::TestDatabase()
{
    const char* bin = std::getenv("KONVERZE_BIN_DIR");
    if (bin == nullptr)
        throw std::runtime_error("KONVERZE_BIN_DIR is not set");
    std::string pattern = (fs::temp_directory_path() / "konverze-data-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern + "/";
    path_ = folder_ + "konverze.mdb";
    fs::copy_file(fs::path(bin) / "konverze.mdb", path_);
}

TestDatabase::~TestDatabase()
{
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::string TestDatabase::ConnectionString() const
{
    return "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + path_;
}

void TestDatabase::Exec(const std::string& sql) const
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message << "\n" << sql;
}

double DateTimeOf(int year, int month, int day, int hour, int minute, int second)
{
    // Days from civil, then shifted to 1899-12-30.
    const int y = year - (month <= 2);
    const int era = y / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long days = era * 146097L + doe - 719468L + 25569L;
    return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}
