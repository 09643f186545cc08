#include "Register.h"

namespace {

template <class F>
F* Declare(core::TComponent* owner, data::TDataSet* dataSet, const std::string& name)
{
    auto* f = new F(owner);
    f->SetName(dataSet->Name() + name);
    f->SetFieldName(name);
    f->SetDataSet(dataSet);
    return f;
}

} // namespace

Register::Register(const TestDatabase& database, int year_) : year(year_)
{
    core::TComponent* o = owner.get();
    connection = new data::TADOConnection(o);
    connection->SetName("ADOConnection");
    connection->SetLoginPrompt(false);
    connection->SetMode(data::cmShareDenyNone);
    connection->SetConnectionString(database.ConnectionString());
    connection->Open();

    query = new data::TADOQuery(o);
    query->SetName("Konverze_ADOQuery");
    query->SetConnection(connection);
    query->SetCursorType(data::ctStatic);
    ID = Declare<data::TAutoIncField>(o, query, "ID");
    poradove_cislo = Declare<data::TWideStringField>(o, query, "poradove_cislo");
    datum_konverze = Declare<data::TDateTimeField>(o, query, "datum_konverze");
    oznaceni_vstupu = Declare<data::TWideStringField>(o, query, "oznaceni_vstupu");
    datum_sepsani_vstupu = Declare<data::TDateTimeField>(o, query, "datum_sepsani_vstupu");
    osvobozeni = Declare<data::TBooleanField>(o, query, "osvobozeni");
    cislo_dokladu = Declare<data::TWideStringField>(o, query, "cislo_dokladu");
    overujici_osoba = Declare<data::TWideStringField>(o, query, "overujici_osoba");
    vystavujici_osoba = Declare<data::TWideStringField>(o, query, "vystavujici_osoba");
    pocet_rok = Declare<data::TIntegerField>(o, query, "pocet_rok");
    for (data::TWideStringField* f :
         {poradove_cislo, oznaceni_vstupu, cislo_dokladu, overujici_osoba, vystavujici_osoba})
        f->SetSize(255);
    datum_konverze->SetDisplayFormat("dd.mm.yyyy");
    datum_sepsani_vstupu->SetDisplayFormat("dd.mm.yyyy");
    osvobozeni->SetDisplayValues("True;False");

    source = new data::TDataSource(o);
    source->SetName("Konverze_DataSource");
    source->SetDataSet(query);
}

void Register::SetLines(const std::string& filter, const std::string& order)
{
    core::TStrings* sql = query->SQL();
    sql->Clear();
    sql->Add("SELECT *, (SELECT COUNT(ID) from konverze WHERE YEAR(datum_konverze)='" + std::to_string(year) +
             "') as pocet_rok from konverze ");
    sql->Add(filter);
    sql->Add(order);
}

void Register::Add(const std::string& serial, double converted, const std::string& designation)
{
    query->Insert();
    poradove_cislo->SetAsString(serial);
    datum_konverze->SetAsDateTime(converted);
    oznaceni_vstupu->SetAsString(designation);
    query->Post();
}

// The serial numbers of the query's rows in cursor order.
std::vector<std::string> Serials(Register& r)
{
    std::vector<std::string> out;
    for (r.query->First(); !r.query->Eof(); r.query->Next())
        out.push_back(r.poradove_cislo->AsString());
    return out;
}
