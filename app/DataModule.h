#pragma once
// The data module: the one connection to the register database, the register
// and users queries with their data sources, and the rules for new and saved
// register rows.

#include "platform/data/ADOConnection.h"
#include "platform/data/ADOQuery.h"
#include "platform/data/DataSource.h"
#include "platform/ui/kernel/DataModule.h"

#include <memory>
#include <string>

namespace app {

class TRowBeingTyped;

class TDM : public ui::TDataModule {
public:
    explicit TDM(core::TComponent* owner);
    ~TDM() override;
    std::string ClassName() const override { return "TDM"; }

    data::TADOConnection* ADOConnection;
    data::TADOQuery* Konverze_ADOQuery;
    data::TAutoIncField* Konverze_ADOQueryID;
    data::TWideStringField* Konverze_ADOQueryporadove_cislo;
    data::TDateTimeField* Konverze_ADOQuerydatum_konverze;
    data::TWideStringField* Konverze_ADOQueryoznaceni_vstupu;
    data::TDateTimeField* Konverze_ADOQuerydatum_sepsani_vstupu;
    data::TBooleanField* Konverze_ADOQueryosvobozeni;
    data::TWideStringField* Konverze_ADOQuerycislo_dokladu;
    data::TWideStringField* Konverze_ADOQueryoverujici_osoba;
    data::TWideStringField* Konverze_ADOQueryvystavujici_osoba;
    data::TIntegerField* Konverze_ADOQuerypocet_rok;
    data::TDataSource* Konverze_DataSource;
    data::TADOQuery* Uzivatel_ADOQuery;
    data::TDataSource* Uzivatel_DataSource;

    void DataModuleCreate(core::TObject* Sender);
    void Konverze_ADOQueryBeforeInsert(data::TDataSet* DataSet);
    void Konverze_ADOQueryAfterInsert(data::TDataSet* DataSet);
    void Konverze_ADOQueryBeforePost(data::TDataSet* DataSet);
    void Konverze_ADOQueryAfterPost(data::TDataSet* DataSet);
    void Uzivatel_ADOQueryAfterInsert(data::TDataSet* DataSet);

    // The rows of the register read at start before the main window shows
    // (more than a screenful on any display).
    static constexpr int kRowsShownFirst = 200;

    // The register's first SQL line for a year: the select with the yearly count.
    static std::string RegisterSelect(int year);
    // The connection string of a database file.
    static std::string ConnectionStringFor(const std::string& databaseFile);
    // A value of the selected user (the users query's current row); empty without users.
    std::string SelectedUserValue(const std::string& fieldName) const;
    // The register's row being typed, which a search, a clear or a sort saves first.
    TRowBeingTyped& RowBeingTyped() const { return *rowBeingTyped_; }

private:
    template <class F>
    F* AddField(const std::string& name, const std::string& fieldName);

    std::unique_ptr<TRowBeingTyped> rowBeingTyped_;
};

extern TDM* DM;

} // namespace app
