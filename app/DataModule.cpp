#include "app/DataModule.h"

#include "app/Folders.h"
#include "app/KonverzeForm.h"
#include "app/RowBeingTyped.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/Dialogs.h"

namespace app {

TDM* DM = nullptr;

template <class F>
F* TDM::AddField(const std::string& name, const std::string& fieldName)
{
    auto* field = new F(this);
    field->SetName(name);
    field->SetFieldName(fieldName);
    field->SetDataSet(Konverze_ADOQuery);
    return field;
}

TDM::TDM(core::TComponent* owner) : ui::TDataModule(owner)
{
    SetName("DM");
    ADOConnection = new data::TADOConnection(this);
    ADOConnection->SetName("ADOConnection");
    ADOConnection->SetLoginPrompt(false);
    ADOConnection->SetMode(data::cmShareDenyNone);

    Konverze_ADOQuery = new data::TADOQuery(this);
    Konverze_ADOQuery->SetName("Konverze_ADOQuery");
    Konverze_ADOQuery->SetConnection(ADOConnection);
    Konverze_ADOQuery->SetCursorType(data::ctStatic);
    Konverze_ADOQueryID = AddField<data::TAutoIncField>("Konverze_ADOQueryID", "ID");
    Konverze_ADOQueryporadove_cislo =
        AddField<data::TWideStringField>("Konverze_ADOQueryporadove_cislo", "poradove_cislo");
    Konverze_ADOQueryporadove_cislo->SetSize(255);
    Konverze_ADOQuerydatum_konverze = AddField<data::TDateTimeField>("Konverze_ADOQuerydatum_konverze", "datum_konverze");
    Konverze_ADOQuerydatum_konverze->SetDisplayFormat("dd.mm.yyyy");
    Konverze_ADOQueryoznaceni_vstupu =
        AddField<data::TWideStringField>("Konverze_ADOQueryoznaceni_vstupu", "oznaceni_vstupu");
    Konverze_ADOQueryoznaceni_vstupu->SetSize(255);
    Konverze_ADOQuerydatum_sepsani_vstupu =
        AddField<data::TDateTimeField>("Konverze_ADOQuerydatum_sepsani_vstupu", "datum_sepsani_vstupu");
    Konverze_ADOQuerydatum_sepsani_vstupu->SetDisplayFormat("dd.mm.yyyy");
    Konverze_ADOQueryosvobozeni = AddField<data::TBooleanField>("Konverze_ADOQueryosvobozeni", "osvobozeni");
    Konverze_ADOQuerycislo_dokladu = AddField<data::TWideStringField>("Konverze_ADOQuerycislo_dokladu", "cislo_dokladu");
    Konverze_ADOQuerycislo_dokladu->SetSize(255);
    Konverze_ADOQueryoverujici_osoba =
        AddField<data::TWideStringField>("Konverze_ADOQueryoverujici_osoba", "overujici_osoba");
    Konverze_ADOQueryoverujici_osoba->SetSize(255);
    Konverze_ADOQueryvystavujici_osoba =
        AddField<data::TWideStringField>("Konverze_ADOQueryvystavujici_osoba", "vystavujici_osoba");
    Konverze_ADOQueryvystavujici_osoba->SetSize(255);
    Konverze_ADOQuerypocet_rok = AddField<data::TIntegerField>("Konverze_ADOQuerypocet_rok", "pocet_rok");
    Konverze_ADOQuery->BeforeInsert = [this](data::TDataSet* d) { Konverze_ADOQueryBeforeInsert(d); };
    Konverze_ADOQuery->AfterInsert = [this](data::TDataSet* d) { Konverze_ADOQueryAfterInsert(d); };
    Konverze_ADOQuery->BeforePost = [this](data::TDataSet* d) { Konverze_ADOQueryBeforePost(d); };
    Konverze_ADOQuery->AfterPost = [this](data::TDataSet* d) { Konverze_ADOQueryAfterPost(d); };

    Konverze_DataSource = new data::TDataSource(this);
    Konverze_DataSource->SetName("Konverze_DataSource");
    Konverze_DataSource->SetDataSet(Konverze_ADOQuery);
    rowBeingTyped_ = std::make_unique<TRowBeingTyped>(Konverze_DataSource);

    Uzivatel_ADOQuery = new data::TADOQuery(this);
    Uzivatel_ADOQuery->SetName("Uzivatel_ADOQuery");
    Uzivatel_ADOQuery->SetConnection(ADOConnection);
    Uzivatel_ADOQuery->SetCursorType(data::ctStatic);
    Uzivatel_ADOQuery->AfterInsert = [this](data::TDataSet* d) { Uzivatel_ADOQueryAfterInsert(d); };

    Uzivatel_DataSource = new data::TDataSource(this);
    Uzivatel_DataSource->SetName("Uzivatel_DataSource");
    Uzivatel_DataSource->SetDataSet(Uzivatel_ADOQuery);

    OnCreate = [this](core::TObject* sender) { DataModuleCreate(sender); };
}

// Out of line: the row being typed is a complete type only here.
TDM::~TDM() = default;

std::string TDM::RegisterSelect(int year)
{
    return "SELECT *, (SELECT COUNT(ID) from konverze WHERE YEAR(datum_konverze)='" + std::to_string(year) +
           "') as pocet_rok from konverze ";
}

std::string TDM::ConnectionStringFor(const std::string& databaseFile)
{
    return std::string("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=") + databaseFile;
}

void TDM::DataModuleCreate(core::TObject*)
{
    // The year of the yearly count is taken once, when the program starts.
    const int year = core::YearOf(core::Date());
    ADOConnection->Close();
    ADOConnection->SetConnectionString(ConnectionStringFor(DataFolder + DatabaseFileName));
    ADOConnection->Open();

    core::TStrings* sql = Konverze_ADOQuery->SQL();
    sql->Clear();
    sql->Add(RegisterSelect(year));
    sql->Add("");
    sql->Add("ORDER BY datum_konverze DESC");
    SortDirection = " DESC";
    // The main window shows the first rows at once; its grid reads the rest
    // while the user looks, and anything that needs all of them reads them first.
    Konverze_ADOQuery->OpenFirst(kRowsShownFirst);

    Uzivatel_ADOQuery->SQL()->Clear();
    Uzivatel_ADOQuery->SQL()->Add("SELECT * from uzivatel ");
    Uzivatel_ADOQuery->Open();
}

void TDM::Konverze_ADOQueryBeforeInsert(data::TDataSet*)
{
    if (Konverze_Form != nullptr)
        Konverze_Form->Poradove_Cislo_DBEdit->SetFocus();
}

void TDM::Konverze_ADOQueryAfterInsert(data::TDataSet*)
{
    if (Konverze_Form == nullptr)
        return;
    Konverze_Form->Button3Click(Konverze_Form->Button3);
    // Shown only: a date set by the program is not written into its field.
    Konverze_Form->Datum_Konverze_DB->SetDateTime(core::Now());
    Konverze_Form->Datum_vstupu_DB->SetDateTime(core::Now());
    // A change of the edit like the user's: written into the row when it is posted.
    const std::string issuer = SelectedUserValue("vystavujici");
    Konverze_Form->Vystavujici_DBEdit->SetText(issuer);
    rowBeingTyped_->InsertRulesDone(issuer);
}

void TDM::Konverze_ADOQueryBeforePost(data::TDataSet*)
{
    const std::string designation = Konverze_Form != nullptr ? Konverze_Form->Oznaceni_vstupu_DBEdit->Text()
                                                             : Konverze_ADOQueryoznaceni_vstupu->AsString();
    if (designation.empty()) {
        ui::Application->MessageBox("Chybí označení věci.", "Chyba.", ui::MB_OK);
        core::Abort();
    }
    Konverze_ADOQuery->FieldByName("overujici_osoba")->SetAsString(SelectedUserValue("jmeno_prijmeni"));
}

void TDM::Konverze_ADOQueryAfterPost(data::TDataSet*)
{
    // Read again with the same filter and order; the first row becomes current.
    Konverze_ADOQuery->Close();
    Konverze_ADOQuery->Open();
}

void TDM::Uzivatel_ADOQueryAfterInsert(data::TDataSet*) {}

std::string TDM::SelectedUserValue(const std::string& fieldName) const
{
    if (!Uzivatel_ADOQuery->Active() || Uzivatel_ADOQuery->IsEmpty())
        return {};
    return Uzivatel_ADOQuery->FieldByName(fieldName)->AsString();
}

} // namespace app
