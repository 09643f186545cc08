#pragma once
// The print dialog as a replaceable service: the report's own print dialog
// asks it, a program gets Qt's dialog, and tests put a scripted answer in
// place so that no real dialog ever opens.

#include <functional>
#include <string>

class QWidget;

namespace print {

class TPrinter;

enum class TPrintRange { prAllPages, prSelection, prPageNums };

enum TPrintDialogOption : unsigned {
    poPrintToFile = 1,
    poPageNums = 2,
    poSelection = 4,
    poWarning = 8,
    poHelp = 16,
    poDisablePrintToFile = 32,
};
using TPrintDialogOptions = unsigned;

// What the dialog shows and what it gives back.
struct TPrintDialogData {
    int FromPage = 0;
    int ToPage = 0;
    int MinPage = 0;
    int MaxPage = 0;
    int Copies = 1;
    bool Collate = false;
    TPrintDialogOptions Options = 0;
    bool PrintToFile = false;
    TPrintRange PrintRange = TPrintRange::prAllPages;
    // Called with the dialog window once it is built and placed, before it
    // shows: the caller may move it or take its messages.
    std::function<void(QWidget* dialog)> OnInitDialog;
};

class TPrintDialogService {
public:
    virtual ~TPrintDialogService() = default;
    // Shows the dialog for printer. On OK the printer holds the chosen printer
    // and device mode, data the range, copies and collation, and the result is
    // true; on Cancel nothing changes.
    virtual bool Execute(TPrinter& printer, TPrintDialogData& data) = 0;
};

// Qt's print dialog, centred across the screen and a third of the way down.
class TQtPrintDialogService : public TPrintDialogService {
public:
    bool Execute(TPrinter& printer, TPrintDialogData& data) override;
};

// A dialog answered by a function, for tests and for programs that choose
// without asking.
class TFunctionPrintDialogService : public TPrintDialogService {
public:
    using THandler = std::function<bool(TPrinter& printer, TPrintDialogData& data)>;
    explicit TFunctionPrintDialogService(THandler handler) : handler_(std::move(handler)) {}
    bool Execute(TPrinter& printer, TPrintDialogData& data) override { return handler_(printer, data); }

private:
    THandler handler_;
};

// The dialog in use (Qt's unless another was put in place).
TPrintDialogService& PrintDialogService();
// Puts service in place (not owned; null restores Qt's) and returns the previous one.
TPrintDialogService* SetPrintDialogService(TPrintDialogService* service);

// Puts a dialog in place for the lifetime of this object.
class TScopedPrintDialog {
public:
    explicit TScopedPrintDialog(TFunctionPrintDialogService::THandler handler);
    ~TScopedPrintDialog();
    TScopedPrintDialog(const TScopedPrintDialog&) = delete;
    TScopedPrintDialog& operator=(const TScopedPrintDialog&) = delete;
    int Calls() const { return calls_; }

private:
    TFunctionPrintDialogService service_;
    TPrintDialogService* previous_;
    int calls_ = 0;
};

} // namespace print
