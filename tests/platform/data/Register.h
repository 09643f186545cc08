#pragma once
// The register as the data module sets it up: one connection, the register
// query with its ten persistent fields and the three SQL lines, a data source.

#include "TestDatabase.h"

#include "platform/data/ADOConnection.h"
#include "platform/data/ADOQuery.h"
#include "platform/data/DataSource.h"

#include <memory>
#include <string>
#include <vector>

struct Register {
    explicit Register(const TestDatabase& database, int year = 2010);

    // Line 0 with the year, line 1 the filter, line 2 the order.
    void SetLines(const std::string& filter = "", const std::string& order = "ORDER BY datum_konverze DESC");
    // Inserts a row through the query and posts it.
    void Add(const std::string& serial, double converted, const std::string& designation = "Rozsudek");

    std::unique_ptr<core::TComponent> owner = std::make_unique<core::TComponent>(nullptr);
    data::TADOConnection* connection;
    data::TADOQuery* query;
    data::TDataSource* source;
    data::TAutoIncField* ID;
    data::TWideStringField* poradove_cislo;
    data::TDateTimeField* datum_konverze;
    data::TWideStringField* oznaceni_vstupu;
    data::TDateTimeField* datum_sepsani_vstupu;
    data::TBooleanField* osvobozeni;
    data::TWideStringField* cislo_dokladu;
    data::TWideStringField* overujici_osoba;
    data::TWideStringField* vystavujici_osoba;
    data::TIntegerField* pocet_rok;
    int year;
};

// The serial numbers of the query's rows in cursor order (the cursor ends past the last).
std::vector<std::string> Serials(Register& r);
