#include "platform/data/EngineError.h"

namespace data {

std::string EngineErrorText(sqlite3* db, int resultCode)
{
    const char* detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(resultCode);
    switch (resultCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "Databáze je uzamčena, právě ji používá jiný uživatel nebo program. Zkuste to prosím znovu.";
    case SQLITE_READONLY:
        return "Do databáze nelze zapisovat: soubor je otevřen jen pro čtení nebo k zápisu do něj nemáte "
               "oprávnění.";
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return "K databázovému souboru nemáte oprávnění.";
    case SQLITE_CANTOPEN:
        return "Databázový soubor nelze otevřít.";
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return "Soubor není databáze, kterou program umí číst, nebo je poškozen.";
    case SQLITE_FULL:
        return "Na disku není pro databázi dost místa.";
    case SQLITE_IOERR:
        return "Při čtení nebo zápisu databázového souboru došlo k chybě.";
    case SQLITE_TOOBIG:
        return "Hodnota je pro databázi příliš velká.";
    case SQLITE_NOMEM:
        return "Pro práci s databází není dost paměti.";
    case SQLITE_CONSTRAINT:
        return std::string("Záznam nelze uložit, odporuje pravidlům databáze (") + detail + ").";
    case SQLITE_ERROR:
        return std::string("Chyba v příkazu SQL (") + detail + ").";
    default:
        return std::string("Databáze ohlásila chybu (") + detail + ").";
    }
}

} // namespace data
