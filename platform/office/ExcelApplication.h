#pragma once
// The spreadsheet application object as the program drives it: make it
// visible, add a workbook, fill and format its sheet, save it, release it.
//
// The workbooks live in memory and are written by our own writer of Excel
// 97-2003 files. No spreadsheet program runs while the object is driven:
// when a visible application is released with workbooks open, each of them
// is saved to a copy in the program's own temporary folder
// (core::OwnTempFolder) and opened with the desktop's spreadsheet program
// (shell "open"), where the user finds it as if the application had stayed
// open. The copies stay there for that program; IsDesktopCopyName tells them
// from other files, for the program to remove them once they are stale.

#include "platform/office/Constants.h"
#include "platform/office/OleException.h"
#include "platform/office/Range.h"
#include "platform/office/Workbook.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace office {

class TExcelApplication {
public:
    TExcelApplication();
    TExcelApplication(const TExcelApplication&) = delete;
    TExcelApplication& operator=(const TExcelApplication&) = delete;
    // Releases the application (see Release).
    ~TExcelApplication();

    // Off at start.
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    // On at start. With alerts on, SaveAs asks OnAlert before it replaces a file.
    bool DisplayAlerts() const { return displayAlerts_; }
    void SetDisplayAlerts(bool displayAlerts) { displayAlerts_ = displayAlerts; }
    // The question of an alert (Czech text); true to go on. Unassigned: go on.
    std::function<bool(const std::string& question)> OnAlert;

    TWorkbooks& Workbooks() { return workbooks_; }
    TWorkbook& Workbooks(int index) { return workbooks_.Item(index); }
    // Nullptr when no workbook is open.
    TWorkbook* ActiveWorkbook() const { return activeWorkbook_; }
    void SetActiveWorkbook(TWorkbook* workbook) { activeWorkbook_ = workbook; }
    // The selection of the active workbook's active sheet ("A1" until a range
    // is selected); raises EOleException when no workbook is open.
    TRange Selection();

    // Closes every workbook without saving; nothing is opened on the desktop.
    void Quit();
    // When visible, saves every open workbook to a new copy in the program's
    // own temporary folder and opens it with the desktop's spreadsheet
    // program; then closes them.
    // Returns the files handed to the desktop. Never raises.
    std::vector<std::string> Release() noexcept;

private:
    TWorkbooks workbooks_;
    TWorkbook* activeWorkbook_ = nullptr;
    bool visible_ = false;
    bool displayAlerts_ = true;
};

// True for the name (without folder) Release gives a copy: the workbook's
// name without its extension, "-", six random letters or digits, ".xls".
bool IsDesktopCopyName(std::string_view fileName);

// The automation's object factory: "Excel.Application" gives a new
// application; any other class name raises EOleException ("Invalid class string").
std::unique_ptr<TExcelApplication> CreateOleObject(const std::string& className);

} // namespace office
