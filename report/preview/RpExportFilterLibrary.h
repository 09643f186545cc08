#pragma once
// The export filters a user can choose when saving a report, with the text
// of the save dialog's filter that lists them after the stored report file.
// One list lives for the whole process; it starts empty.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace report {

class TRpExportFilter;

// Makes a filter that writes the named file.
using TRpExportFilterClass = std::function<std::unique_ptr<TRpExportFilter>(const std::string& fileName)>;

struct TRpExportFilterEntry {
    TRpExportFilterClass FilterClass;
    std::string Description;
    // Without the dot: "pdf".
    std::string Extension;
};

class TRpExportFilterLibrary {
public:
    void Add(TRpExportFilterClass filterClass, const std::string& description, const std::string& extension);
    std::size_t Count() const { return FilterList.size(); }
    // The filter of entry index (0-based) for the file; none for an index out of range.
    std::unique_ptr<TRpExportFilter> CreateFilter(std::size_t index, const std::string& fileName) const;

    // "Report file(*.RPF)|*.RPF", then "|description (*.ext)|*.ext" for each
    // entry: entry n (from 1) is filter n + 1 of the dialog.
    std::string SaveDialogFilter() const;

    std::vector<std::unique_ptr<TRpExportFilterEntry>> FilterList;
};

// The process-wide list.
TRpExportFilterLibrary& ExportFilterLibrary();

} // namespace report
