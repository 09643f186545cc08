#include "platform/office/ExcelApplication.h"

#include "platform/core/Files.h"
#include "platform/core/Letters.h"
#include "platform/core/OwnTempFolder.h"
#include "platform/core/Streams.h"
#include "platform/shell/Shell.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace office {

namespace {

constexpr std::string_view kCopyExtension = ".xls";
constexpr std::size_t kRandomLength = 6;  // as core::CreateTempFileIn makes them

// Saves workbook to a new copy in the program's own temporary folder, named
// after the workbook.
std::string SaveTemporaryCopy(const TWorkbook& workbook) {
    std::string stem = std::filesystem::path(workbook.Name()).stem().string();
    if (stem.empty())
        stem = "Sešit";
    const std::string file = core::CreateTempFileIn(core::OwnTempFolder(), stem + "-", std::string(kCopyExtension));
    try {
        core::WriteFileBytes(file, workbook.SaveToBytes());
    } catch (...) {
        std::remove(file.c_str());
        throw;
    }
    return file;
}

} // namespace

TExcelApplication::TExcelApplication() : workbooks_(*this) {}

TExcelApplication::~TExcelApplication() { Release(); }

TRange TExcelApplication::Selection() {
    if (activeWorkbook_ == nullptr)
        throw EOleException("There is no selection: no workbook is open");
    TWorksheet& sheet = activeWorkbook_->ActiveSheet();
    return TRange(sheet, sheet.Selection());
}

void TExcelApplication::Quit() { workbooks_.Close(); }

std::vector<std::string> TExcelApplication::Release() noexcept {
    std::vector<std::string> opened;
    if (visible_) {
        for (int i = 1; i <= workbooks_.Count(); ++i) {
            try {
                const std::string file = SaveTemporaryCopy(workbooks_.Item(i));
                if (shell::ShellOpen(file))
                    opened.push_back(file);
            } catch (...) {
                // A workbook that cannot be written is lost as it would be with
                // the spreadsheet program gone; the others are still opened.
            }
        }
    }
    workbooks_.Close();
    visible_ = false;
    return opened;
}

bool IsDesktopCopyName(std::string_view fileName) {
    const std::size_t tail = 1 + kRandomLength + kCopyExtension.size();
    if (fileName.size() <= tail || !fileName.ends_with(kCopyExtension))
        return false;
    const std::string_view random = fileName.substr(fileName.size() - tail + 1, kRandomLength);
    return fileName[fileName.size() - tail] == '-' &&
           std::all_of(random.begin(), random.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
           });
}

std::unique_ptr<TExcelApplication> CreateOleObject(const std::string& className) {
    // Class names are not case-sensitive.
    if (!core::SameText(className, "Excel.Application"))
        throw EOleException("Invalid class string \"" + className + "\"");
    return std::make_unique<TExcelApplication>();
}

} // namespace office
