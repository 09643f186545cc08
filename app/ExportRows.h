#pragma once
// What a register export writes, whatever its format: the heading that names
// the selected user, the column captions, and the register rows read one by
// one from the query the export has lent.

#include "platform/data/DataSet.h"

#include <array>
#include <string>

namespace app {

// The title of the export (the CSV's first line, the workbook's sheet name).
inline constexpr const char* ExportTitle = "Výpis z evidence konverzí";

// The selected user as the export names them.
struct TExportHeading {
    // jmeno_prijmeni
    std::string Name;
    // ID_advokata
    std::string Registration;

    // The selected user of the data module (empty texts without users).
    static TExportHeading OfSelectedUser();
    // "Ev. č.: " + the registration number.
    std::string RegistrationLine() const { return "Ev. č.: " + Registration; }
};

// The captions of the columns: four, and two more with the fee columns.
inline constexpr std::array<const char*, 6> ExportCaptions{
    "Pořadové číslo provedené konverze", "Datum provedení konverze", "Konkrétní označení vstupu",
    "Datum sepsání vstupu", "Číslo dokladu", "Osvobození od poplatku"};
inline constexpr int ExportColumns = 4;
inline constexpr int ExportColumnsWithFee = 6;

// A date of the register as the export writes it: "dd.mm.yyyy", empty when null.
std::string ExportDateText(const data::TField& field);

// The register rows of a data set, from its first row, as many as it counts.
// The fields are found once; each row's values are read as texts.
class TExportRows {
public:
    explicit TExportRows(data::TDataSet& rows);

    // Moves to the first row; false when there is none.
    bool First();
    // Moves to the next row; false after the last one.
    bool Next();

    std::string Serial() const { return serial_->AsString(); }
    std::string Converted() const { return ExportDateText(*converted_); }
    std::string Designation() const { return designation_->AsString(); }
    std::string InputDate() const { return ExportDateText(*inputDate_); }
    std::string Receipt() const { return receipt_->AsString(); }
    // "ANO" when the fee was waived, else "NE".
    bool IsWaived() const { return !waived_->IsNull() && waived_->AsBoolean(); }
    const char* Waived() const { return IsWaived() ? "ANO" : "NE"; }

private:
    data::TDataSet* rows_;
    int count_ = 0;
    int done_ = 0;
    data::TField* serial_;
    data::TField* converted_;
    data::TField* designation_;
    data::TField* inputDate_;
    data::TField* receipt_;
    data::TField* waived_;
};

} // namespace app
