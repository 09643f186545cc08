#include "platform/print/PrintDialog.h"

#include "platform/print/Printer.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>

namespace print {

namespace {

TPrintDialogService*& CurrentService()
{
    static TPrintDialogService* service = nullptr;
    return service;
}

} // namespace

bool TQtPrintDialogService::Execute(TPrinter& printer, TPrintDialogData& data)
{
    QPrinter& qt = printer.QtPrinter();
    qt.setCopyCount(data.Copies > 0 ? data.Copies : 1);
    qt.setCollateCopies(data.Collate);
    qt.setFromTo(data.FromPage, data.ToPage);
    qt.setPrintRange(data.PrintRange == TPrintRange::prSelection ? QPrinter::Selection
                     : data.PrintRange == TPrintRange::prPageNums ? QPrinter::PageRange
                                                                  : QPrinter::AllPages);

    QPrintDialog dialog(&qt, QApplication::activeWindow());
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintShowPageSize |
                                                       QAbstractPrintDialog::PrintCollateCopies;
    if ((data.Options & poPageNums) != 0)
        options |= QAbstractPrintDialog::PrintPageRange;
    if ((data.Options & poSelection) != 0)
        options |= QAbstractPrintDialog::PrintSelection;
    if ((data.Options & poPrintToFile) != 0 && (data.Options & poDisablePrintToFile) == 0)
        options |= QAbstractPrintDialog::PrintToFile;
    dialog.setOptions(options);
    dialog.setMinMax(data.MinPage, data.MaxPage > 0 ? data.MaxPage : 9999);

    // Centred across the screen, a third of the free height from the top.
    dialog.adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        dialog.move(area.left() + (area.width() - dialog.width()) / 2, area.top() + (area.height() - dialog.height()) / 3);
    }
    if (data.OnInitDialog)
        data.OnInitDialog(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;

    printer.TakeQtPrinterSettings();
    data.PrintToFile = !qt.outputFileName().isEmpty();
    data.PrintRange = qt.printRange() == QPrinter::Selection   ? TPrintRange::prSelection
                      : qt.printRange() == QPrinter::PageRange ? TPrintRange::prPageNums
                                                               : TPrintRange::prAllPages;
    data.FromPage = qt.fromPage();
    data.ToPage = qt.toPage();
    data.Copies = qt.copyCount();
    data.Collate = qt.collateCopies();
    return true;
}

TPrintDialogService& PrintDialogService()
{
    static TQtPrintDialogService qtService;
    return CurrentService() != nullptr ? *CurrentService() : qtService;
}

TPrintDialogService* SetPrintDialogService(TPrintDialogService* service)
{
    TPrintDialogService* previous = CurrentService();
    CurrentService() = service;
    return previous;
}

TScopedPrintDialog::TScopedPrintDialog(TFunctionPrintDialogService::THandler handler)
    : service_([this, handler = std::move(handler)](TPrinter& printer, TPrintDialogData& data) {
          ++calls_;
          return handler(printer, data);
      }),
      previous_(SetPrintDialogService(&service_))
{
}

TScopedPrintDialog::~TScopedPrintDialog()
{
    SetPrintDialogService(previous_);
}

} // namespace print
