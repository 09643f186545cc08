#include "report/preview/RpExportFilterLibrary.h"

#include "report/preview/RpPreviewTexts.h"
#include "report/printer/RpExportFilter.h"

namespace report {

void TRpExportFilterLibrary::Add(TRpExportFilterClass filterClass, const std::string& description,
                                 const std::string& extension)
{
    FilterList.push_back(std::make_unique<TRpExportFilterEntry>(
        TRpExportFilterEntry{std::move(filterClass), description, extension}));
}

std::unique_ptr<TRpExportFilter> TRpExportFilterLibrary::CreateFilter(std::size_t index,
                                                                      const std::string& fileName) const
{
    if (index >= FilterList.size() || !FilterList[index]->FilterClass)
        return nullptr;
    return FilterList[index]->FilterClass(fileName);
}

std::string TRpExportFilterLibrary::SaveDialogFilter() const
{
    // The stored report file is always the first filter of the save dialog.
    const std::string report(msg::ReportFile), extension(msg::ReportFileExtension);
    std::string filter = report + "(*." + extension + ")|*." + extension;
    for (const auto& entry : FilterList)
        filter += "|" + entry->Description + " (*." + entry->Extension + ")|*." + entry->Extension;
    return filter;
}

TRpExportFilterLibrary& ExportFilterLibrary()
{
    static TRpExportFilterLibrary library;
    return library;
}

} // namespace report
