#include "app/ExportCsv.h"

#include "platform/core/CodePage.h"

namespace app {

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(";\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

void BuildCsvLines(TExportRows& rows, const TExportHeading& heading, bool fee, core::TStrings& lines)
{
    lines.BeginUpdate();
    lines.Add(ExportTitle);
    lines.Add(CsvField(heading.Name));
    lines.Add(CsvField(heading.RegistrationLine()));
    lines.Add("");
    std::string captions;
    for (int column = 0; column < (fee ? ExportColumnsWithFee : ExportColumns); ++column) {
        if (column > 0)
            captions += ';';
        captions += ExportCaptions[static_cast<std::size_t>(column)];
    }
    lines.Add(captions);

    std::string line;
    for (bool more = rows.First(); more; more = rows.Next()) {
        line.clear();
        line += CsvField(rows.Serial());
        line += ';';
        line += rows.Converted();
        line += ';';
        line += CsvField(rows.Designation());
        line += ';';
        line += rows.InputDate();
        line += ';';
        if (fee) {
            line += CsvField(rows.Receipt());
            line += ';';
            line += rows.IsWaived() ? "ANO;" : "NE";
        }
        lines.Add(line);
    }
    lines.EndUpdate();
}

std::string CsvFileBytes(const core::TStrings& lines)
{
    return core::Utf8ToAnsi(lines.Text());
}

} // namespace app
