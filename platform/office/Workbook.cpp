#include "platform/office/Workbook.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/office/BiffWriter.h"
#include "platform/office/CompoundFile.h"
#include "platform/office/Constants.h"
#include "platform/office/ExcelApplication.h"
#include "platform/office/OleException.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace office {

namespace {

// Writes the file whole through a new one that replaces it, so that a failed
// save leaves the old file (or none) and never half of one.
void ReplaceFile(const std::string& fileName, const std::string& bytes) {
    try {
        core::WriteFileReplacing(fileName, bytes);
    } catch (const core::EInOutError& e) {
        throw EOleException("Cannot save the workbook as \"" + fileName + "\": " + std::strerror(e.ErrorCode()));
    }
}

} // namespace

TWorkbook::TWorkbook(TExcelApplication& application, std::string name)
    : application_(&application), name_(std::move(name)), worksheets_(*this) {
    activeSheet_ = &worksheets_.Add();
}

std::string TWorkbook::SaveToBytes() const { return WriteCompoundFile("Workbook", WriteBiff8Workbook(*this)); }

void TWorkbook::SaveAs(const std::string& Filename, int FileFormat) {
    if (FileFormat != xlExcel8 && FileFormat != xlWorkbookNormal)
        throw EOleException("The workbook cannot be saved in file format " + std::to_string(FileFormat) +
                            "; only the Excel 97-2003 workbook (56 or -4143) is written");
    if (Filename.empty())
        throw EOleException("The workbook cannot be saved without a file name");

    std::error_code error;
    const std::filesystem::path path(Filename);
    if (std::filesystem::is_directory(path, error))
        throw EOleException("Cannot save the workbook as \"" + Filename + "\": it is a folder");
    if (std::filesystem::exists(path, error) && application_->DisplayAlerts() && application_->OnAlert &&
        !application_->OnAlert("Soubor " + Filename + " již existuje. Chcete jej nahradit?"))
        throw EOleException("The workbook was not saved: \"" + Filename + "\" was not replaced");

    ReplaceFile(Filename, SaveToBytes());

    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    fullName_ = error ? Filename : absolute.lexically_normal().string();
    name_ = path.filename().string();
}

TWorkbook& TWorkbooks::Item(int index) {
    if (index < 1 || index > Count())
        throw EOleException("Invalid workbook index " + std::to_string(index));
    return *books_[static_cast<std::size_t>(index - 1)];
}

TWorkbook& TWorkbooks::Add() {
    books_.push_back(std::make_unique<TWorkbook>(*application_, "Sešit" + std::to_string(++created_)));
    application_->SetActiveWorkbook(books_.back().get());
    return *books_.back();
}

void TWorkbooks::Close() {
    application_->SetActiveWorkbook(nullptr);
    books_.clear();
}

} // namespace office
