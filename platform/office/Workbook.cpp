#include "platform/office/Workbook.h"

#include "platform/office/BiffWriter.h"
#include "platform/office/CompoundFile.h"
#include "platform/office/Constants.h"
#include "platform/office/ExcelApplication.h"
#include "platform/office/OleException.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace office {

namespace {

// Writes bytes to a new file beside fileName and renames it over fileName,
// so that a failed save leaves the old file (or none) and never half of one.
void ReplaceFile(const std::string& fileName, const std::string& bytes) {
    static std::atomic<unsigned> counter{0};
    const std::string temporary =
        fileName + ".~" + std::to_string(getpid()) + "-" + std::to_string(counter.fetch_add(1)) + ".tmp";
    auto fail = [&](int error) {
        throw EOleException("Cannot save the workbook as \"" + fileName + "\": " + std::strerror(error));
    };

    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        fail(errno);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            close(fd);
            unlink(temporary.c_str());
            fail(error);
        }
        written += static_cast<std::size_t>(n);
    }
    if (close(fd) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        fail(error);
    }
    if (std::rename(temporary.c_str(), fileName.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        fail(error);
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
