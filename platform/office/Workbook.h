#pragma once
// A workbook in memory and the application's list of open workbooks.

#include "platform/office/CellStyle.h"
#include "platform/office/TextPool.h"
#include "platform/office/Worksheet.h"

#include <memory>
#include <string>
#include <vector>

namespace office {

class TExcelApplication;

class TWorkbook {
public:
    TWorkbook(TExcelApplication& application, std::string name);
    TWorkbook(const TWorkbook&) = delete;
    TWorkbook& operator=(const TWorkbook&) = delete;

    TExcelApplication& Application() const { return *application_; }
    // "Sešit1" until saved, then the file's name; FullName is empty until saved.
    const std::string& Name() const { return name_; }
    const std::string& FullName() const { return fullName_; }

    TWorksheets& Worksheets() { return worksheets_; }
    const TWorksheets& Worksheets() const { return worksheets_; }
    TWorksheet& Worksheets(int index) { return worksheets_.Item(index); }
    const TWorksheet& Worksheets(int index) const { return worksheets_.Item(index); }
    TWorksheet& ActiveSheet() { return *activeSheet_; }
    const TWorksheet& ActiveSheet() const { return *activeSheet_; }
    void Activate(TWorksheet& sheet) { activeSheet_ = &sheet; }

    // Writes the workbook as an Excel 97-2003 file; FileFormat is xlExcel8 (56)
    // or xlWorkbookNormal (-4143), both of which mean that format. Any other
    // format, a refused replacement of an existing file (when the application
    // shows alerts and its OnAlert says no) and a failed write raise
    // EOleException; the file is replaced only by a complete new one.
    void SaveAs(const std::string& Filename, int FileFormat);

    // The file's bytes, as SaveAs writes them.
    std::string SaveToBytes() const;

    TCellStylePool& Styles() { return styles_; }
    const TCellStylePool& Styles() const { return styles_; }
    TTextPool& Texts() { return texts_; }
    const TTextPool& Texts() const { return texts_; }

private:
    TExcelApplication* application_;
    std::string name_;
    std::string fullName_;
    TCellStylePool styles_;
    TTextPool texts_;
    TWorksheets worksheets_;
    TWorksheet* activeSheet_ = nullptr;
};

// The open workbooks, counted from 1.
class TWorkbooks {
public:
    explicit TWorkbooks(TExcelApplication& application) : application_(&application) {}

    int Count() const { return static_cast<int>(books_.size()); }
    // Raises EOleException for an index outside 1..Count.
    TWorkbook& Item(int index);
    TWorkbook& operator()(int index) { return Item(index); }
    // A new workbook "Sešit<n>" with one sheet "List1"; it becomes the active one.
    TWorkbook& Add();
    // Closes every workbook without saving.
    void Close();

private:
    TExcelApplication* application_;
    std::vector<std::unique_ptr<TWorkbook>> books_;
    int created_ = 0;
};

} // namespace office
