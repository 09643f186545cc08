#include "app/ExportRows.h"

#include "app/DataModule.h"
#include "platform/core/FormatSettings.h"

namespace app {

TExportHeading TExportHeading::OfSelectedUser()
{
    if (DM == nullptr)
        return {};
    return {DM->SelectedUserValue("jmeno_prijmeni"), DM->SelectedUserValue("ID_advokata")};
}

std::string ExportDateText(const data::TField& field)
{
    if (field.IsNull())
        return {};
    return core::FormatDateTime("dd.mm.yyyy", field.AsDateTime());
}

TExportRows::TExportRows(data::TDataSet& rows)
    : rows_(&rows),
      serial_(rows.FieldByName("poradove_cislo")),
      converted_(rows.FieldByName("datum_konverze")),
      designation_(rows.FieldByName("oznaceni_vstupu")),
      inputDate_(rows.FieldByName("datum_sepsani_vstupu")),
      receipt_(rows.FieldByName("cislo_dokladu")),
      waived_(rows.FieldByName("osvobozeni"))
{
}

bool TExportRows::First()
{
    rows_->First();
    count_ = rows_->RecordCount();
    done_ = 0;
    return count_ > 0;
}

bool TExportRows::Next()
{
    rows_->Next();
    return ++done_ < count_;
}

} // namespace app
