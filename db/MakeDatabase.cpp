// Build step: makes an empty database from a schema file.
//   konverze_make_database <schema.sql> <database>
// The database is written under a temporary name and renamed when complete,
// so a failed run never leaves a half-made file behind.

#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <schema.sql> <database>\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream schema;
    schema << in.rdbuf();

    const std::string target = argv[2];
    const std::string temporary = target + ".tmp";
    std::remove(temporary.c_str());
    sqlite3* db = nullptr;
    char* error = nullptr;
    bool ok = sqlite3_open_v2(temporary.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) ==
                  SQLITE_OK &&
              sqlite3_exec(db, "BEGIN", nullptr, nullptr, &error) == SQLITE_OK &&
              sqlite3_exec(db, schema.str().c_str(), nullptr, nullptr, &error) == SQLITE_OK &&
              sqlite3_exec(db, "COMMIT", nullptr, nullptr, &error) == SQLITE_OK;
    if (!ok)
        std::fprintf(stderr, "%s: %s\n", argv[1], error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    if (sqlite3_close(db) != SQLITE_OK)
        ok = false;
    if (ok && std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::perror(target.c_str());
        ok = false;
    }
    if (!ok)
        std::remove(temporary.c_str());
    return ok ? 0 : 1;
}
