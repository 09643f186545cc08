#pragma once
// The dialog service of the running program: Qt's message boxes, input
// dialog and file dialogs, with Czech button texts.

#include "platform/ui/kernel/Dialogs.h"

namespace ui {

class TQtDialogService : public TDialogService {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    bool FileDialog(TFileDialogRequest& request) override;
};

} // namespace ui
