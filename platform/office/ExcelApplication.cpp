#include "platform/office/ExcelApplication.h"

#include "platform/core/Letters.h"
#include "platform/shell/Shell.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace office {

namespace {

std::string TempFolder() {
    for (const char* name : {"TEMP", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            std::string folder = value;
            if (folder.back() != '/')
                folder += '/';
            return folder;
        }
    }
    return "/tmp/";
}

// Saves workbook to a new file in the TEMP folder, named after the workbook.
std::string SaveTemporaryCopy(const TWorkbook& workbook) {
    std::string stem = std::filesystem::path(workbook.Name()).stem().string();
    if (stem.empty())
        stem = "Sešit";
    std::string name = TempFolder() + stem + "-XXXXXX.xls";
    // mkstemps creates the file exclusively, so no other file is ever written through it.
    const int fd = mkstemps(name.data(), 4);
    if (fd < 0)
        return {};
    const std::string bytes = workbook.SaveToBytes();
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    if (close(fd) != 0 || written != bytes.size()) {
        unlink(name.c_str());
        return {};
    }
    return name;
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
                if (!file.empty() && shell::ShellOpen(file))
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

std::unique_ptr<TExcelApplication> CreateOleObject(const std::string& className) {
    // Class names are not case-sensitive.
    if (!core::SameText(className, "Excel.Application"))
        throw EOleException("Invalid class string \"" + className + "\"");
    return std::make_unique<TExcelApplication>();
}

} // namespace office
