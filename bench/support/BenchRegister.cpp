#include "bench/support/BenchRegister.h"

#include <sqlite3.h>

#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace bench {

TBenchRegister::TBenchRegister(const std::string& name, int rows)
{
    const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
    folder_ = fs::temp_directory_path() / ("konverze-" + name + "-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    fs::copy_file(bin / "konverze.mdb", DatabaseFile(), fs::copy_options::overwrite_existing);
    Fill(rows);
}

TBenchRegister::~TBenchRegister()
{
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::string TBenchRegister::ConnectionString() const
{
    return "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + DatabaseFile();
}

void TBenchRegister::DisableStartupUpdateCheck() const
{
    std::ofstream(folder_ / "nastaveni.ini") << "[nastaveni]\nkontrolovat_po_startu=0\n";
}

void TBenchRegister::Fill(int rows) const
{
    const std::string path = DatabaseFile();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path);
    }
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    const std::string user = std::string("INSERT INTO uzivatel (jmeno_prijmeni, ulice, psc, mesto, vystavujici, "
                                         "email, ID_advokata) VALUES ('") +
                             kUserName + "', 'Dlouhá 1', '110 00', 'Praha', '" + kIssuingPerson +
                             "', 'jana@novakova.cz', '12345')";
    sqlite3_exec(db, user.c_str(), nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu, "
                       "datum_sepsani_vstupu, osvobozeni, cislo_dokladu, overujici_osoba, vystavujici_osoba) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    static const char* const kinds[] = {"Rozsudek Okresního soudu v Benešově čj. ",
                                        "Usnesení Krajského soudu v Brně čj. ",
                                        "Kupní smlouva o prodeji bytové jednotky ze dne ",
                                        "Plná moc k zastupování ve věci sp. zn. "};
    const double start = 39448.0; // 1 January 2008
    for (int i = 0; i < rows; ++i) {
        const double converted = start + i / 40.0 + (i % 7) * 0.001;
        const std::string serial = std::to_string(i % 5000 + 1) + "/" + std::to_string(2008 + i / 14600);
        const std::string designation = std::string(kinds[i % 4]) + std::to_string(i % 97 + 1) + " C " +
                                        std::to_string(i % 1000) + "/20" + std::to_string(10 + i % 10);
        const std::string receipt = "D-" + std::to_string(100000 + i);
        sqlite3_bind_text(insert, 1, serial.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 2, converted);
        sqlite3_bind_text(insert, 3, designation.c_str(), -1, SQLITE_TRANSIENT);
        if (i % 5 == 0)
            sqlite3_bind_null(insert, 4);
        else
            sqlite3_bind_double(insert, 4, converted - 30);
        sqlite3_bind_int(insert, 5, i % 3 == 0);
        sqlite3_bind_text(insert, 6, receipt.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 7, kUserName, -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 8, kIssuingPerson, -1, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    const int committed = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    if (committed != SQLITE_OK)
        throw std::runtime_error("cannot fill " + path);
}

} // namespace bench
