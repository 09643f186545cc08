#include "platform/ui/kernel/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <utility>

namespace ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QWidget* DialogParent() { return QApplication::activeWindow(); }

// The input box's least width, and what a title bar takes beside its caption.
const int kInputBoxWidth = 300;
const int kTitleBarButtons = 120;

struct ButtonSpec {
    QMessageBox::StandardButton qt;
    const char* text;
    int result;
};

// Asks a message box built from the buttons given, in their order; the first is the default.
int Ask(QMessageBox::Icon icon, const std::string& caption, const std::string& text,
        const std::vector<ButtonSpec>& buttons, int escapeResult)
{
    QMessageBox box(icon, Q(caption), Q(text), QMessageBox::NoButton, DialogParent());
    std::vector<std::pair<QAbstractButton*, int>> made;
    for (const ButtonSpec& spec : buttons) {
        QPushButton* button = box.addButton(spec.qt);
        button->setText(QString::fromUtf8(spec.text));
        made.emplace_back(button, spec.result);
    }
    if (!made.empty())
        box.setDefaultButton(static_cast<QPushButton*>(made.front().first));
    // The message box sizes itself by its text; a longer caption widens it,
    // so that the title bar shows the caption whole.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int captionWidth = box.fontMetrics().horizontalAdvance(Q(caption)) + kTitleBarButtons;
        grid->addItem(new QSpacerItem(captionWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
                      0, 1, grid->columnCount());
    }
    box.exec();
    for (const auto& [button, result] : made)
        if (box.clickedButton() == button)
            return result;
    return escapeResult;
}

QMessageBox::Icon IconOfFlags(unsigned flags)
{
    switch (flags & 0xF0) {
    case 0x10: return QMessageBox::Critical;
    case 0x20: return QMessageBox::Question;
    case 0x30: return QMessageBox::Warning;
    case 0x40: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The file system model writes sizes and dates in the desktop's locale; the
// file dialog shows them in the program's, as it does everything else, the
// dates with the year in full as the register has them.
class TInterfaceLocaleFiles : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        enum { kSizeColumn = 1, kDateColumn = 3 };
        const auto* files = static_cast<const QFileSystemModel*>(sourceModel());
        if (role == Qt::DisplayRole && index.column() == kDateColumn)
            return QLocale().toString(files->lastModified(mapToSource(index)), QStringLiteral("dd.MM.yyyy H:mm"));
        if (role == Qt::DisplayRole && index.column() == kSizeColumn && !files->isDir(mapToSource(index)))
            return QLocale().formattedDataSize(files->size(mapToSource(index)));
        return QIdentityProxyModel::data(index, role);
    }
};

const ButtonSpec kOk{QMessageBox::Ok, "OK", IDOK};
const ButtonSpec kCancel{QMessageBox::Cancel, "Storno", IDCANCEL};
const ButtonSpec kYes{QMessageBox::Yes, "Ano", IDYES};
const ButtonSpec kNo{QMessageBox::No, "Ne", IDNO};
const ButtonSpec kAbort{QMessageBox::Abort, "Přerušit", IDABORT};
const ButtonSpec kRetry{QMessageBox::Retry, "Opakovat", IDRETRY};
const ButtonSpec kIgnore{QMessageBox::Ignore, "Ignorovat", IDIGNORE};

} // namespace

int TQtDialogService::MessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    QMessageBox::Icon icon = IconOfFlags(flags);
    switch (flags & 0x0F) {
    case MB_OKCANCEL: return Ask(icon, caption, text, {kOk, kCancel}, IDCANCEL);
    case MB_ABORTRETRYIGNORE: return Ask(icon, caption, text, {kAbort, kRetry, kIgnore}, IDABORT);
    case MB_YESNOCANCEL: return Ask(icon, caption, text, {kYes, kNo, kCancel}, IDCANCEL);
    case MB_YESNO: return Ask(icon, caption, text, {kYes, kNo}, IDNO);
    case MB_RETRYCANCEL: return Ask(icon, caption, text, {kRetry, kCancel}, IDCANCEL);
    default: return Ask(icon, caption, text, {kOk}, IDOK);
    }
}

TModalResult TQtDialogService::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (type) {
    case TMsgDlgType::mtWarning: icon = QMessageBox::Warning; break;
    case TMsgDlgType::mtError: icon = QMessageBox::Critical; break;
    case TMsgDlgType::mtInformation: icon = QMessageBox::Information; break;
    case TMsgDlgType::mtConfirmation: icon = QMessageBox::Question; break;
    default: break;
    }
    static const std::vector<std::pair<TMsgDlgBtn, ButtonSpec>> order{
        {mbYes, kYes},
        {mbNo, kNo},
        {mbOK, kOk},
        {mbCancel, kCancel},
        {mbAbort, kAbort},
        {mbRetry, kRetry},
        {mbIgnore, kIgnore},
        {mbAll, {QMessageBox::YesToAll, "Vše", mrAll}},
        {mbNoToAll, {QMessageBox::NoToAll, "Ne všem", mrNoToAll}},
        {mbYesToAll, {QMessageBox::YesToAll, "Ano všem", mrYesToAll}},
        {mbClose, {QMessageBox::Close, "Zavřít", mrClose}},
    };
    std::vector<ButtonSpec> shown;
    for (const auto& [flag, spec] : order)
        if (buttons & flag)
            shown.push_back({spec.qt, spec.text, ModalResultOf(flag)});
    if (shown.empty())
        shown.push_back({QMessageBox::Ok, "OK", mrOk});
    TModalResult escape = (buttons & mbCancel) ? mrCancel : (buttons & mbNo) ? mrNo : shown.back().result;
    return Ask(icon, MessageDlgCaption(type), text, shown, escape);
}

bool TQtDialogService::InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    QInputDialog dialog(DialogParent());
    dialog.setWindowTitle(Q(caption));
    dialog.setLabelText(Q(prompt));
    dialog.setTextValue(Q(value));
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Storno"));
    // As wide as the class library's input box, and wider where the title
    // bar needs it to show the caption whole beside the window's buttons.
    const int captionWidth = dialog.fontMetrics().horizontalAdvance(Q(caption));
    dialog.resize(std::max({dialog.sizeHint().width(), kInputBoxWidth, captionWidth + kTitleBarButtons}),
                  dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue().toStdString();
    return true;
}

bool TQtDialogService::FileDialog(TFileDialogRequest& request)
{
    QFileDialog dialog(DialogParent(), Q(request.Title));
    // Qt's own dialog, not the desktop's, which would speak the desktop's language.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new TInterfaceLocaleFiles(&dialog));
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const TFilterEntry& entry : ParseDialogFilter(request.Filter))
        filters << Q(entry.Description) + " (" + Q(entry.Patterns).replace(';', ' ') + ")";
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        int index = request.FilterIndex - 1;
        if (index >= 0 && index < filters.size())
            dialog.selectNameFilter(filters[index]);
    }
    if (!request.DefaultExt.empty())
        dialog.setDefaultSuffix(Q(request.DefaultExt));
    if (!request.InitialDir.empty())
        dialog.setDirectory(Q(request.InitialDir));
    if (!request.FileName.empty())
        dialog.selectFile(Q(request.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    request.FileName = dialog.selectedFiles().front().toStdString();
    int chosen = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    if (chosen >= 0)
        request.FilterIndex = chosen + 1;
    return true;
}

} // namespace ui
